// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/addressblock.h"

#include "customers/customertable.h"

namespace addressblock {

QString compose(const CustomerTable &table, int row, Layout layout)
{
    struct Columns
    {
        int company, second, person, fourth;
    };
    const Columns c = layout == Layout::Text ? Columns{0, 2, 1, 4} : Columns{1, 3, 2, 7};
    const QString crlf = QStringLiteral("\r\n");
    return table.cell(c.company, row) + crlf + table.cell(c.second, row) + crlf +
           QStringLiteral("  ") + table.cell(c.person, row) + QString::fromUtf8("  様") + crlf +
           QStringLiteral("   ") + table.cell(c.fourth, row);
}

} // namespace addressblock
