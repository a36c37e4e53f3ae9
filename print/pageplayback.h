#pragma once

#include <QList>
#include <QRect>

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

} // namespace pageplayback
