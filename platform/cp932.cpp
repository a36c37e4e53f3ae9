// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <vector>

namespace cp932 {

namespace {

constexpr const char *kCodecName = "windows-31j";

bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9f) || (b >= 0xe0 && b <= 0xfc);
}

bool isTrailByte(uchar b)
{
    return b >= 0x40 && b <= 0xfc && b != 0x7f;
}

// The single bytes Windows maps outside the usual ranges: 0x80 to U+0080,
// 0xA0 and 0xFD to 0xFF into the private use area.
constexpr char16_t kWindowsSingles[][2] = {
    {0x80, 0x0080}, {0xa0, 0xf8f0}, {0xfd, 0xf8f1}, {0xfe, 0xf8f2}, {0xff, 0xf8f3}};

// A byte that is no code page 932 character on its own or in its pair (a
// lone lead byte, a bad trail, an unassigned pair) is kept as a private use
// character of its own, which encodes back to that byte: text read and
// written again, unedited, gives the same bytes.
constexpr char16_t kRawByteBase = 0xf700;

bool isRawByteEscape(char16_t c)
{
    return c >= kRawByteBase + 0x40 && c <= kRawByteBase + 0xfc;
}

// The double-byte table, built once from the system codec: the character of
// every pair (0 for an unassigned pair) and, for every character, the pair
// Windows writes for it.
struct Tables
{
    // [lead index][trail - 0x40]; lead index 0..59 for 0x81..0x9F, 0xE0..0xFC
    char16_t pairToChar[60][189] = {};
    // BMP character -> pair (lead << 8 | trail), 0 when none
    std::vector<quint16> charToPair = std::vector<quint16>(0x10000, 0);
};

int leadIndex(uchar lead)
{
    return lead <= 0x9f ? lead - 0x81 : lead - 0xe0 + 31;
}

const Tables &tables()
{
    static const Tables built = [] {
        Tables t;
        QStringDecoder decoder(kCodecName);
        QString characters;
        characters.reserve(60 * 189);
        // Every pair of one lead byte is decoded in one go: each well-formed
        // pair gives one character, or one substitute when unassigned. A row
        // that does not come out one character a pair is decoded pair by
        // pair instead.
        auto take = [&](int lead, int trail, QChar decoded) {
            if (decoded.unicode() < 0x80 || decoded == QChar(0xfffd) || decoded.isSurrogate())
                return;
            t.pairToChar[leadIndex(uchar(lead))][trail - 0x40] = decoded.unicode();
            characters.append(decoded);
        };
        for (int lead = 0x81; lead <= 0xfc; ++lead) {
            if (!isLeadByte(uchar(lead)))
                continue;
            char row[2 * 189];
            int trails[189];
            int count = 0;
            for (int trail = 0x40; trail <= 0xfc; ++trail) {
                if (!isTrailByte(uchar(trail)))
                    continue;
                row[2 * count] = char(lead);
                row[2 * count + 1] = char(trail);
                trails[count++] = trail;
            }
            decoder.resetState();
            const QString decoded = decoder.decode(QByteArrayView(row, 2 * count));
            if (decoded.size() == count) {
                for (int i = 0; i < count; ++i)
                    take(lead, trails[i], decoded[i]);
                continue;
            }
            for (int i = 0; i < count; ++i) {
                const int trail = trails[i];
                // The decoder's error flag stays set once raised, so an
                // unassigned pair is told by its substitute instead.
                decoder.resetState();
                const char pair[2] = {char(lead), char(trail)};
                const QString one = decoder.decode(QByteArrayView(pair, 2));
                if (one.size() == 1)
                    take(lead, trail, one[0]);
            }
        }
        // Several pairs can give one character (NEC and IBM duplicates);
        // the system encoder says which pair Windows writes back.
        QStringEncoder encoder(kCodecName);
        const QByteArray encoded = encoder.encode(characters);
        qsizetype at = 0;
        for (const QChar c : std::as_const(characters)) {
            if (at + 1 < encoded.size() && isLeadByte(uchar(encoded[at]))) {
                t.charToPair[c.unicode()] =
                    quint16(uchar(encoded[at]) << 8 | uchar(encoded[at + 1]));
                at += 2;
            } else {
                at += 1; // a single byte: not a pair of ours
            }
        }
        return t;
    }();
    return built;
}

// Encodes one BMP character; false when code page 932 has no form for it.
bool encodeUnit(char16_t c, QByteArray &out)
{
    if (c < 0x80) {
        out.append(char(c));
        return true;
    }
    if (c >= 0xff61 && c <= 0xff9f) { // half-width katakana
        out.append(char(c - 0xff61 + 0xa1));
        return true;
    }
    for (const auto &single : kWindowsSingles) {
        if (single[1] == c) {
            out.append(char(single[0]));
            return true;
        }
    }
    if (isRawByteEscape(c)) {
        out.append(char(c - kRawByteBase));
        return true;
    }
    const quint16 pair = tables().charToPair[c];
    if (pair == 0)
        return false;
    out.append(char(pair >> 8));
    out.append(char(pair & 0xff));
    return true;
}

} // namespace

QString decode(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    qsizetype length = 0;
    const uchar *in = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    const Tables *t = nullptr;
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = in[i];
        if (b < 0x80) {
            out[length++] = b;
        } else if (b >= 0xa1 && b <= 0xdf) {
            out[length++] = char16_t(0xff61 + (b - 0xa1));
        } else if (isLeadByte(b)) {
            if (i + 1 < n && isTrailByte(in[i + 1])) {
                if (!t)
                    t = &tables();
                const char16_t c = t->pairToChar[leadIndex(b)][in[i + 1] - 0x40];
                if (c != 0) {
                    out[length++] = c;
                    ++i;
                    continue;
                }
                // An unassigned pair keeps both its bytes.
                out[length++] = char16_t(kRawByteBase + b);
                out[length++] = char16_t(kRawByteBase + in[++i]);
                continue;
            }
            out[length++] = char16_t(kRawByteBase + b); // a lone lead byte
        } else {
            char16_t c = 0;
            for (const auto &single : kWindowsSingles) {
                if (single[0] == b)
                    c = single[1];
            }
            out[length++] = c;
        }
    }
    text.truncate(length);
    return text;
}

bool canEncode(char32_t codePoint)
{
    if (codePoint > 0xffff)
        return false; // code page 932 holds nothing beyond the BMP
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
        return false; // a lone surrogate is no character
    QByteArray scratch;
    return encodeUnit(char16_t(codePoint), scratch);
}

QString representable(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        char32_t cp = text[i].unicode();
        qsizetype len = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
            len = 2;
        }
        if (canEncode(cp))
            result.append(text.sliced(i, len));
        else
            result.append(QLatin1Char('?'));
        i += len;
    }
    return result;
}

QByteArray encode(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // one character beyond the BMP: one "?"
        else if (encodeUnit(c.unicode(), bytes))
            continue;
        bytes.append('?');
    }
    return bytes;
}

QString normalizeLineBreaks(QStringView text)
{
    QString result;
    result.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            result.append(QLatin1String("\r\n"));
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            result.append(QLatin1String("\r\n"));
        } else {
            result.append(c);
        }
    }
    return result;
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.sliced(start, i - start).toString());
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.sliced(start).toString());
    return lines;
}

QString joinLines(const QStringList &lines)
{
    QString result;
    qsizetype total = 0;
    for (const QString &line : lines)
        total += line.size() + 2;
    result.reserve(total);
    for (const QString &line : lines) {
        result.append(line);
        result.append(QLatin1String("\r\n"));
    }
    return result;
}

} // namespace cp932
