// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/customerread.h"
#include "customers/sheet.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

class CustomerTable;

// The customer workbook: .xls read by FreeXL in a process of its own (see
// sheetdump.h), or .xlsx and .ods, told by their content whatever the file's
// name (see officesheet.h). The first worksheet, rows 1 to 200, columns 1 to 8 into table
// columns 0 to 7. The key column is 2 (company, selector item 0) or 3
// (person, item 1); the first empty key cell ends the customers. Nothing is
// kept between reads.
namespace workbookreader {

constexpr int kMaxRows = Sheet::kRows;
constexpr int kColumns = Sheet::kColumns;

// Reads the workbook at `path`; cells go into `table` as they are read, and
// after a complete read the table's row count becomes the customer count.
// The entries are the keys without half-width spaces. A workbook that cannot
// be opened leaves the list, the table and the count as they were; after a
// cell without a text form the list shows the keys, as stored, of the rows
// read before it, and the count stays.
CustomerRead read(const QString &path, int keyItem, CustomerTable &table,
                  const QLocale &locale = QLocale::system());

// The read of a sheet's cells, from whichever format they came.
CustomerRead readSheet(const Sheet &sheet, int keyItem, CustomerTable &table,
                       const QLocale &locale = QLocale::system());

// A cell's text: numbers in the general form with at most 15 significant
// digits and the locale's decimal separator, dates and times in the locale's
// short form, text limited to what code page 932 holds. No value for a cell
// that has no text form.
std::optional<QString> cellText(const Cell &cell, const QLocale &locale);

// The general form of a floating-point number ("3", "0.5", "1E+20").
// No value for infinities and NaN, which no cell can hold.
std::optional<QString> numberText(double value, const QLocale &locale);

} // namespace workbookreader
