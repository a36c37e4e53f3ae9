// SPDX-License-Identifier: GPL-3.0-or-later
// The ways out that need no printer, the PDFs, and the steps every way out
// shares: the merge's pages and the send log's rows.

#include "print/letteroutput.h"

#include "print/letteroutputsteps.h"
#include "print/pdfdocument.h"
#include "print/sendlog.h"

#include <QFileInfo>

#include <algorithm>

namespace letteroutput {

QList<int> sentRows(const Customers &customers)
{
    QList<int> rows;
    if (!customers.rows) {
        for (int row = 0; row < customers.count; ++row)
            rows.append(row);
        return rows;
    }
    for (int row : *customers.rows)
        if (row >= 0 && row < customers.count)
            rows.append(row);
    // List order, each customer once, however the choice was put together.
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

MergedLetters mergedLetters(const LetterModel &letter, const Customers &customers)
{
    return letterpage::merged(letter, customers.table, sentRows(customers), customers.layout);
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
        letterpage::mergedHeadings(letter, customers.table, sentRows(customers), customers.layout),
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

QString nothingChosenText()
{
    return QStringLiteral("送る顧客が選ばれていません");
}

Outcome saveMergedPdf(const LetterModel &letter, const Customers &customers, const QString &path,
                      const Progress &progress)
{
    const MergedLetters letters = mergedLetters(letter, customers);
    if (letters.count() == 0)
        return fail(nothingChosenText());
    const Result<void> written =
        pdfdocument::write(path, letters.count(), pagesOf(letters, progress),
                           documentname::jobName(Clock::now()), progress.keepGoing);
    if (!written)
        return written.failure();
    return deliveredMerge(letter, customers, sendlog::Method::Pdf,
                          QFileInfo(path).absoluteFilePath());
}

} // namespace letteroutput
