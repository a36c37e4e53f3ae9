// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/sheet.h"
#include "platform/result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The cells of an .xls workbook's first worksheet, read by FreeXL in a
// process of its own, tavrint-sheetdump, and brought into the sheet every
// format's reader fills (see sheet.h). FreeXL trusts the lengths and offsets
// written in the file, and a damaged workbook can make it read or write out
// of bounds or crash; whatever happens there, this process only receives a
// plain copy of the cells it asked for, or learns that the read failed.
// FreeXL is never loaded into the program itself.
namespace sheetdump {

constexpr int kDefaultTimeoutMs = 20000;

// The helper's exit status besides 0, a report written.
constexpr int kExitNotWritten = 1; // the report could not be written out
constexpr int kExitUsage = 2;      // not started with one workbook
constexpr int kExitNoLibrary = 3;  // libfreexl.so.1 cannot be opened

enum class Failure {
    FreeXL,    // FreeXL reported `freexlError`
    Encrypted, // the workbook is protected by a password
    Crashed,   // the helper died while reading
    TimedOut,  // the helper took too long and was stopped
    Garbled,   // the helper's report was incomplete or malformed
    NoProcess, // no helper could be started: `systemError` (ENOENT: none found)
    NoLibrary, // libfreexl.so.1 cannot be opened
};

// Why a read failed, and the reason the open error shows.
struct Error
{
    Failure kind = Failure::Garbled;
    int freexlError = 0;
    int systemError = 0;
    QString text;
};

Error error(Failure kind, int freexlError = 0, int systemError = 0);

using Outcome = Result<Sheet, Error>;

// Reads the workbook at `path` (in the file system's encoding) with the
// helper, found beside the program's executable or where the build left it
// (see companion.h). Blocks until the helper has finished or `timeoutMs` has passed,
// when it is killed.
Outcome load(const QByteArray &path, int timeoutMs = kDefaultTimeoutMs);

// The same with the helper at `helper`, started as `helper path`.
Outcome loadWith(const QString &helper, const QByteArray &path, int timeoutMs);

// The helper's part: whether FreeXL can be opened, and the report of the
// workbook at `path` it writes (empty without FreeXL).
bool freexlAvailable();
QByteArray report(const char *path);

// The program's part: the outcome a report stands for. Any byte sequence is
// accepted; what does not parse is Garbled.
Outcome decode(QByteArrayView report);

} // namespace sheetdump
