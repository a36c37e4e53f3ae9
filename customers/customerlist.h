// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QStringList>

class CustomerTable;

// The customer list shows one entry per table row, entry k for row k. Keys
// are shown without the spaces the table keeps, and a key that holds a line
// break still makes one entry.
namespace customerlist {

// Each entry without any `space` character, each line break in it (CR LF,
// CR or LF) turned into one half-width space. Never splits or merges entries.
// Pass the list with std::move when it is not needed afterwards: the
// entries are then cleaned where they are.
QStringList listEntriesWithout(QStringList entries, QChar space);

// The list of a workbook read rebuilt from the stored table rows 0 to
// count - 1 for the selector's item (0 company = column 1, 1 person =
// column 2), half-width spaces removed.
QStringList workbookEntries(const CustomerTable &table, int count, int keyItem);

} // namespace customerlist
