// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"
#include "print/documentname.h"
#include "print/faxservice.h"

#include <QString>

#include <QList>

#include <functional>
#include <optional>

class CustomerTable;
class LetterModel;

namespace addressblock {
enum class Layout;
}

// Every way a letter leaves the program, one operation each: the letter's
// attachments are checked and counted (《枚数》), the letter is rendered with
// them behind it, written, printed or faxed, and each letter that went out
// gets its row in the send log, in that order and in this one place. An
// attachment that cannot go out stops the whole output before anything
// does. The window and the
// command line only choose which and show the outcome. Job names and the
// send log's times come from the Clock.
namespace letteroutput {

// A fax the server took.
struct SentFax
{
    QString number; // as dialled
    QString jobId;
    QString addressee; // the first line of the letter's box B
};

// What went out: where to, how many letters, and whether their rows reached
// the send log (the letters went out all the same when they did not).
struct Delivery
{
    QString destination; // the printer's queue, the PDF's full path, the fax server
    int letters = 0;
    Result<void> logged;
    QList<SentFax> faxes;
    // A run of faxes: the customers passed over, each with why; and what
    // stopped it before its end (the faxes before went out and are logged).
    QStringList skipped;
    QString stoppedBy;
};
// A failure's text is the reason alone; the front end names the file.
using Outcome = Result<Delivery>;

// One letter for each of the rows 0 .. count - 1 of `table`, or, when
// `rows` is given, for those of them alone (0-based, in list order, as the
// user chose them).
struct Customers
{
    const CustomerTable &table;
    int count = 0;
    addressblock::Layout layout;
    std::optional<QList<int>> rows = std::nullopt;
};
// The rows a merge of `customers` sends, in the order it sends them: the
// chosen ones that lie in the list.
QList<int> sentRows(const Customers &customers);

// A long run says which letter it begins and stops once keepGoing() says
// so; nothing is written or printed then.
struct Progress
{
    std::function<bool()> keepGoing;
    std::function<void(qsizetype index)> reached;
};

// On the default printer, one job named by `jobNames`.
Outcome print(const LetterModel &letter, documentname::JobNamer &jobNames);
Outcome printMerged(const LetterModel &letter, const Customers &customers,
                    documentname::JobNamer &jobNames, const Progress &progress = {});

// Into the PDF at `path`, replaced whole or not at all.
Outcome savePdf(const LetterModel &letter, const QString &path);
Outcome saveMergedPdf(const LetterModel &letter, const Customers &customers, const QString &path,
                      const Progress &progress = {});

// The letter with its attachments by fax to `number` (as the user typed
// it; refused unless it is a fax number).
Outcome fax(const LetterModel &letter, const QString &number, const fax::Service &service);
// One fax for each customer, to the number in the customer's 《FAX》 cell;
// a customer without a usable number is passed over and named in
// `skipped`.
Outcome faxMerged(const LetterModel &letter, const Customers &customers,
                  const fax::Service &service, const Progress &progress = {});
// One PDF per customer into `folder`, named by pdffilename::forCustomer,
// each written whole or not at all and given its send-log row once it is
// there. A failure stops the run at that customer: the files before it stay
// with their rows; `Delivery::letters` of a success counts the files.
Outcome savePdfEach(const LetterModel &letter, const Customers &customers, const QString &folder,
                    const Progress &progress = {});

} // namespace letteroutput
