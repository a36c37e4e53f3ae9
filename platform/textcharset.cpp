// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/textcharset.h"

#include "platform/cp932.h"

namespace textcharset {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

QByteArrayView textPart(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return nul >= 0 ? bytes.first(nul) : bytes;
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Whether the bytes are valid UTF-8 and hold a multi-byte sequence, in one pass.
struct Scan
{
    bool valid = true;
    bool multiByte = false;
};

Scan scan(QByteArrayView bytes)
{
    Scan result;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80; // the second byte's range depends on the lead
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0; // no overlong forms
            else if (lead == 0xED)
                high = 0x9F; // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F; // nothing above U+10FFFF
        } else {
            result.valid = false;
            return result;
        }
        if (n - i < length || p[i + 1] < low || p[i + 1] > high) {
            result.valid = false;
            return result;
        }
        for (int k = 2; k < length; ++k) {
            if (!isContinuation(p[i + k])) {
                result.valid = false;
                return result;
            }
        }
        result.multiByte = true;
        i += length;
    }
    return result;
}

} // namespace

bool isValidUtf8(QByteArrayView bytes)
{
    return scan(bytes).valid;
}

Charset detect(QByteArrayView bytes)
{
    const QByteArrayView text = textPart(bytes);
    if (text.startsWith(QByteArrayView(kByteOrderMark)))
        return Charset::Utf8;
    const Scan result = scan(text);
    return result.valid && result.multiByte ? Charset::Utf8 : Charset::Cp932;
}

QString decode(QByteArrayView bytes)
{
    const QByteArrayView text = textPart(bytes);
    if (detect(text) == Charset::Cp932)
        return cp932::decode(text);
    return decodeUtf8(withoutByteOrderMark(text));
}

QString decodeUtf8(QByteArrayView bytes)
{
    // After a mark the rest may still hold broken sequences; they become
    // U+FFFD, which code page 932 lacks, and so "?".
    return cp932::representable(QString::fromUtf8(bytes));
}

QByteArrayView withoutByteOrderMark(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView(kByteOrderMark)) ? bytes.sliced(3) : bytes;
}

} // namespace textcharset
