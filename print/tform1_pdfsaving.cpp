// SPDX-License-Identifier: GPL-3.0-or-later
// "PDFに保存…": the letter as the print button would print it, written to a
// PDF file the user names. Reached by Ctrl+Shift+S and by the context menu
// of an empty spot on the left panel or the page, so no control, caption or
// binding of the window changes (the print button prints on the release of
// any mouse button, so it cannot carry a menu of its own).

#include "shell/tform1.h"

#include "platform/clock.h"
#include "print/documentname.h"
#include "print/savefilechooser.h"
#include "shell/panel.h"
#include "shell/windowtexts.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

void TForm1::setUpPdfSaving()
{
    auto *action = new QAction(windowtexts::savePdfCaption(), this);
    action->setObjectName(QStringLiteral("actSavePdf"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this] { savePdf(); });
    addAction(action); // the shortcut works wherever the focus is in the window
    m_pageMenuActions.prepend(action);

    for (Panel *panel : {Pnl1, Pnl0}) {
        panel->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(panel, &QWidget::customContextMenuRequested, this,
                [this, panel](const QPoint &pos) {
                    // Only the panel's own background: a right click on a
                    // control (the print button above all) or a frame that
                    // passed its menu request on gets none.
                    if (panel->childAt(pos))
                        return;
                    QMenu menu(this);
                    menu.addActions(m_pageMenuActions);
                    menu.exec(panel->mapToGlobal(pos));
                });
    }
}

void TForm1::savePdf()
{
    // The file goes exactly where the dialog says; the dialog has asked
    // before replacing an existing one.
    const QString path = savefilechooser::choose(this, windowtexts::savePdfCaption(),
                                                 documentname::proposedPdfPath(Clock::now()),
                                                 QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return; // cancelled
    reportOutcome(letteroutput::savePdf(m_document.letter(), path),
                  [&path](const QString &why) { return documentname::pdfNotSavedText(path, why); });
}
