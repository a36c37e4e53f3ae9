// SPDX-License-Identifier: GPL-3.0-or-later
// The ways out that need no printer, the PDFs, and the steps every way out
// shares: the merge's pages and the send log's rows.

#include "print/letteroutput.h"

#include "print/letteroutputsteps.h"
#include "print/pdfdocument.h"
#include "print/sendlog.h"

#include <QFileInfo>

namespace letteroutput {

MergedLetters mergedLetters(const LetterModel &letter, const Customers &customers)
{
    return letterpage::merged(letter, customers.table, customers.count, customers.layout);
}

pageplayback::PageSource pagesOf(const MergedLetters &letters, const Progress &progress)
{
    return [&letters, reached = progress.reached](qsizetype index) {
        if (reached)
            reached(index);
        return letters.page(index);
    };
}

Outcome delivered(const LetterModel &letter, const QList<letterpage::Heading> &letters,
                  const QDateTime &at, sendlog::Method method, const QString &destination)
{
    Delivery delivery;
    delivery.destination = destination;
    delivery.letters = static_cast<int>(letters.size());
    delivery.logged = sendlog::append(letter.programDir(),
                                      letterpage::sentEntries(letters, at, method, destination));
    return delivery;
}

Outcome deliveredMerge(const LetterModel &letter, const Customers &customers,
                       sendlog::Method method, const QString &destination)
{
    return delivered(
        letter,
        letterpage::mergedHeadings(letter, customers.table, customers.count, customers.layout),
        Clock::now(), method, destination);
}

Outcome savePdf(const LetterModel &letter, const QString &path)
{
    const Result<void> written =
        pdfdocument::write(path, {letterpage::build(letter)}, documentname::jobName(Clock::now()));
    if (!written)
        return written.failure();
    return delivered(letter, {letterpage::heading(letter)}, Clock::now(), sendlog::Method::Pdf,
                     QFileInfo(path).absoluteFilePath());
}

Outcome saveMergedPdf(const LetterModel &letter, const Customers &customers, const QString &path,
                      const Progress &progress)
{
    const MergedLetters letters = mergedLetters(letter, customers);
    const Result<void> written =
        pdfdocument::write(path, letters.count(), pagesOf(letters, progress),
                           documentname::jobName(Clock::now()), progress.keepGoing);
    if (!written)
        return written.failure();
    return deliveredMerge(letter, customers, sendlog::Method::Pdf,
                          QFileInfo(path).absoluteFilePath());
}

} // namespace letteroutput
