#include "platform/cp932.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

namespace cp932 {

namespace {
constexpr const char *kCodecName = "windows-31j";
}

QString decode(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    QStringDecoder decoder(kCodecName);
    return decoder.decode(bytes);
}

bool canEncode(char32_t codePoint)
{
    if (codePoint < 0x80)
        return true;
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
        return false; // a lone surrogate is no character
    // The ICU encoder writes a substitute (0xFC 0xFC) and flags an error for
    // characters it cannot map, so each one is tried on its own; the answers
    // are kept because the encoder is costly to open.
    static thread_local QHash<char32_t, bool> known;
    const auto it = known.constFind(codePoint);
    if (it != known.constEnd())
        return it.value();
    QStringEncoder encoder(kCodecName);
    const char32_t buffer[1] = {codePoint};
    const QByteArray bytes = encoder.encode(QString::fromUcs4(buffer, 1));
    const bool ok = !encoder.hasError() && !bytes.isEmpty();
    known.insert(codePoint, ok);
    return ok;
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
    const QString clean = representable(text);
    QStringEncoder encoder(kCodecName);
    return encoder.encode(clean);
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
