// libFuzzer target: any bytes as the customer text file.
#include "customers/customerlist.h"
#include "customers/customertable.h"
#include "customers/textcustomerreader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (int key : {0, 1}) {
        CustomerTable table;
        const textcustomerreader::Result result = textcustomerreader::readBytes(bytes, key, table);
        if (table.rowCount() != result.count)
            std::abort();
        switch (result.status) {
        case textcustomerreader::Result::Status::Read: {
            if (result.entries.size() != result.count)
                std::abort();
            const QStringList shown =
                customerlist::listEntriesWithout(result.entries, QChar(0x3000));
            if (shown.size() != result.entries.size())
                std::abort();
            for (int row = 0; row < result.count; ++row)
                if (table.cell(key, row) != result.entries[row])
                    std::abort();
            break;
        }
        case textcustomerreader::Result::Status::BadLine:
            if (!result.entries.isEmpty() || result.errorMessage.isEmpty())
                std::abort();
            break;
        default:
            std::abort(); // bytes are neither missing nor unopenable
        }
    }
    return 0;
}
