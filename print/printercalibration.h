// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include <QHash>
#include <QPointF>
#include <QRect>
#include <QString>

#include <optional>

// How far a printer's paper is off: each printer queue may have its own
// shift and scale, which every print on that queue gets on top of the
// printable-area placement, so that the letter lands on pre-printed
// letterhead. A queue with none prints exactly as it always has. PDFs the
// program writes itself never get one.
namespace printercalibration {

// The whole in tenths: millimetres for the shift, per cent for the scale.
struct Calibration
{
    int offsetX = 0;  // 0.1 mm, to the right
    int offsetY = 0;  // 0.1 mm, downwards
    int scale = 1000; // 0.1 %, about the picture's top-left corner

    bool isNone() const { return offsetX == 0 && offsetY == 0 && scale == 1000; }
    friend bool operator==(const Calibration &, const Calibration &) = default;
};

// What a calibration may be: a printer more than 5 cm or 10 % off is not
// off, it is set up wrongly, and a value beyond these is a typing error.
constexpr int kMaxOffset = 500;
constexpr int kMinScale = 900;
constexpr int kMaxScale = 1100;

// Why `calibration` cannot be used, or an empty text.
QString invalidReason(const Calibration &calibration);

// The calibrations by queue name.
using Table = QHash<QString, Calibration>;

// "Init/calibration.ini" under the program directory (which ends with "/").
QString filePath(const QString &programDir);

// The table in the program directory's file: empty when there is no file;
// an error naming the file and the line when it cannot be read or holds a
// line that is no calibration (the file is only written by the program, so
// such a line was edited by hand and the user must hear of it).
Result<Table> load(const QString &programDir);
// The table with `queue`'s entry set (removed when `calibration` is none),
// written atomically.
Result<void> save(const QString &programDir, const QString &queue, const Calibration &calibration);

// The file's text for a table and back, for load() and save().
QByteArray toBytes(const Table &table);
Result<Table> fromBytes(const QByteArray &bytes);

// The destination frame of the printable-area placement, shifted and
// scaled for a printer of `dpiX` x `dpiY` device pixels per inch: the scale
// keeps the frame's top-left corner, the shift moves it.
QRect apply(const QRect &frame, const Calibration &calibration, int dpiX, int dpiY);

// What the user measured on a calibration page printed without any
// calibration, against where the page meant to put it, all in millimetres
// from the paper's top-left corner: a cross, and the distance from it to a
// second cross on the same line. `frameCorner` is where the page meant its
// own top-left corner to be (the scale keeps that corner).
struct Measurement
{
    QPointF frameCorner;
    QPointF nominalCross;
    double nominalDistance = 0;
    QPointF measuredCross;
    double measuredDistance = 0;
};

// The calibration that brings the crosses where they belong: the scale
// undoes how much the printer shrinks or stretches, the shift what is left
// at the cross. Nothing for a distance that is no distance; the result may
// still be beyond what invalidReason() allows (a mismeasurement).
std::optional<Calibration> fromMeasurement(const Measurement &m);

} // namespace printercalibration
