// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;
class QRect;

// One box as the print sees it, in screen pixels.
struct RenderBox
{
    QPoint origin;  // memo client corner, relative to the page's client corner
    QFont font;     // all attributes are carried over; the size comes from `height`
    int height = 0; // Windows-style font height: negative = character height
    QColor colour = Qt::black;
    QStringList lines; // display lines, as the memo shows them

    // The memo's font as it is set on screen: pixel size |h| is the character
    // height, so h = -pixelSize.
    static RenderBox fromFont(QPoint origin, const QFont &font, const QStringList &lines,
                              const QColor &colour = Qt::black);
};

// One text run on the render page, in render units.
struct RenderRun
{
    QFont font;      // the box font; its size is not used, `height` is
    int height = 0;  // scaled Windows-style height; negative = character height
    QPoint position; // top-left corner of the text cell
    QString text;
    QColor colour = Qt::black;
};

// The printed page as a small vector picture: A4 at 800 units per inch,
// holding text runs only. Built from the boxes' on-screen state, then played
// with each axis scaled on its own onto whatever device prints it.
class RenderPage
{
public:
    static constexpr int kWidth = 6614;  // 210 mm at 800 per inch
    static constexpr int kHeight = 9354; // 297 mm

    // Boxes in index order; `digit` is the line spacing digit (0..9) adding
    // 10 units per step between consecutive lines of a box.
    static RenderPage build(int pageWidth, int pageHeight, const QList<RenderBox> &boxes,
                            int digit);

    const QList<RenderRun> &runs() const { return m_runs; }

    // Draws the runs onto `destination`, the inclusive frame from the
    // destination's top-left to its bottom-right pixel: QRect(QPoint(left,
    // top), QPoint(right - 1, bottom - 1)) for a frame given as left, top,
    // right, bottom. Its width() = right - left device pixels carries the
    // picture's 6614 units, so x scales by width() / 6614 and unit 0 lands on
    // left, unit 6614 on right (the first pixel past the frame); likewise y by
    // height() / 9354. Glyphs keep their proportions: the font follows the
    // y scale only. `keepGoing` is asked before every run; returning false
    // stops the playback, and play() then returns false.
    bool play(QPainter &painter, const QRect &destination,
              const std::function<bool()> &keepGoing = {}) const;

    // Em size in render units of a run's font with Windows-style height
    // `height` (negative = character height, positive = cell height).
    static double emSize(const QFont &font, int height);

private:
    QList<RenderRun> m_runs;
};
