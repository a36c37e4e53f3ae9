// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class CustomerTable;

// The four-line addressee block written into the addressee box when a
// customer is clicked: company, a second line, the person with 様, a fourth
// line. Which table columns feed the lines depends on where the table came
// from.
namespace addressblock {

enum class Layout {
    Text,     // filled from the customer text file
    Workbook, // filled from the customer workbook
};

// The block for table row `row`, lines joined by CR LF, none after the last.
QString compose(const CustomerTable &table, int row, Layout layout);

} // namespace addressblock
