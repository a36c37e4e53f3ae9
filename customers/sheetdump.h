#pragma once

#include "customers/sheet.h"

#include <QByteArray>
#include <QByteArrayView>

#include <freexl.h>

#include <optional>

// The cells of an .xls workbook's first worksheet, read by FreeXL in a child
// process and brought into the sheet every format's reader fills (see
// sheet.h). FreeXL trusts the lengths and offsets written in the file, and a
// damaged workbook can make it read or write out of bounds or crash; whatever
// happens in the child, this process only receives a plain copy of the cells
// it asked for, or learns that the read failed.
namespace sheetdump {

constexpr int kDefaultTimeoutMs = 20000;

enum class Failure {
    None,
    FreeXL,    // FreeXL reported `freexlError`
    Encrypted, // the workbook is protected by a password
    Crashed,   // the child died while reading
    TimedOut,  // the child took too long and was stopped
    Garbled,   // the child's report was incomplete or malformed
    NoProcess, // no child could be started: `systemError`
    NoLibrary, // libfreexl.so.1 cannot be opened
};

struct Outcome
{
    std::optional<Sheet> sheet;
    Failure failure = Failure::None;
    int freexlError = FREEXL_OK;
    int systemError = 0;
};

// Reads the workbook at `path` (in the file system's encoding) in a child
// process. Blocks until the child has finished or `timeoutMs` has passed.
Outcome load(const QByteArray &path, int timeoutMs = kDefaultTimeoutMs);

// The child's part: opens the workbook with FreeXL and writes its report;
// empty when FreeXL cannot be opened.
QByteArray report(const char *path);

// The parent's part: the outcome a report stands for. Any byte sequence is
// accepted; what does not parse is Garbled.
Outcome decode(QByteArrayView report);

} // namespace sheetdump
