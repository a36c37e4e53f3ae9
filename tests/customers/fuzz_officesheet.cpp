// libFuzzer target: any bytes as a customer workbook in today's formats
// (.xlsx, .ods). The reader must end with a sheet or an open error, never
// crash, hang or run out of memory, and a sheet must read like any other.
#include "customers/customertable.h"
#include "customers/officesheet.h"
#include "customers/workbookreader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const officesheet::Outcome outcome = officesheet::loadBytes(bytes);
    if (!outcome.sheet) {
        if (outcome.failure == officesheet::Failure::None)
            std::abort();
        return 0;
    }
    const Sheet &sheet = *outcome.sheet;
    if (outcome.failure != officesheet::Failure::None || sheet.rows < 0 ||
        sheet.rows > Sheet::kRows || sheet.columns != Sheet::kColumns ||
        sheet.cells.size() != size_t(sheet.rows) * size_t(sheet.columns))
        std::abort();

    CustomerTable table;
    table.setRowCount(-1);
    const workbookreader::Result result =
        workbookreader::readSheet(sheet, int(size % 2), table, QLocale::c());
    switch (result.status) {
    case workbookreader::Result::Status::Read:
        if (result.count != result.entries.size() || result.count > sheet.rows ||
            table.rowCount() != result.count)
            std::abort();
        break;
    case workbookreader::Result::Status::CellFailed:
        if (result.entries.size() >= sheet.rows || result.errorMessage.isEmpty())
            std::abort();
        break;
    case workbookreader::Result::Status::OpenFailed:
        std::abort(); // a sheet in hand always opens
    }
    return 0;
}
