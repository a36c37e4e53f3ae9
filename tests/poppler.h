// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What poppler's tools read in a PDF the program wrote: as a viewer or a
// printer would see it, not as our own code wrote it.

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace poppler {

// The standard output of one of poppler's tools (pdftotext, pdfinfo,
// pdffonts); empty when it cannot run or fails.
inline QString run(const QString &tool, const QStringList &arguments, int timeoutMs = 60000)
{
    QProcess p;
    p.start(tool, arguments);
    p.waitForFinished(timeoutMs);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of page `page` (from 1).
inline QString pageText(const QString &pdf, int page)
{
    const QString n = QString::number(page);
    return run(QStringLiteral("pdftotext"),
               {QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf, QStringLiteral("-")});
}

// The number of pages pdfinfo counts; -1 when it reads none.
inline int pageCount(const QString &pdf)
{
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                          QRegularExpression::MultilineOption);
    const auto match = pages.match(run(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace poppler
