// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/framezone.h"

#include <algorithm>

namespace framezone {

QRect dragged(FrameZone zone, const QRect &start, const QPoint &pressedAt, const QPoint &now)
{
    const QPoint d = now - pressedAt;
    QRect r = start;
    switch (zone) {
    case FrameZone::Interior:
        r.moveTo(start.topLeft() + d);
        break;
    case FrameZone::RightEdge:
        r.setWidth(std::max(1, start.width() + d.x()));
        break;
    case FrameZone::BottomEdge:
        r.setHeight(std::max(1, start.height() + d.y()));
        break;
    case FrameZone::Corner:
        r.setWidth(std::max(1, start.width() + d.x()));
        r.setHeight(std::max(1, start.height() + d.y()));
        break;
    }
    return r;
}

QRect limited(const QRect &rect, int minimumBoxHeight)
{
    QRect r = rect;
    if (r.left() < -6)
        r.moveLeft(-6);
    if (r.top() < -3)
        r.moveTop(-3);
    if (r.height() < minimumBoxHeight)
        r.setHeight(minimumBoxHeight);
    if (r.width() < 38)
        r.setWidth(38);
    return r;
}

} // namespace framezone
