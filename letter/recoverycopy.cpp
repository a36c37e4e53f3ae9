// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/recoverycopy.h"

#include <QCryptographicHash>

namespace recoverycopy {

namespace {

constexpr QByteArrayView kHeader = "Tavrint recovery copy 1\n";
constexpr QByteArrayView kFilesKey = "files ";
constexpr QByteArrayView kDigestKey = "sha256 ";
// Far above any letter; a larger count or size is damage, not a letter.
constexpr qsizetype kMaxFiles = 64;

QByteArray digestOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// Reads a decimal number up to `end` (a space or a line break) at `pos`;
// moves `pos` past the terminator.
std::optional<qsizetype> number(QByteArrayView copy, qsizetype &pos, char end)
{
    const qsizetype stop = copy.indexOf(end, pos);
    if (stop <= pos || stop - pos > 12)
        return std::nullopt;
    qsizetype value = 0;
    for (qsizetype i = pos; i < stop; ++i) {
        const char c = copy[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    pos = stop + 1;
    return value;
}

bool startsAt(QByteArrayView copy, qsizetype pos, QByteArrayView text)
{
    return copy.size() - pos >= text.size() && copy.sliced(pos, text.size()) == text;
}

} // namespace

bool isLetterFilePath(QStringView relativePath)
{
    QStringView name;
    if (relativePath.startsWith(u"Init/") && relativePath.endsWith(u".ini"))
        name = relativePath.sliced(5);
    else if (relativePath.startsWith(u"Data/") && relativePath.endsWith(u".txt"))
        name = relativePath.sliced(5);
    else
        return false;
    return name.size() > 4 && !name.startsWith(u'.') && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0)) && !name.contains(u'\n');
}

QByteArray encode(const Files &files)
{
    QByteArray copy(kHeader.data(), kHeader.size());
    copy += kFilesKey.toByteArray();
    copy += QByteArray::number(files.size()) + '\n';
    for (const File &file : files) {
        copy += QByteArray::number(file.bytes.size()) + ' ' + file.relativePath.toUtf8() + '\n';
        copy += file.bytes;
        copy += '\n';
    }
    const QByteArray digest = digestOf(copy);
    copy += kDigestKey.toByteArray();
    copy += digest + '\n';
    return copy;
}

std::optional<Files> decode(const QByteArray &copy)
{
    // The digest covers everything before its own line.
    const qsizetype digestLine = copy.lastIndexOf(QByteArrayView("\nsha256 "));
    if (digestLine < 0)
        return std::nullopt;
    const QByteArrayView body(copy.constData(), digestLine + 1);
    const QByteArrayView digest = QByteArrayView(copy).sliced(digestLine + 1 + kDigestKey.size());
    if (digest != QByteArray(digestOf(body) + '\n'))
        return std::nullopt;

    if (!body.startsWith(kHeader))
        return std::nullopt;
    qsizetype pos = kHeader.size();
    if (!startsAt(body, pos, kFilesKey))
        return std::nullopt;
    pos += kFilesKey.size();
    const auto count = number(body, pos, '\n');
    if (!count || *count > kMaxFiles)
        return std::nullopt;

    Files files;
    for (qsizetype i = 0; i < *count; ++i) {
        const auto size = number(body, pos, ' ');
        if (!size)
            return std::nullopt;
        const qsizetype nameEnd = body.indexOf('\n', pos);
        if (nameEnd < 0)
            return std::nullopt;
        File file;
        file.relativePath = QString::fromUtf8(body.sliced(pos, nameEnd - pos));
        if (!isLetterFilePath(file.relativePath))
            return std::nullopt;
        pos = nameEnd + 1;
        if (body.size() - pos < *size + 1 || body[pos + *size] != '\n')
            return std::nullopt;
        file.bytes = body.sliced(pos, *size).toByteArray();
        pos += *size + 1;
        files.append(file);
    }
    if (pos != body.size())
        return std::nullopt;
    return files;
}

} // namespace recoverycopy
