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

LoadResult loadBoxText(const QString &path)
{
    LoadResult result;
    const QFileInfo info(path);
    if (!info.exists())
        return result;
    result.exists = true;

    QFile file(path);
    QByteArray bytes;
    bool read = file.open(QIODevice::ReadOnly);
    if (read) {
        bytes = file.readAll();
        read = file.error() == QFileDevice::NoError;
    }
    if (!read) {
        result.ok = false;
        result.errorMessage = openErrorMessage(path, file.errorString());
        return result;
    }
    // Code page 932 never uses CR or LF as a trail byte, so decoding first
    // and then normalising the breaks equals a byte scan by characters.
    result.text = cp932::normalizeLineBreaks(cp932::decode(bytes));
    return result;
}

QByteArray encodeBoxText(QStringView text)
{
    return cp932::encode(cp932::normalizeLineBreaks(text));
}

bool saveBoxText(const QString &path, QStringView text, QString *errorMessage)
{
    QString reason;
    if (atomicfile::write(path, encodeBoxText(text), &reason))
        return true;
    if (errorMessage)
        *errorMessage = createErrorMessage(path, reason);
    return false;
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
