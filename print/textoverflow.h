// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QPlainTextEdit;

// Whether a memo's text needs more display lines than its text area shows:
// the lines below its bottom edge are hidden on screen but printed all the
// same, so the window marks such a box. The trailing empty line of a text
// that ends with a line break does not count, as it does not print.
bool textOverflows(const QPlainTextEdit *memo);
