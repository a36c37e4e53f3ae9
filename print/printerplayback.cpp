// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/printerplayback.h"

#include "platform/pdffiles.h"
#include "print/cupsjob.h"
#include "print/documentname.h"
#include "print/pageplayback.h"
#include "print/pdfdocument.h"
#include "print/renderpage.h"

#include <QDateTime>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace printerplayback {

namespace {

// Qt's CUPS engine takes extra job options under this key (a stable private
// key that Qt's own print dialog uses).
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Throws away a job that has been written but not yet handed to the
// spooler. Qt's PDF-based engines cannot abort (QPrinter::abort() returns
// false) and would submit the job when the painter ends; the job is then
// sent with a copy count the scheduler refuses, so it never enters the
// queue.
void discardJob(QPrinter &printer, QPainter &painter)
{
    if (printer.abort()) {
        painter.end();
        return;
    }
    if (QPrintEngine *engine = printer.printEngine()) {
        QStringList options = engine->property(kCupsOptions).toStringList();
        options << QStringLiteral("copies") << QStringLiteral("0");
        engine->setProperty(kCupsOptions, options);
    }
    painter.end();
}

} // namespace

QString noDefaultPrinterText()
{
    return QStringLiteral("デフォルト プリンタが存在しません");
}

QString invalidPrinterText()
{
    return QStringLiteral("選択したプリンタは有効ではありません");
}

QString abortedText()
{
    return QStringLiteral("印刷は中止されました");
}

Result<void> hasDefaultPrinter()
{
    if (QPrinterInfo::defaultPrinter().printerName().isEmpty())
        return fail(noDefaultPrinterText());
    return {};
}

PrintableArea printableArea(const QPrinter &printer)
{
    // pageRect(DevicePixel) is the area inside the page layout's margins and
    // paperRect(DevicePixel) the whole sheet (its top-left is 0, 0). With the
    // margins set to the printer's own minimum (usePrintableArea), that is
    // the printable area the printer reports; the painter's origin is its
    // top-left (fullPage off), as on a Windows printer DC.
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect printable = printer.pageRect(QPrinter::DevicePixel).toRect();
    PrintableArea area;
    area.horzRes = printable.width();
    area.vertRes = printable.height();
    area.offsetX = printable.left() - paper.left();
    area.offsetY = printable.top() - paper.top();
    return area;
}

void usePrintableArea(QPrinter &printer)
{
    // Qt keeps margins of its own (10 pt on every side) unless told
    // otherwise; the printer's driver (the PPD's ImageableArea) gives the
    // minimum margins, and those are what the paper really leaves blank.
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
}

QRect destinationFrame(const PrintableArea &area)
{
    const int left = area.offsetX;
    const int top = area.offsetY;
    const int right = area.offsetX + area.horzRes;
    const int bottom = area.offsetY + area.vertRes;
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

Result<QString> printRenderPage(const RenderPage &page, const QString &jobName,
                                const printercalibration::Table &calibrations)
{
    return printRenderPages(
        1, [&page](qsizetype) { return page; }, jobName, {}, calibrations);
}

namespace {

// The default printer set up as every job of the program wants it: A4
// portrait, the printer's own printable area, one named copy.
struct Job
{
    QPrinterInfo info;
    std::unique_ptr<QPrinter> printer;
    QRect destination;
};

Result<Job> openJob(const QString &jobName)
{
    Job job;
    job.info = QPrinterInfo::defaultPrinter();
    if (job.info.printerName().isEmpty())
        return fail(noDefaultPrinterText());

    job.printer = std::make_unique<QPrinter>(job.info, QPrinter::HighResolution);
    QPrinter &printer = *job.printer;
    if (!printer.isValid() || printer.outputFormat() != QPrinter::NativeFormat)
        return fail(invalidPrinterText());
    printer.setFullPage(false);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    usePrintableArea(printer);
    // A named job shows in the queue, and a PDF queue writes each one to a
    // file of its own instead of overwriting the last letter.
    printer.setDocName(jobName);
    printer.setCopyCount(1);

    job.destination = destinationFrame(printableArea(printer));
    if (job.destination.isEmpty())
        return fail(invalidPrinterText());
    return job;
}

// Plays `play` onto the job's printer and hands the job to the spooler.
Result<QString> runJob(Job &job, const std::function<bool(QPainter &, QPrinter &)> &play)
{
    QPrinter &printer = *job.printer;
    QPainter painter;
    if (!painter.begin(&printer))
        return fail(invalidPrinterText());

    // Whatever ends the playback early, an exception included, the job is
    // discarded rather than sent half drawn.
    struct DiscardUnlessSent
    {
        QPrinter &printer;
        QPainter &painter;
        ~DiscardUnlessSent()
        {
            if (painter.isActive())
                discardJob(printer, painter);
        }
    } guard{printer, painter};

    if (!play(painter, printer))
        return fail(abortedText());
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return fail(QStringLiteral("印刷ジョブを終了できませんでした"));
    return job.info.printerName();
}

QRect calibrated(const Job &job, const printercalibration::Calibration &calibration)
{
    // No calibration, not even a zero one, touches the frame: the page is
    // then exactly the one printed before calibrations existed.
    if (calibration.isNone())
        return job.destination;
    return printercalibration::apply(job.destination, calibration, job.printer->logicalDpiX(),
                                     job.printer->logicalDpiY());
}

} // namespace

Result<QString> printRenderPages(qsizetype count, const pageplayback::PageSource &source,
                                 const QString &jobName, const std::function<bool()> &keepGoing,
                                 const printercalibration::Table &calibrations)
{
    Result<Job> job = openJob(jobName);
    if (!job)
        return job.failure();
    const QRect destination = calibrated(*job, calibrations.value(job->info.printerName(), {}));
    return runJob(job.value(), [&](QPainter &painter, QPrinter &printer) {
        return pageplayback::playPages(painter, printer, count, source, destination, keepGoing);
    });
}

Result<QString> printDrawing(const Drawing &draw, const QString &jobName,
                             const printercalibration::Calibration &calibration)
{
    Result<Job> job = openJob(jobName);
    if (!job)
        return job.failure();
    const QRect destination = calibrated(*job, calibration);
    return runJob(job.value(),
                  [&](QPainter &painter, QPrinter &) { return draw(painter, destination); });
}

QString defaultQueue()
{
    return QPrinterInfo::defaultPrinter().printerName();
}

std::optional<QRectF> defaultFrameOnPaper()
{
    Result<Job> job = openJob(QString());
    if (!job)
        return std::nullopt;
    // The painter's origin is the printable area's top-left, which lies the
    // physical offsets into the sheet.
    const PrintableArea area = printableArea(*job->printer);
    const double mmX = 25.4 / job->printer->logicalDpiX();
    const double mmY = 25.4 / job->printer->logicalDpiY();
    const QRect &frame = job->destination;
    return QRectF((area.offsetX + frame.left()) * mmX, (area.offsetY + frame.top()) * mmY,
                  frame.width() * mmX, frame.height() * mmY);
}

Result<QString> printWithAttachments(qsizetype count, const pageplayback::PageSource &source,
                                     const QString &jobName, const QStringList &attachments,
                                     const std::function<bool()> &keepGoing,
                                     const printercalibration::Table &calibrations)
{
    if (attachments.isEmpty())
        return printRenderPages(count, source, jobName, keepGoing, calibrations);
    Result<Job> job = openJob(jobName);
    if (!job)
        return job.failure();
    // The cover lands where a print of its own would put it, calibration
    // included: that frame, taken from the printer's pixels to the PDF's.
    const QRect area = calibrated(*job, calibrations.value(job->info.printerName(), {}));
    const int resolution = job->printer->resolution();
    if (resolution <= 0)
        return fail(invalidPrinterText());
    const double scale = double(pdfdocument::kResolution) / resolution;
    const QRect frame(QPoint(qRound(area.left() * scale), qRound(area.top() * scale)),
                      QPoint(qRound(area.right() * scale), qRound(area.bottom() * scale)));
    const QByteArray covers = pdfdocument::render(count, source, jobName, keepGoing, frame);
    if (covers.isEmpty())
        return fail(abortedText());
    const Result<QByteArray> joined = pdffiles::join(covers, attachments);
    if (!joined)
        return joined.failure();
    // The PDF's sheet is the paper: nothing is to be scaled again.
    const Result<int> submitted =
        cupsjob::submit(job->info.printerName(), *joined, jobName,
                        {{QStringLiteral("print-scaling"), QStringLiteral("none")}});
    if (!submitted)
        return submitted.failure();
    return job->info.printerName();
}

} // namespace printerplayback
