// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include "platform/result.h"
#include "print/pageplayback.h"
#include "print/printercalibration.h"

#include <functional>
#include <optional>

class QPrinter;
class RenderPage;

// Printing the render page on the system's default printer: no dialog, one
// A4 portrait page, the printer's own defaults otherwise.
namespace printerplayback {

// "デフォルト プリンタが存在しません"
QString noDefaultPrinterText();
// "選択したプリンタは有効ではありません"
QString invalidPrinterText();
// The job was stopped while it was being written (and discarded).
QString abortedText();

// Whether a default printer exists (start-up sets its orientation to
// portrait, which fails the same way when there is none).
Result<void> hasDefaultPrinter();

// The printable area as GetDeviceCaps reports it, in device pixels:
// HORZRES/VERTRES its size, PHYSICALOFFSETX/Y its distance from the
// physical page's top-left corner.
struct PrintableArea
{
    int horzRes = 0;
    int vertRes = 0;
    int offsetX = 0;
    int offsetY = 0;
};
PrintableArea printableArea(const QPrinter &printer);

// Sets the printer's page margins to the least the printer allows, so that
// the page rectangle is the printer's own printable area.
void usePrintableArea(QPrinter &printer);

// Where the page is played, in the printer's drawing coordinates (origin at
// the printable area's top-left): left = offsetX, top = offsetY, right =
// offsetX + horzRes, bottom = offsetY + vertRes, handed over as the
// inclusive frame (left, top)..(right - 1, bottom - 1).
QRect destinationFrame(const PrintableArea &area);

// Prints `page` as a one-page job named `jobName` on the default printer;
// the printer's queue the job went to, or the text to report (a job whose
// playback failed is discarded). Nothing else runs meanwhile: no event is
// handled while a job is written.
// A queue with an entry in `calibrations` gets its shift and scale on top
// of the destination frame; any other queue prints as it always has.
Result<QString> printRenderPage(const RenderPage &page, const QString &jobName,
                                const printercalibration::Table &calibrations = {});

// The same for `count` pages made one at a time by `source`, a sheet each.
// `keepGoing` is asked before every text run; when it says stop, the job is
// discarded. It may run on a thread of its own (see letterrun.h).
Result<QString> printRenderPages(qsizetype count, const pageplayback::PageSource &source,
                                 const QString &jobName,
                                 const std::function<bool()> &keepGoing = {},
                                 const printercalibration::Table &calibrations = {});

// A one-page job of whatever `draw` paints into the destination frame (the
// calibration page), with `calibration` on top of the frame. `draw` returns
// false when it failed; the job is then discarded.
using Drawing = std::function<bool(QPainter &painter, const QRect &frame)>;
Result<QString> printDrawing(const Drawing &draw, const QString &jobName,
                             const printercalibration::Calibration &calibration);

// The default printer's queue name; empty when there is none.
QString defaultQueue();
// Where the destination frame of the default printer lies on the paper, in
// millimetres from the sheet's top-left corner (see destinationFrame).
std::optional<QRectF> defaultFrameOnPaper();

// The same with every page of `attachments` after each page, as they are:
// the pages are placed on the printer's printable area as above, and go to
// the default printer's queue as one PDF job with the documents behind them.
Result<QString> printWithAttachments(qsizetype count, const pageplayback::PageSource &source,
                                     const QString &jobName, const QStringList &attachments,
                                     const std::function<bool()> &keepGoing = {},
                                     const printercalibration::Table &calibrations = {});

} // namespace printerplayback
