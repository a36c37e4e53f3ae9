// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a test needs from the machine besides the program: a test printer,
// poppler, an X server, an unprivileged user, LibreOffice. A plain `ctest`
// on a developer's machine skips a test whose rig is missing; ./test.sh sets
// TAVRINT_REQUIRE_RIGS, as it provides every rig, and there a missing one
// fails the test instead of passing it unseen.

#include <QTest>

inline bool rigsRequired()
{
    return qEnvironmentVariableIsSet("TAVRINT_REQUIRE_RIGS");
}

#define SKIP_MISSING_RIG(reason)                                                                   \
    do {                                                                                           \
        if (rigsRequired())                                                                        \
            QFAIL(reason);                                                                         \
        QSKIP(reason);                                                                             \
    } while (false)
