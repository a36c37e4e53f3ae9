#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include "print/pageplayback.h"

#include <functional>

class QDateTime;

class QPrinter;
class RenderPage;

// Printing the render page on the system's default printer: no dialog, one
// A4 portrait page, the printer's own defaults otherwise.
namespace printerplayback {

// "デフォルト プリンタが存在しません"
QString noDefaultPrinterText();
// "選択したプリンタは有効ではありません"
QString invalidPrinterText();
// "現在印刷中です"
QString printingText();
// The job was stopped while it was being written (and discarded).
QString abortedText();

// Whether a default printer exists (start-up sets its orientation to
// portrait, which fails the same way when there is none).
bool hasDefaultPrinter(QString *errorText);

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

// Prints `page` as a one-page job on the default printer, named for the
// moment it starts (see documentname::JobNamer). On failure returns false
// with the text to report; a job whose playback failed is discarded.
// `queueName`, when given, gets the printer's queue the job went to.
bool printRenderPage(const RenderPage &page, QString *errorText, QString *queueName = nullptr);

// Prints the pages as one job named `jobName`, a sheet per render page.
bool printRenderPages(const QList<RenderPage> &pages, const QString &jobName, QString *errorText);

// The same for `count` pages made one at a time by `source`.
bool printRenderPages(qsizetype count, const pageplayback::PageSource &source,
                      const QString &jobName, QString *errorText, QString *queueName = nullptr);

// The name of the next job started at `at`: every job of this run gets a
// name of its own (see documentname::JobNamer), a letter and a run of
// letters alike.
QString nextJobName(const QDateTime &at);

// Called before every text run while the job is written, as the printing
// system's abort callback was: the default one processes pending events, so
// the window stays responsive during a long print. Returning false aborts
// the job. Returns the previous callback; an empty one restores the default.
using SpoolCallback = std::function<bool()>;
SpoolCallback setSpoolCallback(SpoolCallback callback);

} // namespace printerplayback
