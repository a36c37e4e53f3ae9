// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>

// Where a point lies on a frame decides what a press does there: move the
// frame, or size it by its right edge, bottom edge or bottom-right corner.
// The edge zones are 12 pixels deep, and the boundary belongs to the edge.
enum class FrameZone { Interior, RightEdge, BottomEdge, Corner };

namespace framezone {

constexpr int kMargin = 12;

constexpr FrameZone at(int x, int y, int width, int height)
{
    const bool right = x >= width - kMargin;
    const bool bottom = y >= height - kMargin;
    if (right && bottom)
        return FrameZone::Corner;
    if (right)
        return FrameZone::RightEdge;
    if (bottom)
        return FrameZone::BottomEdge;
    return FrameZone::Interior;
}

// The frame's rectangle while the mouse, pressed at `pressedAt`, is at `now`
// (both in the same coordinates); sizes never drop below one pixel while
// dragging; the limits are applied after the release.
QRect dragged(FrameZone zone, const QRect &start, const QPoint &pressedAt, const QPoint &now);

// The limits applied after each drag: left >= -6, top >= -3,
// height >= the minimum box height, width >= 38. No limit right or below.
QRect limited(const QRect &rect, int minimumBoxHeight);

} // namespace framezone
