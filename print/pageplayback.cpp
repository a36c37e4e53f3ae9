#include "print/pageplayback.h"

#include "print/renderpage.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace pageplayback {

bool playPages(QPainter &painter, QPagedPaintDevice &device, const QList<RenderPage> &pages,
               const QRect &destination, const std::function<bool()> &keepGoing)
{
    for (qsizetype i = 0; i < pages.size(); ++i) {
        // The painter opened the first sheet; every later page starts one.
        if (i > 0 && !device.newPage())
            return false;
        if (!pages.at(i).play(painter, destination, keepGoing))
            return false;
    }
    return true;
}

} // namespace pageplayback
