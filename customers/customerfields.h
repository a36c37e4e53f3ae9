// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter/letterfields.h"

class CustomerTable;

namespace addressblock {
enum class Layout;
}

namespace customerfields {

// The cells of table row `row` that the letter's fields take, by the layout
// the addressee block uses for the list: the workbook's columns A to H, or
// the text file's fields (which have no number). Cells as the table holds
// them.
letterfields::Values of(const CustomerTable &table, int row, addressblock::Layout layout);

} // namespace customerfields
