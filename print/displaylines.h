// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QPlainTextEdit;

// The lines of a memo as it shows them: every hard line becomes one or more
// lines wrapped at the memo's width. A text ending in a line break has no
// extra empty line at its end; an empty line inside the text counts. No line
// holds a line-break character. An empty memo has no lines.
// The lines come from the memo's own document layout, so print and screen
// wrap alike.
QStringList displayLines(const QPlainTextEdit *memo);
