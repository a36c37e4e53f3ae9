// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>

class QPainter;

// The sheet the user measures to calibrate a printer: millimetre rulers
// along the top and left edges of the page and two crosses, each labelled
// with where it should lie, measured from the paper's top-left corner. It is
// drawn into the same destination frame as a letter, so it shows what the
// letter's placement does on that printer.
namespace calibrationpage {

// The crosses on the page, in millimetres of the page (210 x 297) from its
// top-left corner; B lies on A's line, far from it, so that a scale shows.
inline constexpr QPointF kCrossA{30.0, 40.0};
inline constexpr QPointF kCrossB{180.0, 40.0};

// Where a point `onPage` (millimetres of the page) should land on the
// paper, when the page's frame lies at `frameOnPaper` (millimetres).
QPointF onPaper(const QRectF &frameOnPaper, QPointF onPage);

// Draws the sheet into `frame` (device pixels, as a letter's frame), the
// labels saying where the crosses belong for a frame at `frameOnPaper`;
// `queue` names the printer on the sheet.
void draw(QPainter &painter, const QRect &frame, const QRectF &frameOnPaper, const QString &queue);

} // namespace calibrationpage
