// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as the customer workbook. The reader must end
// with a result (read, open error or cell error), never crash or hang, and
// keep its promises about what it returns.
#include "customers/customertable.h"
#include "customers/workbookreader.h"

#include <QString>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "customerreadcheck.h"

namespace {

// FreeXL opens a path; an in-memory file keeps the disk out of the loop.
// The reader's own process opens it through this process's descriptor.
const QString &inputPath()
{
    static const QString path = [] {
        const int fd = memfd_create("workbook.xls", 0);
        if (fd < 0)
            std::abort();
        return QStringLiteral("/proc/%1/fd/%2").arg(::getpid()).arg(fd);
    }();
    return path;
}

int inputFd()
{
    return inputPath().section(u'/', -1).toInt();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const int fd = inputFd();
    if (ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) != ssize_t(size)))
        std::abort();

    // One read per input: each one starts the reader's own process, which is
    // slow under the sanitizers. The key follows the input's length.
    {
        const int key = int(size % 2);
        CustomerTable table;
        table.setRowCount(-1);
        const CustomerRead result = workbookreader::read(inputPath(), key, table, QLocale::c());
        switch (kindOf(result)) {
        case ReadKind::Read:
            if (countOf(result) != entriesOf(result).size() ||
                countOf(result) > workbookreader::kMaxRows || table.rowCount() != countOf(result) ||
                !result.error().isEmpty())
                std::abort();
            break;
        case ReadKind::OpenFailed:
            if (!entriesOf(result).isEmpty() || table.rowCount() != -1 || result.error().isEmpty())
                std::abort();
            break;
        case ReadKind::CellFailed:
            if (entriesOf(result).size() >= workbookreader::kMaxRows || table.rowCount() != -1 ||
                result.error().isEmpty())
                std::abort();
            break;
        }
    }
    return 0;
}
