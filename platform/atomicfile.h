// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

namespace atomicfile {

// Replaces a file's content so that a crash, a kill or a full disk during the
// save leaves either the old or the new content, never an empty or half
// written file: the bytes go to a temporary file in the same directory, are
// flushed to disk and the temporary file is renamed over the old one.
//
// Refuses (an error, the old file untouched) when the file exists but may not be
// written (including a file without any write permission bit, which even root
// treats as read-only here): the rename would otherwise replace a read-only
// file. Where the directory forbids new files but the file itself may be
// written, the file is rewritten in place (written over, cut to length,
// flushed), which cannot be atomic but is the only save possible there; a
// new file in such a directory is refused. The error is the system's
// description of the failure ("Permission denied").
// The old file's permission bits (and, where allowed, owner) are kept; a new
// file gets `newFileMode` (0666 unless a caller keeps it private) less the
// umask. A symbolic link is written through.
Result<void> write(const QString &path, const QByteArray &bytes, unsigned newFileMode = 0666);

// The steps of a save at which a test can make the system call fail.
enum class Step { CreateTemp, Write, Sync, Rename, InPlace };

// Called before each step; a non-zero result is taken as the errno of that
// step failing. The hook stands until resetInstance(); without one every
// step goes to the system.
using FailureHook = std::function<int(Step step)>;
void setInstance(FailureHook hook);
void resetInstance();

// True for the names of the temporary files a save creates beside its
// target (".1本文.txt.k3x9qz.tmp").
bool isTemporaryName(QStringView name);

// Removes, from `directory`, the temporary files that a save interrupted by a
// crash or a kill left behind: only files named as a save names them and
// last changed before `olderThan` (the start of this run). Returns how many
// were removed.
int removeStrayTemporaries(const QString &directory, const QDateTime &olderThan);

// When this process began, as near as the program can tell.
QDateTime processStartTime();

} // namespace atomicfile
