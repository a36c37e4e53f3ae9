// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Code page 932 (Shift-JIS as Windows writes it) is the only encoding of the
// program's files. Everything inside the program is QString; bytes are turned
// into text here and nowhere else, so searching and replacing always work on
// whole characters and a trail byte 0x5C can never be mistaken for "\".
namespace cp932 {

// Decodes up to the first NUL byte; what follows a NUL is not text. Bytes as
// Windows maps them, also 0x80 (U+0080), 0xA0 and 0xFD to 0xFF (U+F8F0 to
// U+F8F3); a byte that is not part of any character (a lone lead byte, a bad
// trail, an unassigned pair) becomes U+F700 plus the byte, which encode()
// turns back into that byte, so unedited text is written back unchanged.
QString decode(QByteArrayView bytes);

// Encodes text; every character code page 932 cannot hold becomes "?".
QByteArray encode(QStringView text);

// True when the character (a whole code point) has a code-page-932 form.
bool canEncode(char32_t codePoint);

// The text with every character that code page 932 cannot hold replaced by
// "?", so that what a box shows is what will be saved and printed.
QString representable(QStringView text);

// Every line break (CR LF, lone CR, lone LF) becomes CR LF.
QString normalizeLineBreaks(QStringView text);

// Lines split at CR LF, lone LF or lone CR; a break at the very end adds no
// further line, and an empty text has no lines.
QStringList splitLines(QStringView text);

// Each entry followed by CR LF.
QString joinLines(const QStringList &lines);

} // namespace cp932
