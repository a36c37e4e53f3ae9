// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/namedletteroption.h"

#include "letter/lettermodel.h"
#include "letter/namedletters.h"
#include "platform/clock.h"
#include "platform/errorreport.h"

#include <QDir>

#include <cstdio>

namespace namedletteroption {

bool apply(const QString &name, LetterModel &letter)
{
    auto complain = [](const QString &text) {
        std::fprintf(stderr, "tavrint: %s\n", qUtf8Printable(text));
    };
    const NamedLetters store(letter.programDir());
    if (!store.contains(name)) {
        const QStringList names = store.names();
        const QString folder = QDir::toNativeSeparators(store.directory());
        complain(names.isEmpty()
                     ? QStringLiteral("no letter named '%1': %2 holds no letters").arg(name, folder)
                     : QStringLiteral("no letter named '%1'; the letters in %2 are: %3")
                           .arg(name, folder, names.join(QStringLiteral(", "))));
        return false;
    }
    const Result<NamedLetter> named = store.read(name);
    if (!named) {
        complain(errorreport::displayText(named.error()));
        return false;
    }
    named->applyTo(letter, Clock::today());
    return true;
}

} // namespace namedletteroption
