// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/pdfdocument.h"

#include "platform/atomicfile.h"
#include "platform/pdffiles.h"
#include "print/pageplayback.h"
#include "print/renderpage.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace pdfdocument {

namespace {
QPageLayout sheetLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Point, QMarginsF(0, 0, 0, 0));
}
} // namespace

QRect sheetFrame()
{
    // Offsets 0 and the whole sheet as the area: the same formula a printer
    // whose every point is printable gets.
    const QRect full = sheetLayout().fullRectPixels(kResolution);
    return QRect(0, 0, full.width(), full.height());
}

QByteArray render(const QList<RenderPage> &pages, const QString &title)
{
    return render(
        pages.size(), [&pages](qsizetype i) { return pages.at(i); }, title);
}

QByteArray render(qsizetype count, const pageplayback::PageSource &source, const QString &title,
                  const std::function<bool()> &keepGoing, const QRect &frame)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return QByteArray();
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kResolution);
        writer.setPageLayout(sheetLayout());
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Tavrint"));
        QPainter painter;
        if (!painter.begin(&writer))
            return QByteArray();
        const bool played =
            pageplayback::playPages(painter, writer, count, source, frame, keepGoing);
        if (!painter.end() || !played)
            return QByteArray();
    }
    buffer.close();
    return bytes;
}

Result<void> write(const QString &path, const QList<RenderPage> &pages, const QString &title)
{
    return write(
        path, pages.size(), [&pages](qsizetype i) { return pages.at(i); }, title);
}

Result<void> write(const QString &path, qsizetype count, const pageplayback::PageSource &source,
                   const QString &title, const std::function<bool()> &keepGoing,
                   const QStringList &attachments)
{
    if (path.isEmpty())
        return fail(QStringLiteral("No file name"));
    const QByteArray bytes = render(count, source, title, keepGoing);
    if (bytes.isEmpty())
        return fail(QStringLiteral("The PDF writer failed"));
    const Result<QByteArray> joined = pdffiles::join(bytes, attachments);
    if (!joined)
        return joined.failure();
    return atomicfile::write(path, *joined);
}

} // namespace pdfdocument
