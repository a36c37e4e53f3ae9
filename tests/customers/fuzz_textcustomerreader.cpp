// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as the customer text file.
#include "customers/customerlist.h"
#include "customers/customertable.h"
#include "customers/textcustomerreader.h"

#include <cstdint>
#include <cstdlib>

#include "customerreadcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (int key : {0, 1}) {
        CustomerTable table;
        const CustomerRead result = textcustomerreader::readBytes(bytes, key, table);
        if (table.rowCount() != countOf(result))
            std::abort();
        switch (kindOf(result)) {
        case ReadKind::Read: {
            if (entriesOf(result).size() != countOf(result))
                std::abort();
            const QStringList shown =
                customerlist::listEntriesWithout(entriesOf(result), QChar(0x3000));
            if (shown.size() != entriesOf(result).size())
                std::abort();
            for (int row = 0; row < countOf(result); ++row)
                if (table.cell(key, row) != entriesOf(result)[row])
                    std::abort();
            break;
        }
        case ReadKind::BadLine:
            if (!entriesOf(result).isEmpty() || result.error().isEmpty())
                std::abort();
            break;
        default:
            std::abort(); // bytes are neither missing nor unopenable
        }
    }
    return 0;
}
