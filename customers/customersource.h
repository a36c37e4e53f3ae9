// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/customerread.h"

#include <QString>
#include <QStringList>

#include <optional>

class TFList;

namespace addressblock {
enum class Layout;
}

// The three data sources that name a file in the program directory, as the
// window's options and --customers choose and read them: one place, so that
// the window and the command line cannot read a list differently.
namespace customersource {

enum class Source {
    TextList,      // "TXTから取得": smpl1.txt
    WorkbookList,  // "XLSから取得": smpl2.xls (or .xlsx, .ods)
    MergeWorkbook, // "XLSから差込": smpl3.xls, opened, never read
};

// The source's file name in `programDir` (which ends with "/").
QString fileName(Source source, const QString &programDir);

// How a customer's addressee block is composed from a list of this source.
addressblock::Layout layoutOf(Source source);

// Reads the list of `source` from `path` into the data holder's table
// through its readers; `keyItem` is the company/person selector's item. The
// entries are those the list shows, the spaces that stood for half-width
// ones taken out. A text list shows nothing after a bad line (its entries
// would sit at other rows' places), but its count is the file's line count
// all the same; a workbook whose cell had no text form shows the rows read
// before.
CustomerRead read(TFList &holder, Source source, const QString &path, int keyItem);

// What the list and the count label show after a read, failed or not;
// nothing where they keep what they showed.
std::optional<QStringList> shownEntries(const CustomerRead &read);
std::optional<int> shownCount(const CustomerRead &read);

} // namespace customersource
