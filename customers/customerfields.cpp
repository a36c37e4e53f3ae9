// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/customerfields.h"

#include "customers/addressblock.h"
#include "customers/customertable.h"

namespace customerfields {

letterfields::Values of(const CustomerTable &table, int row, addressblock::Layout layout)
{
    letterfields::Values values;
    for (const letterfields::Field &field : letterfields::kFields) {
        const int column =
            layout == addressblock::Layout::Text ? field.textColumn : field.workbookColumn;
        values.insert(QString::fromUtf16(field.name),
                      column >= 0 ? table.cell(column, row) : QString());
    }
    return values;
}

} // namespace customerfields
