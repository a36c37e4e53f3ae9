// SPDX-License-Identifier: GPL-3.0-or-later
// The handlers that belong to the window as a whole: close and minimise
// buttons, the cursor reset, stray keys, centring on resize, shutdown.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "letter/recoverystore.h"
#include "platform/errorreport.h"
#include "shell/panel.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QProgressDialog>
#include <QTimer>

#include <cstdio>

void TForm1::spb3Click()
{
    close();
}

void TForm1::spb4Click()
{
    showMinimized();
}

void TForm1::Pnl0MouseMove()
{
    setScreenCursor(Qt::ArrowCursor);
}

void TForm1::setScreenCursor(Qt::CursorShape shape)
{
    // One application-wide cursor over every control; the override stack
    // is kept at depth one.
    if (shape == Qt::ArrowCursor) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        return;
    }
    if (QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(QCursor(shape));
    else
        QGuiApplication::setOverrideCursor(QCursor(shape));
}

void TForm1::FormKeyPress(QKeyEvent *event)
{
    // Characters typed while no control has the focus are discarded.
    event->accept();
}

void TForm1::FormResize()
{
    m_document.centreFrames();
}

bool TForm1::FormCloseQuery()
{
    // The window position and every box's font and frame, in one replace.
    const Result<void> saved = m_document.letter().saveLayout();
    if (!saved)
        errorreport::show(saved.error());
    return saved.ok();
}

bool TForm1::FormClose()
{
    const Result<void> saved = m_document.letter().saveTexts();
    if (!saved)
        errorreport::show(saved.error());
    return saved.ok();
}

void TForm1::sessionEnding()
{
    // Log-off or shut-down: the layout is written as the close query does,
    // and the letter typed since the start is saved too, by the same rules
    // as a close.
    runClose();
}

bool TForm1::runClose()
{
    if (!FormCloseQuery() || !FormClose())
        return false;
    keepNamedLetter();
    // The files hold the letter now; a copy kept before would only be
    // applied over them at the next start.
    if (m_recoveryTimer)
        m_recoveryTimer->stop();
    if (m_recovery)
        m_recovery->discard();
    m_keptCopy.clear();
    return true;
}

namespace {
// Ends what a modal dialog, menu or progress holds open, so that the handler
// that opened it returns instead of waiting for a user who is gone.
void dismissOpenDialogs()
{
    while (QWidget *popup = QApplication::activePopupWidget()) {
        if (!popup->close())
            break;
    }
    for (QWidget *window : QApplication::topLevelWidgets()) {
        // A run's progress is stopped even before it shows.
        if (auto *progress = qobject_cast<QProgressDialog *>(window))
            progress->cancel();
        else if (auto *dialog = qobject_cast<QDialog *>(window); dialog && dialog->isVisible())
            dialog->reject();
    }
}
} // namespace

int TForm1::closeForSignal()
{
    errorreport::setInstance(
        [](const QString &text) { std::fprintf(stderr, "tavrint: %s\n", qUtf8Printable(text)); });
    // A modal box may be open: the close runs all the same, on what the
    // boxes hold now.
    const int exitCode = runClose() ? 0 : 1;
    dismissOpenDialogs();
    // Every running event loop ends, and one started by a handler that is
    // still unwinding returns at once.
    QCoreApplication::exit(exitCode);
    return exitCode;
}
