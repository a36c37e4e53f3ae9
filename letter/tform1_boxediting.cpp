// Selecting, moving and resizing letter boxes with the mouse.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "letter/fontdialog.h"
#include "letter/framezone.h"
#include "platform/screenmetrics.h"
#include "shell/panel.h"

#include <QLabel>
#include <QMouseEvent>

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
                       framePageRect(box), event->globalPosition().toPoint()};
}

void TForm1::frameDragTo(const QPoint &globalPos)
{
    if (!m_drag)
        return;
    setFramePageRect(m_drag->box,
                     framezone::dragged(m_drag->zone, m_drag->start, m_drag->pressedAt, globalPos));
}

void TForm1::finishFrameDrag()
{
    if (!m_drag)
        return;
    const int box = m_drag->box;
    m_drag.reset();

    // The minimum height follows the screen as it is now.
    const int minimumHeight = PageGeometry::minimumBoxHeightFor(ScreenMetrics::current().height,
                                                               frames[0]->borderWidth());
    setFramePageRect(box, framezone::limited(framePageRect(box), minimumHeight));
    FormResize();
    currentBox = box;
    Label1->setText(boxtable::fieldName(box));
    spbAClick();
}

void TForm1::Memo1Enter(BoxMemo *sender)
{
    const int box = boxtable::indexFromMemoName(sender->objectName());
    if (box < 0)
        return;
    frames[box]->raise();
    currentBox = box;
    FontDialog1->setChosenFont(sender->font());
    Label1->setText(boxtable::fieldName(box));
}
