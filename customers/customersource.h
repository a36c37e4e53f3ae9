#pragma once

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

// What a read leaves for the list, the count label and the error report.
struct Read
{
    // The entries the list shows now; nothing when it keeps what it shows
    // (a workbook that could not be opened).
    std::optional<QStringList> entries;
    // The customer count now; nothing when it stays as it was.
    std::optional<int> count;
    // The error to report; empty when every customer was read.
    QString errorMessage;

    bool ok() const { return errorMessage.isEmpty(); }
};

// Reads the list of `source` from `path` into the data holder's table
// through its readers; `keyItem` is the company/person selector's item.
// A text list shows nothing after a bad line (its entries would sit at
// other rows' places), but its count is the file's line count all the
// same; a workbook whose cell had no text form shows the rows read before.
Read read(TFList &holder, Source source, const QString &path, int keyItem);

} // namespace customersource
