// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profilefile.h"

#include "platform/atomicfile.h"
#include "platform/cp932.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Names compare without regard to ASCII case; the bytes of a double-byte
// character are taken as they are, so a trail byte that happens to be a
// letter is never folded.
QByteArray fold(QByteArrayView name)
{
    QByteArray result(name.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (isLeadByte(uchar(c)) && i + 1 < name.size()) {
            result[i] = c;
            result[i + 1] = name[i + 1];
            ++i;
        } else {
            result[i] = asciiLower(c);
        }
    }
    return result;
}

// FNV-1a over already folded bytes.
quint64 hashBytes(QByteArrayView bytes)
{
    quint64 h = 14695981039346656037ULL;
    for (const char c : bytes) {
        h ^= uchar(c);
        h *= 1099511628211ULL;
    }
    return h;
}

// hashBytes(fold(name)) without building the folded copy.
quint64 foldedHash(const char *name, qsizetype size)
{
    quint64 h = 14695981039346656037ULL;
    for (qsizetype i = 0; i < size; ++i) {
        const uchar c = uchar(name[i]);
        if (isLeadByte(c) && i + 1 < size) {
            h = (h ^ c) * 1099511628211ULL;
            h = (h ^ uchar(name[++i])) * 1099511628211ULL;
        } else {
            h = (h ^ uchar(asciiLower(char(c)))) * 1099511628211ULL;
        }
    }
    return h;
}

bool equalsFolded(QByteArrayView name, QByteArrayView folded)
{
    if (name.size() != folded.size())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (isLeadByte(uchar(c)) && i + 1 < name.size()) {
            if (c != folded[i] || name[i + 1] != folded[i + 1])
                return false;
            ++i;
        } else if (asciiLower(c) != folded[i]) {
            return false;
        }
    }
    return true;
}

struct Line
{
    qsizetype start;
    qsizetype contentEnd; // before the line break
    qsizetype end;        // after the line break
};

// The line at `pos`; CR LF, lone LF and lone CR all end a line.
Line lineAt(const QByteArray &bytes, qsizetype pos)
{
    const char *data = bytes.constData();
    const qsizetype size = bytes.size();
    // One scan for either byte: searching for LF first would rescan the rest
    // of a CR-only file at every line.
    qsizetype i = pos;
    while (i < size && data[i] != '\n' && data[i] != '\r')
        ++i;
    Line line{pos, i, i};
    if (i < size) {
        line.end = i + 1;
        if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n')
            line.end = i + 2;
    }
    return line;
}

enum class Kind { Blank, Comment, Header, Key, Other };

struct Parsed
{
    Kind kind = Kind::Blank;
    qsizetype nameStart = 0;
    qsizetype nameEnd = 0;
    qsizetype equals = -1;
};

void trim(const char *data, qsizetype &start, qsizetype &end)
{
    while (start < end && isBlank(data[start]))
        ++start;
    while (end > start && isBlank(data[end - 1]))
        --end;
}

Parsed parseLine(const QByteArray &bytes, const Line &line)
{
    const char *data = bytes.constData();
    Parsed parsed;
    qsizetype i = line.start;
    const qsizetype end = line.contentEnd;
    while (i < end && isBlank(data[i]))
        ++i;
    if (i == end)
        return parsed;
    if (data[i] == ';') {
        parsed.kind = Kind::Comment;
        return parsed;
    }
    if (data[i] == '[') {
        // "]" can be the trail byte of a double-byte character.
        qsizetype j = i + 1;
        while (j < end && data[j] != ']')
            j += (isLeadByte(uchar(data[j])) && j + 1 < end) ? 2 : 1;
        if (j < end) {
            parsed.kind = Kind::Header;
            parsed.nameStart = i + 1;
            parsed.nameEnd = j;
            trim(data, parsed.nameStart, parsed.nameEnd);
        } else {
            parsed.kind = Kind::Other;
        }
        return parsed;
    }
    // "=" (0x3D) is never a trail byte.
    const void *eq = std::memchr(data + i, '=', size_t(end - i));
    if (!eq) {
        parsed.kind = Kind::Other;
        return parsed;
    }
    parsed.kind = Kind::Key;
    parsed.equals = static_cast<const char *>(eq) - data;
    parsed.nameStart = i;
    parsed.nameEnd = parsed.equals;
    trim(data, parsed.nameStart, parsed.nameEnd);
    return parsed;
}

bool isAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (uchar(c) >= 0x80 || c == '\0')
            return false;
    }
    return true;
}

// Names and numbers are ASCII nearly always; the converter is costly to open.
QByteArray encodeText(QStringView text)
{
    return isAscii(text) ? text.toLatin1() : cp932::encode(text);
}

QString decodeText(QByteArrayView bytes)
{
    return isAscii(bytes) ? QString::fromLatin1(bytes) : cp932::decode(bytes);
}

// What a read returns for the bytes after "=": blanks around it removed,
// enclosing quotes dropped, at most kMaxValueBytes bytes of whole characters.
QString decodeValue(QByteArrayView raw)
{
    qsizetype start = 0;
    qsizetype end = raw.size();
    trim(raw.data(), start, end);
    if (end - start >= 2 && (raw[start] == '"' || raw[start] == '\'') &&
        raw[end - 1] == raw[start]) {
        ++start;
        --end;
    }
    if (end - start > ProfileFile::kMaxValueBytes) {
        qsizetype i = start;
        const qsizetype limit = start + ProfileFile::kMaxValueBytes;
        for (;;) {
            const qsizetype len = (isLeadByte(uchar(raw[i])) && i + 1 < end) ? 2 : 1;
            if (i + len > limit)
                break;
            i += len;
        }
        end = i;
    }
    return decodeText(raw.sliced(start, end - start));
}

} // namespace

std::optional<qint32> parseProfileInt(QStringView text)
{
    // "0x1E" is read as "$1E", so "0x" alone stays a failing text.
    QString rewritten;
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        rewritten = QLatin1Char('$') + text.sliced(2);
        text = rewritten;
    }
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i >= text.size())
        return std::nullopt;

    auto hexDigit = [](QChar c) -> int {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            return u - u'0';
        if (u >= u'a' && u <= u'f')
            return u - u'a' + 10;
        if (u >= u'A' && u <= u'F')
            return u - u'A' + 10;
        return -1;
    };

    qsizetype hexStart = -1;
    const char16_t first = text[i].unicode();
    if (first == u'$' || first == u'x' || first == u'X')
        hexStart = i + 1;
    else if (first == u'0' && i + 1 < text.size() && (text[i + 1] == u'x' || text[i + 1] == u'X'))
        hexStart = i + 2;

    if (hexStart >= 0) {
        if (hexStart >= text.size())
            return std::nullopt;
        quint32 pattern = 0;
        int significant = 0;
        for (qsizetype j = hexStart; j < text.size(); ++j) {
            const int d = hexDigit(text[j]);
            if (d < 0)
                return std::nullopt;
            if (significant > 0 || d != 0)
                ++significant;
            if (significant > 8)
                return std::nullopt;
            pattern = pattern << 4 | quint32(d);
        }
        if (negative)
            pattern = 0u - pattern;
        return qint32(pattern);
    }

    qint64 magnitude = 0;
    for (qsizetype j = i; j < text.size(); ++j) {
        const char16_t u = text[j].unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (u - u'0');
        if (magnitude > 2147483648LL)
            return std::nullopt;
    }
    const qint64 value = negative ? -magnitude : magnitude;
    if (value > 2147483647LL)
        return std::nullopt;
    return qint32(value);
}

ProfileFile ProfileFile::fromBytes(const QByteArray &bytes)
{
    // Larger content is no document of ours: an empty one stands for it.
    ProfileFile doc;
    if (bytes.size() > kMaxFileSize)
        return doc;
    doc.m_source = bytes;
    doc.m_existed = true;
    return doc;
}

Result<ProfileFile> ProfileFile::load(const QString &path)
{
    ProfileFile doc;
    doc.m_path = path;
    QFile file(path);
    if (!file.exists())
        return doc;
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    if (file.size() > kMaxFileSize)
        return fail(qt_error_string(EFBIG));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    doc.m_source = std::move(bytes);
    doc.m_existed = true;
    return doc;
}

namespace {

quint32 shortHash(quint64 hash)
{
    return quint32(hash >> 32) ^ quint32(hash);
}

// The key index: open addressing over slots of (hash << 32 | offset + 1),
// 0 marking a free slot. Only the first line of each hash is kept, so a file
// repeating one key costs one slot.
void indexInsert(std::vector<quint64> &table, qsizetype &count, quint32 hash, qsizetype offset)
{
    if (table.empty() || (count + 1) * 2 > qsizetype(table.size())) {
        std::vector<quint64> grown(table.empty() ? 64 : table.size() * 2, 0);
        const size_t mask = grown.size() - 1;
        for (const quint64 slot : table) {
            if (!slot)
                continue;
            size_t i = size_t(slot >> 32) & mask;
            while (grown[i])
                i = (i + 1) & mask;
            grown[i] = slot;
        }
        table.swap(grown);
    }
    const size_t mask = table.size() - 1;
    quint64 *data = table.data();
    size_t i = hash & mask;
    while (data[i]) {
        if (quint32(data[i] >> 32) == hash)
            return; // an earlier line with this hash wins
        i = (i + 1) & mask;
    }
    // Offsets fit in 32 bits: larger documents are never loaded.
    data[i] = quint64(hash) << 32 | quint64(offset + 1);
    ++count;
}

// The offset of the first key line with this hash, or -1.
qsizetype indexFind(const std::vector<quint64> &table, quint32 hash)
{
    if (table.empty())
        return -1;
    const size_t mask = table.size() - 1;
    for (size_t i = hash & mask; table[i]; i = (i + 1) & mask) {
        if (quint32(table[i] >> 32) == hash)
            return qsizetype(table[i] & 0xFFFFFFFFULL) - 1;
    }
    return -1;
}

} // namespace

// One pass finds the first section of that name, the end of its last entry
// line and indexes its keys.
ProfileFile::SectionState &ProfileFile::section(const QByteArray &folded,
                                                const QByteArray &spelling) const
{
    auto it = m_sections.find(folded);
    if (it != m_sections.end())
        return it.value();

    SectionState state;
    state.spelling = spelling;
    const char *data = m_source.constData();
    const qsizetype size = m_source.size();
    qsizetype pos = 0;
    while (pos < size) {
        const Line line = lineAt(m_source, pos);
        const Parsed parsed = parseLine(m_source, line);
        if (parsed.kind == Kind::Header) {
            if (state.inSource)
                break;
            const QByteArrayView name(data + parsed.nameStart, parsed.nameEnd - parsed.nameStart);
            if (equalsFolded(name, folded)) {
                state.inSource = true;
                state.bodyStart = state.bodyEnd = state.anchorEnd = line.end;
                state.anchorHasBreak = line.end > line.contentEnd;
            }
        } else if (state.inSource && (parsed.kind == Kind::Key || parsed.kind == Kind::Other)) {
            state.anchorEnd = line.end;
            state.anchorHasBreak = line.end > line.contentEnd;
            if (parsed.kind == Kind::Key) {
                indexInsert(state.index, state.indexCount,
                            shortHash(foldedHash(data + parsed.nameStart,
                                                 parsed.nameEnd - parsed.nameStart)),
                            line.start);
            }
        }
        pos = line.end;
        if (state.inSource)
            state.bodyEnd = pos;
    }
    return m_sections.insert(folded, std::move(state)).value();
}

ProfileFile::KeyState &ProfileFile::key(SectionState &state, const QByteArray &folded,
                                        const QByteArray &spelling) const
{
    auto it = state.keys.find(folded);
    if (it != state.keys.end())
        return it.value();

    KeyState key;
    key.spelling = spelling;
    auto matches = [&](qsizetype lineStart) {
        const Line line = lineAt(m_source, lineStart);
        const Parsed parsed = parseLine(m_source, line);
        if (parsed.kind != Kind::Key)
            return false;
        const QByteArrayView name(m_source.constData() + parsed.nameStart,
                                  parsed.nameEnd - parsed.nameStart);
        if (!equalsFolded(name, folded))
            return false;
        key.inSource = true;
        key.valueStart = parsed.equals + 1;
        key.valueEnd = line.contentEnd;
        return true;
    };
    if (state.inSource) {
        const qsizetype candidate = indexFind(state.index, shortHash(hashBytes(folded)));
        if (candidate >= 0 && !matches(candidate)) {
            // Another key shares the hash: look line by line.
            for (qsizetype pos = state.bodyStart; pos < state.bodyEnd;) {
                if (matches(pos))
                    break;
                pos = lineAt(m_source, pos).end;
            }
        }
    }
    return state.keys.insert(folded, std::move(key)).value();
}

std::optional<QString> ProfileFile::value(QStringView sectionName, QStringView keyName) const
{
    const QByteArray sectionBytes = encodeText(sectionName);
    SectionState &state = section(fold(sectionBytes), sectionBytes);
    if (!state.inSource && state.addedKeys.isEmpty())
        return std::nullopt;
    const QByteArray keyBytes = encodeText(keyName);
    const KeyState &k = key(state, fold(keyBytes), keyBytes);
    if (k.written)
        return decodeValue(*k.written);
    if (k.inSource)
        return decodeValue(
            QByteArrayView(m_source.constData() + k.valueStart, k.valueEnd - k.valueStart));
    return std::nullopt;
}

QString ProfileFile::readString(QStringView sectionName, QStringView keyName,
                                const QString &defaultValue) const
{
    return value(sectionName, keyName).value_or(defaultValue);
}

qint32 ProfileFile::readInt(QStringView sectionName, QStringView keyName, qint32 defaultValue) const
{
    const std::optional<QString> text = value(sectionName, keyName);
    if (!text)
        return defaultValue;
    return parseProfileInt(*text).value_or(defaultValue);
}

void ProfileFile::setValue(QStringView sectionName, QStringView keyName, const QString &value)
{
    const QByteArray sectionBytes = encodeText(sectionName);
    const QByteArray sectionFolded = fold(sectionBytes);
    SectionState &state = section(sectionFolded, sectionBytes);
    const QByteArray keyBytes = encodeText(keyName);
    const QByteArray keyFolded = fold(keyBytes);
    KeyState &k = key(state, keyFolded, keyBytes);

    if (!k.inSource && !k.written)
        state.addedKeys.append(keyFolded);
    if (!state.inSource && !m_addedSections.contains(sectionFolded))
        m_addedSections.append(sectionFolded);

    QString clean = value;
    for (QChar &c : clean) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            c = u' ';
    }
    k.written = encodeText(clean);
}

void ProfileFile::setInt(QStringView sectionName, QStringView keyName, qint32 value)
{
    setValue(sectionName, keyName, QString::number(value));
}

QByteArray ProfileFile::toBytes() const
{
    struct Edit
    {
        qsizetype start;
        qsizetype end;
        bool insertion;
        QByteArray bytes;
    };
    std::vector<Edit> edits;
    QByteArray appended;
    const QByteArray crlf = QByteArrayLiteral("\r\n");

    auto keyLines = [&](const SectionState &state, QByteArray &out) {
        for (const QByteArray &folded : state.addedKeys) {
            const KeyState &k = *state.keys.constFind(folded);
            out += k.spelling + '=' + *k.written + crlf;
        }
    };

    for (const SectionState &state : std::as_const(m_sections)) {
        if (!state.inSource)
            continue;
        for (const KeyState &k : state.keys) {
            if (k.inSource && k.written)
                edits.push_back({k.valueStart, k.valueEnd, false, *k.written});
        }
        if (!state.addedKeys.isEmpty()) {
            QByteArray lines;
            if (!state.anchorHasBreak)
                lines += crlf;
            keyLines(state, lines);
            edits.push_back({state.anchorEnd, state.anchorEnd, true, lines});
        }
    }
    std::sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) {
        return a.start != b.start ? a.start < b.start : (!a.insertion && b.insertion);
    });

    for (const QByteArray &folded : m_addedSections) {
        const SectionState &state = *m_sections.constFind(folded);
        appended += '[' + state.spelling + ']' + crlf;
        keyLines(state, appended);
    }

    qsizetype total = m_source.size() + appended.size() + 2;
    for (const Edit &e : edits)
        total += e.bytes.size();
    QByteArray out;
    out.reserve(total);
    qsizetype pos = 0;
    for (const Edit &e : edits) {
        out.append(m_source.constData() + pos, e.start - pos);
        out += e.bytes;
        pos = e.end;
    }
    out.append(m_source.constData() + pos, m_source.size() - pos);
    if (!appended.isEmpty() && !out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r'))
        out += crlf;
    out += appended;
    return out;
}

Result<void> ProfileFile::save() const
{
    if (m_path.isEmpty())
        return fail(qt_error_string(ENOENT));
    return atomicfile::write(m_path, toBytes());
}
