// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/settingsfile.h"

#include "letter/boxtable.h"
#include "platform/profilefile.h"
#include "platform/rounding.h"

namespace settingsfile {

namespace {
QStringView baseName(QStringView executableName)
{
    const qsizetype slash = executableName.lastIndexOf(u'/');
    return slash < 0 ? executableName : executableName.sliced(slash + 1);
}
} // namespace

QString sectionName(QStringView executableName)
{
    const QStringView name = baseName(executableName);
    const qsizetype dot = name.lastIndexOf(u'.');
    return (dot < 0 ? name : name.first(dot)).toString();
}

int heightClass(int screenHeight)
{
    return rounding::halfEven(screenHeight / 20.0);
}

QString fileName(QStringView executableName, int screenHeight)
{
    return sectionName(executableName) + QString::number(heightClass(screenHeight)) +
           QStringLiteral(".ini");
}

QString filePath(const QString &programDir, QStringView executableName, int screenHeight)
{
    return programDir + kInitDirName + u'/' + fileName(executableName, screenHeight);
}

QString defaultFontName()
{
    return QStringLiteral(u"MS P明朝");
}

QString keyPrefix(int boxIndex)
{
    return QStringLiteral("mm") + QString::number(boxtable::boxNumber(boxIndex));
}

QString boxKey(int boxIndex, BoxKey key)
{
    QStringView suffix;
    switch (key) {
    case BoxKey::FontName:
        suffix = u"FontName";
        break;
    case BoxKey::FontSize:
        suffix = u"FontSize";
        break;
    case BoxKey::Left:
        suffix = u"Left";
        break;
    case BoxKey::Top:
        suffix = u"Top";
        break;
    case BoxKey::Width:
        suffix = u"Width";
        break;
    case BoxKey::Height:
        suffix = u"Height";
        break;
    }
    return keyPrefix(boxIndex) + suffix;
}

QStringList writeOrder()
{
    QStringList keys{kFormTop.toString(), kFormLeft.toString()};
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        for (const BoxKey key : kBoxKeyOrder)
            keys.append(boxKey(box, key));
    }
    return keys;
}

QString writeErrorMessage(const QString &path)
{
    return QStringLiteral(u"%1 に書き込めません").arg(path);
}

Result<void> save(const ProfileFile &settings)
{
    if (!settings.save())
        return fail(writeErrorMessage(settings.path()));
    return {};
}

} // namespace settingsfile
