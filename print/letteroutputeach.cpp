// SPDX-License-Identifier: GPL-3.0-or-later
// One PDF per customer: each customer's letter in a file of its own, named
// after its row and company, so that each can be mailed or filed apart.

#include "print/letteroutput.h"

#include "customers/customerfields.h"
#include "print/letteroutputsteps.h"
#include "print/pdfdocument.h"
#include "print/pdffilename.h"
#include "print/sendlog.h"

#include <QDir>
#include <QFileInfo>

namespace letteroutput {

namespace {
QString companyOf(const Customers &customers, int row)
{
    return customerfields::of(customers.table, row, customers.layout)
        .value(QStringLiteral("会社名"));
}
} // namespace

Outcome savePdfEach(const LetterModel &letter, const Customers &customers, const QString &folder,
                    const Progress &progress)
{
    const QFileInfo where(folder);
    if (folder.isEmpty() || !where.isDir())
        return fail(QStringLiteral("フォルダがありません"));
    const QList<int> rows = sentRows(customers);
    if (rows.isEmpty())
        return fail(nothingChosenText());

    const MergedLetters letters = mergedLetters(letter, customers);
    const QList<letterpage::Heading> headings =
        letterpage::mergedHeadings(letter, customers.table, rows, customers.layout);
    const QDir dir(where.absoluteFilePath());

    Delivery delivery;
    delivery.destination = dir.absolutePath();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const int row = rows.at(i);
        const QString path = dir.absoluteFilePath(
            pdffilename::forCustomer(row + 1, customers.count, companyOf(customers, row)));
        const QDateTime at = Clock::now();
        // Written aside and renamed: a stopped run or a full disk leaves no
        // half letter under a customer's name.
        const Result<void> written = pdfdocument::write(
            path, 1,
            [&](qsizetype) {
                if (progress.reached)
                    progress.reached(i);
                return letters.page(i);
            },
            documentname::jobName(at), progress.keepGoing);
        if (!written)
            return fail(
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), written.error()));
        // Each file has its row as soon as it is there, so the log tells
        // exactly which letters a run that fails later did write.
        const Result<void> logged =
            logSent(letter, {headings.at(i)}, at, sendlog::Method::Pdf, path);
        if (!logged && delivery.logged)
            delivery.logged = logged;
        ++delivery.letters;
    }
    return delivery;
}

} // namespace letteroutput
