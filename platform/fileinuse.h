// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Whether an existing file is in use, so that it must not be opened again:
// it cannot be opened for reading and writing, another process holds an
// advisory lock on it, or an office suite's lock file for it lies beside it
// (".~lock.<name>#"). A missing file is not in use.
namespace fileinuse {
bool isInUse(const QString &path);
}
