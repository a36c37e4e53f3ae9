// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// Names that tell one letter from another: the print job's document name,
// which queues show and PDF queues turn into a file name, and the name the
// save dialog proposes for a PDF.
namespace documentname {

// "Tavrint 2026-12-08 14:05:09"
QString jobName(const QDateTime &at);

// Names jobs so that no two of one run are alike: a job started in the same
// second as the one before gets " (2)", " (3)", ... after the job name, so
// a PDF queue that names files after jobs never overwrites a letter.
class JobNamer
{
public:
    QString next(const QDateTime &at);

private:
    QString m_last;
    int m_repeat = 0;
};

// "Tavrint 2026-12-08 14-05-09.pdf": the job name without the colons that
// other systems' file names cannot hold.
QString pdfFileName(const QDateTime &at);

// The path the save dialog proposes for a PDF made at `at`: that name in the
// user's documents folder, or in the home folder when there is none.
QString proposedPdfPath(const QDateTime &at);

// "PDFを保存できませんでした: <path>" and the system's reason on a line below.
QString pdfNotSavedText(const QString &path, const QString &reason);

} // namespace documentname
