// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// A box's display lines without a widget: the text laid out as the box's
// text area lays it out (one text layout per hard line, broken at word
// boundaries or, where a word is wider than the area, anywhere; no margin;
// the lines as wide as the area), so the print, the PDF and the screen show
// the same lines. A text ending in a line break has no extra empty line at
// its end; an empty line inside the text counts; no line holds a line-break
// character; an empty text has no lines. Of a line longer than any box can
// show (overlongline.h) only the shown part is laid out, as on screen.
namespace boxwrap {

// `text` with any line breaks; `width` in pixels (0 or less: no wrapping).
QStringList lines(const QString &text, const QFont &font, int width);

} // namespace boxwrap
