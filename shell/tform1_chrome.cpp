// The handlers that belong to the window as a whole: close and minimise
// buttons, the cursor reset, stray keys, centring on resize, shutdown.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "letter/centring.h"
#include "shell/panel.h"

#include <QGuiApplication>
#include <QKeyEvent>

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
    for (int box : centring::kCentredBoxes) {
        QRect r = framePageRect(box);
        r.moveLeft(centring::centredLeft(page.pageWidth, r.width()));
        setFramePageRect(box, r);
    }
}

bool TForm1::FormCloseQuery()
{
    if (!WriteWindowPos())
        return false;
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        if (!WriteBoxLayout(box))
            return false;
    }
    return commitSettings();
}

bool TForm1::FormClose()
{
    return SaveBoxTexts();
}

void TForm1::sessionEnding()
{
    // Log-off or shut-down: the layout is written as the close query does,
    // and the letter typed since the start is saved too, by the same rules
    // as a close.
    if (FormCloseQuery())
        FormClose();
}
