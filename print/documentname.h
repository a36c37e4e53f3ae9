#pragma once

#include <QDateTime>
#include <QString>

// Names that tell one letter from another: the print job's document name,
// which queues show and PDF queues turn into a file name, and the name the
// save dialog proposes for a PDF.
namespace documentname {

// "Tavrint 2026-12-08 14:05:09"
QString jobName(const QDateTime &at);

// "Tavrint 2026-12-08 14-05-09.pdf": the job name without the colons that
// other systems' file names cannot hold.
QString pdfFileName(const QDateTime &at);

} // namespace documentname
