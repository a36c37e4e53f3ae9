// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include "platform/result.h"
#include "print/pageplayback.h"

class RenderPage;

// The letter as a PDF made by the program itself: A4 portrait sheets with no
// margins, each render page played onto the whole sheet (the printable area
// of a PDF is all of it), fonts embedded so the text can be searched and
// copied. Needs no display, only a QGuiApplication for the fonts.
namespace pdfdocument {

// Device pixels per inch of the PDF's drawing surface.
constexpr int kResolution = 1200;

// The whole A4 sheet in the PDF's device pixels, as the inclusive frame the
// render page is played into.
QRect sheetFrame();

// The PDF document, one page per render page; `title` goes into its
// document information. Empty when the PDF writer failed.
QByteArray render(const QList<RenderPage> &pages, const QString &title);

// Renders and writes the document to `path` atomically: an existing file is
// replaced only by a complete PDF. The error is the system's reason
// ("Permission denied"); the caller names the file.
Result<void> write(const QString &path, const QList<RenderPage> &pages, const QString &title);

// The document of `count` pages made one at a time by `source` (a letter for
// every customer). `keepGoing` is asked before every page and text run;
// when it says stop, the result is empty and nothing is written.
// `frame` is where on the sheet each page is played: the whole sheet, or a
// printer's printable area for a job that goes to it as a PDF.
QByteArray render(qsizetype count, const pageplayback::PageSource &source, const QString &title,
                  const std::function<bool()> &keepGoing = {}, const QRect &frame = sheetFrame());
// Each page followed by every page of `attachments` (see pdffiles::join).
Result<void> write(const QString &path, qsizetype count, const pageplayback::PageSource &source,
                   const QString &title, const std::function<bool()> &keepGoing = {},
                   const QStringList &attachments = {});

} // namespace pdfdocument
