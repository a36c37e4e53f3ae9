// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/handoffmessage.h"

#include <QStringDecoder>
#include <QtEndian>

namespace handoff {

namespace {

constexpr char kMagic[4] = {'T', 'V', 'H', 'O'};
constexpr quint8 kVersion = 1;

void appendU32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

quint32 readU32(QByteArrayView bytes, qsizetype at)
{
    return qFromBigEndian<quint32>(bytes.data() + at);
}

// Strict: a byte sequence that is not UTF-8 marks the message as garbage.
// A leading BOM is kept as a character, as sent.
std::optional<QString> fromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Reads one length-prefixed text of the body at `at`, moving `at` past it.
std::optional<QString> readText(QByteArrayView body, qsizetype &at)
{
    if (body.size() - at < 4)
        return std::nullopt;
    const qint64 length = readU32(body, at);
    at += 4;
    if (length > body.size() - at)
        return std::nullopt;
    auto text = fromUtf8(body.sliced(at, qsizetype(length)));
    at += qsizetype(length);
    return text;
}

} // namespace

QString marker()
{
    return QStringLiteral("01");
}

QString handOffText(QStringView argument)
{
    QString text;
    text.reserve(argument.size());
    for (qsizetype i = 0; i < argument.size(); ++i) {
        if (argument[i] == u';' && i + 1 < argument.size() && argument[i + 1] == u';') {
            text += QLatin1String("\r\n");
            ++i;
        } else {
            text += argument[i];
        }
    }
    return text;
}

std::optional<QByteArray> encode(const Message &message)
{
    const QByteArray marker = message.marker.toUtf8();
    const QByteArray addressee = message.addressee.toUtf8();
    const qint64 bodyLength = 8 + qint64(marker.size()) + addressee.size();
    if (kHeaderBytes + bodyLength > kMaxMessageBytes)
        return std::nullopt;

    QByteArray out;
    out.reserve(qsizetype(kHeaderBytes + bodyLength));
    out.append(kMagic, sizeof kMagic);
    out.append(char(kVersion));
    appendU32(out, quint32(bodyLength));
    appendU32(out, quint32(marker.size()));
    out.append(marker);
    appendU32(out, quint32(addressee.size()));
    out.append(addressee);
    return out;
}

Decoded decode(QByteArrayView bytes)
{
    Decoded result;
    const qsizetype fixed = qMin<qsizetype>(bytes.size(), sizeof kMagic);
    if (bytes.first(fixed) != QByteArrayView(kMagic, fixed)) {
        result.status = Decoded::Invalid;
        return result;
    }
    if (bytes.size() > 4 && quint8(bytes[4]) != kVersion) {
        result.status = Decoded::Invalid;
        return result;
    }
    if (bytes.size() < kHeaderBytes)
        return result; // NeedMore

    const qint64 bodyLength = readU32(bytes, 5);
    if (bodyLength > kMaxMessageBytes - kHeaderBytes) {
        result.status = Decoded::Invalid;
        return result;
    }
    if (bytes.size() < kHeaderBytes + bodyLength)
        return result; // NeedMore

    const QByteArrayView body = bytes.sliced(kHeaderBytes, qsizetype(bodyLength));
    qsizetype at = 0;
    const auto marker = readText(body, at);
    const auto addressee = marker ? readText(body, at) : std::nullopt;
    if (!addressee || at != body.size()) {
        result.status = Decoded::Invalid;
        return result;
    }
    result.status = Decoded::Complete;
    result.message = {*marker, *addressee};
    result.consumed = kHeaderBytes + qsizetype(bodyLength);
    return result;
}

} // namespace handoff
