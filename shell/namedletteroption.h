// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class LetterModel;

// `--letter NAME`: the letter kept under NAME stands in for the current one
// in what --pdf writes. Only the model is changed; the current letter's
// files stay as they are.
namespace namedletteroption {

// Puts the named letter into `letter` (loaded from the program directory);
// false after saying on stderr why not: an unknown name (with the names
// there are) or a file that cannot be read.
bool apply(const QString &name, LetterModel &letter);

} // namespace namedletteroption
