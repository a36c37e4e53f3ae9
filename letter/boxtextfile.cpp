// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/boxtextfile.h"

#include "letter/boxtable.h"
#include "platform/atomicfile.h"
#include "platform/cp932.h"

#include <QFile>
#include <QFileInfo>

namespace boxtextfile {

bool hasTextFile(int boxIndex)
{
    return boxIndex >= 0 && boxIndex < boxtable::kBoxCount && boxIndex != boxtable::kIssueDateBox;
}

QString fileName(int boxIndex)
{
    if (!hasTextFile(boxIndex))
        return QString();
    return QString::number(boxtable::boxNumber(boxIndex)) + boxtable::fieldName(boxIndex) +
           QStringLiteral(".txt");
}

QString filePath(const QString &programDir, int boxIndex)
{
    if (!hasTextFile(boxIndex))
        return QString();
    return programDir + kDataDirName + u'/' + fileName(boxIndex);
}

QString openErrorMessage(const QString &path, const QString &reason)
{
    return QStringLiteral(u"ファイル \"%1\". %2 は開けません").arg(path, reason);
}

QString createErrorMessage(const QString &path, const QString &reason)
{
    return QStringLiteral(u"ファイル \"%1\". %2 を作成できません").arg(path, reason);
}

Result<std::optional<QString>> loadBoxText(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::optional<QString>();

    QFile file(path);
    QByteArray bytes;
    bool read = file.open(QIODevice::ReadOnly);
    if (read) {
        bytes = file.readAll();
        read = file.error() == QFileDevice::NoError;
    }
    if (!read)
        return fail(openErrorMessage(path, file.errorString()));
    // Code page 932 never uses CR or LF as a trail byte, so decoding first
    // and then normalising the breaks equals a byte scan by characters.
    return std::optional<QString>(cp932::normalizeLineBreaks(cp932::decode(bytes)));
}

QByteArray encodeBoxText(QStringView text)
{
    return cp932::encode(cp932::normalizeLineBreaks(text));
}

Result<void> saveBoxText(const QString &path, QStringView text)
{
    const Result<void> written = atomicfile::write(path, encodeBoxText(text));
    if (!written)
        return fail(createErrorMessage(path, written.error()));
    return {};
}

bool shouldSaveAddressee(int storedMode, QStringView addresseeText, QStringView edit2Text)
{
    if (storedMode != 1)
        return false;
    auto isControlOrBlank = [](QChar c) { return c.unicode() <= 32; };
    qsizetype start = 0;
    qsizetype end = addresseeText.size();
    while (start < end && isControlOrBlank(addresseeText[start]))
        ++start;
    while (end > start && isControlOrBlank(addresseeText[end - 1]))
        --end;
    if (start == end)
        return false;
    // The hand-off marker "01" is the only two-byte text this field gets.
    return cp932::encode(edit2Text).size() != 2;
}

} // namespace boxtextfile
