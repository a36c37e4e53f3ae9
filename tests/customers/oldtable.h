// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A customer table as an earlier read left it: every cell a sentinel and a
// row count of 7, so a test can tell whether a failed read touched it.

#include "customers/customertable.h"

#include <QString>

inline const QString kSentinel = QStringLiteral("<old>");

inline CustomerTable oldTable()
{
    CustomerTable table;
    for (int row = 0; row < 210; ++row)
        for (int column = 0; column < CustomerTable::kColumns; ++column)
            table.setCell(column, row, kSentinel);
    table.setRowCount(7);
    return table;
}

inline bool untouched(const CustomerTable &table)
{
    if (table.rowCount() != 7)
        return false;
    for (int row = 0; row < 210; ++row)
        for (int column = 0; column < CustomerTable::kColumns; ++column)
            if (table.cell(column, row) != kSentinel)
                return false;
    return true;
}
