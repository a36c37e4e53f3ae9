// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/panel.h"

#include <QPainter>

Panel::Panel(QWidget *parent, const QString &objectName, const QColor &colour, Edge edge,
             const QString &caption)
    : QFrame(parent), m_caption(caption), m_colour(colour), m_edge(edge)
{
    setObjectName(objectName);
    setFrameShape(QFrame::NoFrame);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Panel::setColour(const QColor &colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

void Panel::setOverflowMark(bool on)
{
    if (on == m_overflowMark)
        return;
    m_overflowMark = on;
    update();
}

void Panel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), m_colour);
    switch (m_edge) {
    case Edge::None:
        break;
    case Edge::FlatLine:
        p.setPen(QColor(0, 0, 0));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        break;
    case Edge::LoweredBevel:
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(0, 0, width() - 1, 0);
        p.drawLine(0, 0, 0, height() - 1);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(1, height() - 1, width() - 1, height() - 1);
        p.drawLine(width() - 1, 1, width() - 1, height() - 1);
        break;
    }
    if (m_overflowMark) {
        // A red bar on the middle of the bottom rim, as high as the rim and
        // wide enough to catch the eye on any frame colour and in the preview.
        const int rim = qMax(3, m_borderWidth);
        const int wide = qMin(width(), qMax(24, width() / 3));
        p.fillRect(QRect((width() - wide) / 2, height() - rim, wide, rim), QColor(230, 0, 0));
    }
}
