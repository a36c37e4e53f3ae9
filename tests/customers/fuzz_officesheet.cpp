// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as a customer workbook in today's formats
// (.xlsx, .ods). The reader must end with a sheet or an open error, never
// crash, hang or run out of memory, and a sheet must read like any other.
#include "customers/customertable.h"
#include "customers/officesheet.h"
#include "customers/workbookreader.h"

#include <cstdint>
#include <cstdlib>

#include "customerreadcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const officesheet::Outcome outcome = officesheet::loadBytes(bytes);
    if (!outcome) {
        if (outcome.failure().kind == officesheet::Failure::None || outcome.error().isEmpty())
            std::abort();
        return 0;
    }
    const Sheet &sheet = *outcome;
    if (sheet.rows < 0 || sheet.rows > Sheet::kRows || sheet.columns != Sheet::kColumns ||
        sheet.cells.size() != size_t(sheet.rows) * size_t(sheet.columns))
        std::abort();

    CustomerTable table;
    table.setRowCount(-1);
    const CustomerRead result =
        workbookreader::readSheet(sheet, int(size % 2), table, QLocale::c());
    switch (kindOf(result)) {
    case ReadKind::Read:
        if (countOf(result) != entriesOf(result).size() || countOf(result) > sheet.rows ||
            table.rowCount() != countOf(result))
            std::abort();
        break;
    case ReadKind::CellFailed:
        if (entriesOf(result).size() >= sheet.rows || result.error().isEmpty())
            std::abort();
        break;
    case ReadKind::OpenFailed:
        std::abort(); // a sheet in hand always opens
    }
    return 0;
}
