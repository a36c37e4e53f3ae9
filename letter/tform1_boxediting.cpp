// SPDX-License-Identifier: GPL-3.0-or-later
// Selecting, moving and resizing letter boxes with the mouse.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "letter/fontdialog.h"
#include "letter/framezone.h"
#include "platform/screenmetrics.h"
#include "shell/panel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QShortcut>

namespace {
Qt::CursorShape cursorFor(FrameZone zone)
{
    switch (zone) {
    case FrameZone::Interior:
        return Qt::PointingHandCursor;
    case FrameZone::RightEdge:
        return Qt::SizeHorCursor;
    case FrameZone::BottomEdge:
        return Qt::SizeVerCursor;
    case FrameZone::Corner:
        return Qt::SizeFDiagCursor;
    }
    return Qt::ArrowCursor;
}

int boxOf(const Panel *frame)
{
    return boxtable::indexFromFrameName(frame->objectName());
}
} // namespace

void TForm1::PanelAMouseMove(Panel *sender, const QPoint &pos)
{
    setScreenCursor(cursorFor(framezone::at(pos.x(), pos.y(), sender->width(), sender->height())));
}

void TForm1::PanelAMouseDown(Panel *sender, QMouseEvent *event)
{
    // The press starts the move or size that the zone under the mouse
    // calls for; the frame follows the mouse until the button is released,
    // and finishFrameDrag then applies the limits.
    const int box = boxOf(sender);
    if (box < 0)
        return;
    const QPoint pos = event->position().toPoint();
    m_drag = FrameDrag{box, framezone::at(pos.x(), pos.y(), sender->width(), sender->height()),
                       m_document.letter().box(box).frame, event->globalPosition().toPoint()};
}

void TForm1::frameDragTo(const QPoint &globalPos)
{
    if (!m_drag)
        return;
    m_document.setFrame(
        m_drag->box, framezone::dragged(m_drag->zone, m_drag->start, m_drag->pressedAt, globalPos));
}

void TForm1::finishFrameDrag()
{
    if (!m_drag)
        return;
    const int box = m_drag->box;
    m_drag.reset();

    // The minimum height follows the screen as it is now; the limits
    // leave E, F and G centred, as a resize of the window does.
    m_document.finishFrame(
        box, PageGeometry::minimumBoxHeightFor(ScreenMetrics::current().height,
                                               m_document.letter().page().borderWidth));
    m_document.setCurrentBox(box);
    spbAClick();
}

void TForm1::Memo1Enter(BoxMemo *sender)
{
    const int box = boxtable::indexFromMemoName(sender->objectName());
    if (box < 0)
        return;
    frames[box]->raise();
    m_document.setCurrentBox(box);
    FontDialog1->setChosenFont(m_document.letter().faceFont(box));
}

void TForm1::bindBoxFocusShortcuts()
{
    // Ctrl+1 .. Ctrl+8 put the caret into box 1 .. 8; entering the box makes
    // it the current box as a click would. In preview the boxes take no
    // input, so the keys do nothing there.
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        auto *into = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + box)), this);
        connect(into, &QShortcut::activated, this,
                [this, box] { memos[box]->setFocus(Qt::ShortcutFocusReason); });
    }
}
