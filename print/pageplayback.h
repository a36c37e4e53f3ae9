// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>
#include <QtGlobal>

#include <functional>

class QPagedPaintDevice;
class QPainter;
class RenderPage;

// Plays render pages onto a paged device (a printer or a PDF writer) whose
// painter is already open: one sheet per render page, each into the same
// destination frame (see RenderPage::play). A letter is one page; a run of
// letters is several, in one document.
namespace pageplayback {

// `keepGoing` is asked before every text run; returning false stops the
// playback and the result is false. Also false when the device cannot start
// a new sheet.
bool playPages(QPainter &painter, QPagedPaintDevice &device, const QList<RenderPage> &pages,
               const QRect &destination, const std::function<bool()> &keepGoing = {});

// Makes page `index` (0 .. count - 1) when it is its turn to be played, so
// that a run of a thousand letters never holds more than one in memory.
using PageSource = std::function<RenderPage(qsizetype index)>;

// The same for `count` pages made by `source` one after the other.
bool playPages(QPainter &painter, QPagedPaintDevice &device, qsizetype count,
               const PageSource &source, const QRect &destination,
               const std::function<bool()> &keepGoing = {});

} // namespace pageplayback
