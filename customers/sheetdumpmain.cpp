// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook reader's own process: reads the first worksheet of the .xls
// file named by its argument with FreeXL and writes the report of its cells
// to standard output. FreeXL trusts the lengths and offsets in the file; a
// damaged workbook that makes it crash or run wild harms only this process,
// which the program starts afresh for every read.
//
//   tavrint-sheetdump WORKBOOK
// Exit status: 0 with a report written, 3 when FreeXL cannot be opened,
// 2 for a wrong command line, 1 when the report could not be written.

#include "customers/sheetdump.h"

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
bool writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2)
        return sheetdump::kExitUsage;
    // Die quietly and leave no core: the program learns of a crash from
    // the exit status alone.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (devNull >= 0)
        ::dup2(devNull, STDERR_FILENO);
    if (!sheetdump::freexlAvailable())
        return sheetdump::kExitNoLibrary;
    const bool written = writeAll(STDOUT_FILENO, sheetdump::report(argv[1]));
    // Straight out, without the exit handlers: what they might add (a leak
    // checker's verdict on FreeXL) would only change the status the program
    // reads the outcome from.
    ::_exit(written ? 0 : sheetdump::kExitNotWritten);
}
