// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class SingleInstanceLock;

// Finds the window module of this build and runs the window from it: the
// module beside the executable (where the launcher puts it, with the
// executable, into the program folder), else the one of the build tree the
// executable came from. A module of another build is passed over.
namespace windowmodule {

// The places looked in, in order, for the executable at `executablePath`.
QStringList candidates(const QString &executablePath);

// Runs the window for a first start holding `lock`; its exit status, or 1
// after a message on stderr when no module of this build is found.
int run(int argc, char **argv, const SingleInstanceLock &lock);

} // namespace windowmodule
