// SPDX-License-Identifier: GPL-3.0-or-later
// The ways out that need no printer, the PDFs, and the steps every way out
// shares: the merge's pages and the send log's rows.

#include "print/letteroutput.h"

#include "customers/customerfields.h"
#include "platform/pdffiles.h"
#include "print/letteroutputsteps.h"
#include "print/pdfdocument.h"
#include "print/sendlog.h"

#include <QFileInfo>

#include <algorithm>

namespace letteroutput {

Result<LetterModel> goingOut(const LetterModel &letter)
{
    int pages = 0;
    for (const QString &path : letter.attachments()) {
        const Result<int> counted = pdffiles::pageCount(path);
        if (!counted)
            return counted.failure();
        pages += *counted;
    }
    LetterModel going = letter;
    going.setAttachments(letter.attachments(), pages);
    return going;
}

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

Result<void> logSent(const LetterModel &letter, const QList<letterpage::Heading> &letters,
                     const QDateTime &at, sendlog::Method method, const QString &destination)
{
    return sendlog::append(letter.programDir(),
                           letterpage::sentEntries(letters, at, method, destination));
}

Outcome delivered(const LetterModel &letter, const QList<letterpage::Heading> &letters,
                  const QDateTime &at, sendlog::Method method, const QString &destination)
{
    Delivery delivery;
    delivery.destination = destination;
    delivery.letters = static_cast<int>(letters.size());
    delivery.logged = logSent(letter, letters, at, method, destination);
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
    const Result<LetterModel> going = goingOut(letter);
    if (!going)
        return going.failure();
    const RenderPage page = letterpage::build(*going);
    const Result<void> written = pdfdocument::write(
        path, 1, [&page](qsizetype) { return page; }, documentname::jobName(Clock::now()), {},
        going->attachments());
    if (!written)
        return written.failure();
    return delivered(*going, {letterpage::heading(*going)}, Clock::now(), sendlog::Method::Pdf,
                     QFileInfo(path).absoluteFilePath());
}

QString nothingChosenText()
{
    return QStringLiteral("送る顧客が選ばれていません");
}

Result<GoingMerge> mergeGoingOut(const LetterModel &letter, const Customers &customers)
{
    const Result<LetterModel> going = goingOut(letter);
    if (!going)
        return going.failure();
    GoingMerge merge{*going, mergedLetters(*going, customers)};
    if (merge.letters.count() == 0)
        return fail(nothingChosenText());
    return merge;
}

Outcome saveMergedPdf(const LetterModel &letter, const Customers &customers, const QString &path,
                      const Progress &progress)
{
    const Result<GoingMerge> going = mergeGoingOut(letter, customers);
    if (!going)
        return going.failure();
    const MergedLetters &letters = going->letters;
    const Result<void> written = pdfdocument::write(
        path, letters.count(), pagesOf(letters, progress), documentname::jobName(Clock::now()),
        progress.keepGoing, going->letter.attachments());
    if (!written)
        return written.failure();
    return deliveredMerge(going->letter, customers, sendlog::Method::Pdf,
                          QFileInfo(path).absoluteFilePath());
}

namespace {
// One fax: the page, the documents behind it, the server's job, its row.
Result<SentFax> faxOne(const RenderPage &page, const QStringList &attachments,
                       const QString &number, const QString &addressee, const fax::Service &service)
{
    const QString title = documentname::jobName(Clock::now());
    const QByteArray cover = pdfdocument::render({page}, title);
    if (cover.isEmpty())
        return fail(QStringLiteral("The PDF writer failed"));
    const Result<QByteArray> joined = pdffiles::join(cover, attachments);
    if (!joined)
        return joined.failure();
    const Result<fax::Job> job = fax::send(service, *joined, number, addressee, title);
    if (!job)
        return job.failure();
    return SentFax{number, job->id, job->reference};
}

QString faxDestination(const SentFax &sent)
{
    // The reference travels in the addressee slot until the row is made.
    return sent.number + u' ' + sent.addressee;
}
} // namespace

Outcome fax(const LetterModel &letter, const QString &number, const fax::Service &service)
{
    const Result<QString> dialled = fax::dialledNumber(number);
    if (!dialled)
        return dialled.failure();
    const Result<LetterModel> going = goingOut(letter);
    if (!going)
        return going.failure();
    const letterpage::Heading heading = letterpage::heading(*going);
    const Result<SentFax> sent = faxOne(letterpage::build(*going), going->attachments(), *dialled,
                                        heading.addressee, service);
    if (!sent)
        return sent.failure();
    Outcome outcome =
        delivered(*going, {heading}, Clock::now(), sendlog::Method::Fax, faxDestination(*sent));
    outcome.value().destination = service.description();
    outcome.value().faxes = {{sent->number, sent->jobId, heading.addressee}};
    return outcome;
}

Outcome faxMerged(const LetterModel &letter, const Customers &customers,
                  const fax::Service &service, const Progress &progress)
{
    const Result<GoingMerge> merge = mergeGoingOut(letter, customers);
    if (!merge)
        return merge.failure();
    const LetterModel *going = &merge->letter;
    const MergedLetters &letters = merge->letters;
    const QList<int> rows = sentRows(customers);
    const QList<letterpage::Heading> headings =
        letterpage::mergedHeadings(*going, customers.table, rows, customers.layout);
    Delivery delivery;
    delivery.destination = service.description();
    QList<sendlog::Entry> sentLetters;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (progress.keepGoing && !progress.keepGoing()) {
            delivery.stoppedBy = QStringLiteral("中止しました");
            break;
        }
        if (progress.reached)
            progress.reached(i);
        const int row = rows.at(i);
        const QString cell =
            customerfields::of(customers.table, row, customers.layout).value(QStringLiteral("FAX"));
        const QString who = headings.at(i).addressee;
        const Result<QString> dialled = fax::dialledNumber(cell);
        if (!dialled) {
            delivery.skipped.append(QStringLiteral("%1 行目 %2: %3")
                                        .arg(QString::number(row + 1), who, dialled.error()));
            continue;
        }
        const Result<SentFax> sent =
            faxOne(letters.page(i), going->attachments(), *dialled, who, service);
        if (!sent) {
            // The server is gone or refuses: the rest would fare no better.
            delivery.stoppedBy = sent.error();
            break;
        }
        delivery.faxes.append({sent->number, sent->jobId, who});
        sentLetters.append(letterpage::sentEntries({headings.at(i)}, Clock::now(),
                                                   sendlog::Method::Fax, faxDestination(*sent)));
    }
    if (delivery.faxes.isEmpty() && !delivery.stoppedBy.isEmpty())
        return fail(delivery.stoppedBy);
    delivery.letters = static_cast<int>(delivery.faxes.size());
    delivery.logged = sendlog::append(going->programDir(), sentLetters);
    return delivery;
}

} // namespace letteroutput
