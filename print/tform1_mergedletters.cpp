// SPDX-License-Identifier: GPL-3.0-or-later
// One letter for every customer of the list: "全員分をPDFに保存…"
// (Ctrl+Shift+E) writes them into one PDF, "全員分を印刷" (Ctrl+Shift+P)
// prints them as one job on the default printer. Both are reached by key and
// by the context menu of a bare spot of the page or the left panel, so no
// control, caption or binding of the window changes. Box B of each letter
// holds the block a click on that customer would write; the boxes on screen
// are only read. "1件ずつPDFに保存…" writes one PDF per customer into a
// folder. Before each run, the merge dialog lets the user choose the
// customers and look at their letters.

#include "shell/tform1.h"

#include "platform/clock.h"
#include "platform/errorreport.h"
#include "print/folderchooser.h"
#include "print/letterrun.h"
#include "print/mergechoicedialog.h"
#include "print/savefilechooser.h"
#include "shell/windowtexts.h"

#include <QAction>
#include <QFileInfo>
#include <QScopedValueRollback>

void TForm1::setUpMergedLetters()
{
    auto add = [this](const QString &caption, const QString &name, const QKeySequence &keys,
                      void (TForm1::*handler)()) {
        auto *action = new QAction(caption, this);
        action->setObjectName(name);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action); // wherever the focus is in the window
        m_pageMenuActions.append(action);
    };
    add(windowtexts::saveMergedPdfCaption(), QStringLiteral("actSaveMergedPdf"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), &TForm1::saveMergedPdf);
    add(windowtexts::printMergedCaption(), QStringLiteral("actPrintMerged"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), &TForm1::printMergedLetters);
    add(windowtexts::savePdfEachCaption(), QStringLiteral("actSavePdfEach"), QKeySequence(),
        &TForm1::savePdfEach);
}

std::optional<letteroutput::Customers> TForm1::mergeCustomers() const
{
    const int count = m_customers.mergeCount();
    if (count == 0) {
        errorreport::show(windowtexts::nothingToMergeText());
        return std::nullopt;
    }
    return letteroutput::Customers{*m_customers.table(), count, m_customers.layout()};
}

std::optional<letteroutput::Customers> TForm1::chooseMergeCustomers(const QString &caption)
{
    std::optional<letteroutput::Customers> customers = mergeCustomers();
    if (!customers)
        return std::nullopt;
    const std::optional<QList<int>> rows = MergeChoiceDialog::choose(
        this, {m_document.letter(), customers->table, customers->count, customers->layout},
        caption);
    if (!rows)
        return std::nullopt;
    customers->rows = *rows;
    return customers;
}

std::optional<letteroutput::Outcome> TForm1::runLetters(
    int count, const std::function<letteroutput::Outcome(const letteroutput::Progress &)> &output)
{
    const QScopedValueRollback running(m_runningLetters, true);
    LetterRun run(this, count);
    std::optional<letteroutput::Outcome> outcome;
    run.run(
        [&](const std::function<bool()> &keepGoing, const std::function<void(qsizetype)> &reached) {
            outcome = output({keepGoing, reached});
        });
    if (run.cancelled())
        return std::nullopt;
    return outcome;
}

void TForm1::saveMergedPdf()
{
    const std::optional<letteroutput::Customers> customers =
        chooseMergeCustomers(windowtexts::saveMergedPdfCaption());
    if (!customers)
        return;
    const QString path = savefilechooser::choose(this, windowtexts::saveMergedPdfCaption(),
                                                 documentname::proposedPdfPath(Clock::now()),
                                                 QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return; // cancelled

    const std::optional<letteroutput::Outcome> outcome = runLetters(
        static_cast<int>(letteroutput::sentRows(*customers).size()),
        [&](const letteroutput::Progress &progress) {
            return letteroutput::saveMergedPdf(m_document.letter(), *customers, path, progress);
        });
    if (outcome)
        reportOutcome(*outcome, [&path](const QString &why) {
            return documentname::pdfNotSavedText(path, why);
        });
}

void TForm1::printMergedLetters()
{
    const std::optional<letteroutput::Customers> customers =
        chooseMergeCustomers(windowtexts::printMergedCaption());
    if (!customers)
        return;
    const std::optional<letteroutput::Outcome> outcome = runLetters(
        static_cast<int>(letteroutput::sentRows(*customers).size()),
        [&](const letteroutput::Progress &progress) {
            return letteroutput::printMerged(m_document.letter(), *customers, m_jobNames, progress);
        });
    if (outcome)
        reportOutcome(*outcome);
}

void TForm1::savePdfEach()
{
    const std::optional<letteroutput::Customers> customers =
        chooseMergeCustomers(windowtexts::savePdfEachCaption());
    if (!customers)
        return;
    const QString folder =
        folderchooser::choose(this, windowtexts::savePdfEachCaption(),
                              QFileInfo(documentname::proposedPdfPath(Clock::now())).path());
    if (folder.isEmpty())
        return; // cancelled

    const std::optional<letteroutput::Outcome> outcome = runLetters(
        static_cast<int>(letteroutput::sentRows(*customers).size()),
        [&](const letteroutput::Progress &progress) {
            return letteroutput::savePdfEach(m_document.letter(), *customers, folder, progress);
        });
    if (outcome)
        reportOutcome(*outcome, [&folder](const QString &why) {
            return documentname::pdfNotSavedText(folder, why);
        });
}
