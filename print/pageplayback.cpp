// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/pageplayback.h"

#include "print/renderpage.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace pageplayback {

bool playPages(QPainter &painter, QPagedPaintDevice &device, const QList<RenderPage> &pages,
               const QRect &destination, const std::function<bool()> &keepGoing)
{
    return playPages(
        painter, device, pages.size(), [&pages](qsizetype i) { return pages.at(i); }, destination,
        keepGoing);
}

bool playPages(QPainter &painter, QPagedPaintDevice &device, qsizetype count,
               const PageSource &source, const QRect &destination,
               const std::function<bool()> &keepGoing)
{
    for (qsizetype i = 0; i < count; ++i) {
        // A page with no text runs would never ask; a long run of them must
        // still be stoppable between sheets.
        if (keepGoing && !keepGoing())
            return false;
        // The painter opened the first sheet; every later page starts one.
        if (i > 0 && !device.newPage())
            return false;
        if (!source(i).play(painter, destination, keepGoing))
            return false;
    }
    return true;
}

} // namespace pageplayback
