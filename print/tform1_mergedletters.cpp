// SPDX-License-Identifier: GPL-3.0-or-later
// One letter for every customer of the list: "全員分をPDFに保存…"
// (Ctrl+Shift+E) writes them into one PDF, "全員分を印刷" (Ctrl+Shift+P)
// prints them as one job on the default printer. Both are reached by key and
// by the context menu of a bare spot of the page or the left panel, so no
// control, caption or binding of the window changes. Box B of each letter
// holds the block a click on that customer would write; the boxes on screen
// are only read.

#include "shell/tform1.h"

#include "customers/customersource.h"
#include "customers/tflist.h"
#include "platform/errorreport.h"
#include "print/documentname.h"
#include "print/letterpage.h"
#include "print/letterrun.h"
#include "print/mergedletters.h"
#include "print/pdfdocument.h"
#include "print/printerplayback.h"
#include "print/savefilechooser.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QStringListModel>

#include <algorithm>

QString TForm1::saveMergedPdfCaption()
{
    return QStringLiteral("全員分をPDFに保存…");
}

QString TForm1::printMergedCaption()
{
    return QStringLiteral("全員分を印刷");
}

QString TForm1::nothingToMergeText()
{
    return QStringLiteral("差し込む宛先がありません。「TXTから取得」か「XLSから取得」で"
                          "顧客の一覧を読み込んでください");
}

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
    add(saveMergedPdfCaption(), QStringLiteral("actSaveMergedPdf"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), &TForm1::saveMergedPdf);
    add(printMergedCaption(), QStringLiteral("actPrintMerged"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), &TForm1::printMergedLetters);
}

int TForm1::mergeCount() const
{
    const StoredMode mode = m_letter.storedMode();
    if (!m_list || (mode != StoredMode::TextList && mode != StoredMode::WorkbookList))
        return 0;
    // Entry k of the list belongs to row k of the table; after a read that
    // failed part-way the list may hold fewer entries than the count says.
    return std::max(0, std::min(static_cast<int>(ListBox1Items->rowCount()), m_customerCount));
}

addressblock::Layout TForm1::listLayout() const
{
    // The same choice of block a click in the list makes.
    return customersource::layoutOf(m_letter.storedMode() == StoredMode::TextList
                                        ? customersource::Source::TextList
                                        : customersource::Source::WorkbookList);
}

MergedLetters TForm1::mergedLetters() const
{
    return letterpage::merged(m_letter, m_list->sg1, mergeCount(), listLayout());
}

void TForm1::saveMergedPdf()
{
    const int count = mergeCount();
    if (count == 0) {
        errorreport::show(nothingToMergeText());
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const QString path =
        savefilechooser::choose(this, saveMergedPdfCaption(), documentname::proposedPdfPath(now),
                                QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return; // cancelled

    const MergedLetters letters = mergedLetters();
    const QScopedValueRollback running(m_runningLetters, true);
    LetterRun run(this, count);
    Result<void> written = fail(QString());
    run.run(
        [&](const std::function<bool()> &keepGoing, const std::function<void(qsizetype)> &reached) {
            written = pdfdocument::write(
                path, letters.count(),
                [&](qsizetype index) {
                    reached(index);
                    return letters.page(index);
                },
                documentname::jobName(now), keepGoing);
        });
    if (!written) {
        if (!run.cancelled())
            errorreport::show(documentname::pdfNotSavedText(path, written.error()));
        return;
    }
    recordSent(letterpage::mergedHeadings(m_letter, m_list->sg1, count, listLayout()),
               QDateTime::currentDateTime(), sendlog::Method::Pdf,
               QFileInfo(path).absoluteFilePath());
}

void TForm1::printMergedLetters()
{
    const int count = mergeCount();
    if (count == 0) {
        errorreport::show(nothingToMergeText());
        return;
    }
    const MergedLetters letters = mergedLetters();
    const QString jobName = m_jobNames.next(QDateTime::currentDateTime());
    const QScopedValueRollback running(m_runningLetters, true);
    LetterRun run(this, count);
    Result<QString> printed = fail(QString());
    run.run(
        [&](const std::function<bool()> &keepGoing, const std::function<void(qsizetype)> &reached) {
            printed = printerplayback::printRenderPages(
                letters.count(),
                [&](qsizetype index) {
                    reached(index);
                    return letters.page(index);
                },
                jobName, keepGoing);
        });
    if (!printed) {
        if (!run.cancelled())
            errorreport::show(printed.error());
        return;
    }
    recordSent(letterpage::mergedHeadings(m_letter, m_list->sg1, count, listLayout()),
               QDateTime::currentDateTime(), sendlog::Method::Print, *printed);
}
