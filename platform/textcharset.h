// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

// The character set of a customer text file. Offices keep the list in code
// page 932, as it always was, or in UTF-8, as today's spreadsheet programs
// and web exports write it. Japanese text in code page 932 is almost never
// valid UTF-8 (its trail bytes 0x40 to 0x7E cannot continue a UTF-8
// sequence), while UTF-8 text is often valid code page 932 by accident; so
// only UTF-8 validity decides, never code-page-932 validity.
namespace textcharset {

enum class Charset {
    Cp932,
    Utf8,
};

// UTF-8 when the bytes start with the UTF-8 byte-order mark, or when they are
// valid UTF-8 as a whole and hold at least one multi-byte sequence; code page
// 932 otherwise (pure ASCII included, which reads the same either way). Only
// the bytes before the first NUL count, as only they are text.
Charset detect(QByteArrayView bytes);

// True when the bytes are well-formed UTF-8: shortest forms only, no
// surrogates, nothing above U+10FFFF.
bool isValidUtf8(QByteArrayView bytes);

// The text of the bytes in the detected character set, up to the first NUL,
// without a byte-order mark; characters code page 932 cannot hold become "?",
// so that every customer field is text the letter can save.
QString decode(QByteArrayView bytes);

// One piece of a file already known to be UTF-8, with the same "?" rule.
QString decodeUtf8(QByteArrayView bytes);

// The bytes without a leading UTF-8 byte-order mark.
QByteArrayView withoutByteOrderMark(QByteArrayView bytes);

} // namespace textcharset
