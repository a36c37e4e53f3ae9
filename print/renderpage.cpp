// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/renderpage.h"

#include "platform/rounding.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QRect>

#include <climits>
#include <cstdlib>

RenderBox RenderBox::fromFont(QPoint origin, const QFont &font, const QStringList &lines,
                              const QColor &colour)
{
    int px = font.pixelSize();
    if (px <= 0) // a point-sized font: what the screen made of it
        px = QFontInfo(font).pixelSize();
    return RenderBox{origin, font, -px, colour, lines};
}

RenderPage RenderPage::build(int pageWidth, int pageHeight, const QList<RenderBox> &boxes,
                             int digit)
{
    RenderPage page;
    if (pageWidth <= 0 || pageHeight <= 0)
        return page; // no page to scale from: nothing can be placed

    // The quotients are formed first, then multiplied, as the screen-to-page
    // factors are everywhere in the print.
    const double sx = 6614.0 / pageWidth;
    const double sy = 9354.0 / pageHeight;

    for (const RenderBox &box : boxes) {
        const qsizetype n = box.lines.size();
        if (n == 0)
            continue;
        const int x = rounding::halfEven(box.origin.x() * sx);
        const int y = rounding::halfEven(box.origin.y() * sy);
        const int h = rounding::halfEven(box.height * sy);
        // |H + 2|: H is normally negative, so the advance is |H| - 2.
        const qint64 advance = std::llabs(static_cast<qint64>(h) + 2);
        qint64 acc = 0;
        for (qsizetype k = 0; k < n; ++k) {
            const qint64 top = y + acc + qint64(10) * digit * k;
            acc += advance;
            if (top > INT_MAX || top < INT_MIN)
                break; // far below the sheet; the rest is further still
            if (box.lines.at(k).isEmpty())
                continue; // an empty line draws nothing but still advances
            page.m_runs.append(RenderRun{box.font, h, QPoint(x, static_cast<int>(top)),
                                         box.lines.at(k), box.colour});
        }
    }
    return page;
}

double RenderPage::emSize(const QFont &font, int height)
{
    if (height < 0)
        return -static_cast<double>(height);
    if (height == 0)
        return 1.0; // Windows would pick a default size; box fonts always carry one
    // A cell height: ascent + descent at the em size we are looking for.
    QFont probe(font);
    probe.setPixelSize(1000);
    const QFontMetricsF fm(probe);
    const double cell = fm.ascent() + fm.descent();
    return cell > 0 ? height * 1000.0 / cell : static_cast<double>(height);
}

bool RenderPage::play(QPainter &painter, const QRect &destination,
                      const std::function<bool()> &keepGoing) const
{
    // The inclusive frame holds width() pixels for the 6614 units (and
    // height() for the 9354): unit u starts at left + u * width() / 6614.
    const double sx = destination.width() / double(kWidth);
    const double sy = destination.height() / double(kHeight);
    if (sx <= 0 || sy <= 0)
        return true; // an empty frame shows nothing

    painter.save();
    painter.setClipping(false);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrush(Qt::NoBrush);
    // Work in units of the y scale on both axes, so glyphs are scaled by y
    // alone and keep their own proportions; x positions are mapped by
    // sx / sy to land at left + X * sx.
    painter.translate(destination.left(), destination.top());
    painter.scale(sy, sy);
    const double xFactor = sx / sy;

    bool completed = true;
    // The runs of one box follow each other with one font: it is set up
    // once for them.
    const RenderRun *previous = nullptr;
    double ascent = 0;
    for (const RenderRun &run : m_runs) {
        if (keepGoing && !keepGoing()) {
            completed = false;
            break;
        }
        if (run.text.isEmpty())
            continue;
        if (!previous || previous->font != run.font || previous->height != run.height) {
            QFont font(run.font);
            const double em = emSize(run.font, run.height);
            font.setPixelSize(qMax(1, rounding::halfEven(em)));
            // A Windows text cell with character height |H| is |H| plus the
            // internal leading high, and its top lies the font's ascent (which
            // includes that leading) above the baseline. QFontMetricsF::ascent()
            // at pixel size |H| is that distance (the IPA faces that stand in
            // for the Windows ones have hhea ascent = OS/2 winAscent).
            // drawText() wants the baseline, so the cell top is moved down by it.
            ascent = QFontMetricsF(font).ascent();
            painter.setFont(font);
        }
        previous = &run;
        painter.setPen(run.colour);
        painter.drawText(QPointF(run.position.x() * xFactor, run.position.y() + ascent), run.text);
    }
    painter.restore();
    return completed;
}
