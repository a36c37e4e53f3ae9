// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// PDF files from elsewhere, the documents that go out after a cover: their
// pages are counted and copied as they are (text, vectors and fonts kept),
// never redrawn. A file that is missing, not a PDF, encrypted or damaged
// is refused with a text that names it, so nothing half goes out.
namespace pdffiles {

// Larger files are refused before they are read: no fax or letter needs them.
constexpr qint64 kMaxFileBytes = qint64(256) * 1024 * 1024;

// The number of pages of the PDF at `path`, or why it cannot go out.
Result<int> pageCount(const QString &path);

// The pages of `covers` (a PDF the program made, one page a letter), each
// followed by every page of `attachments` in order, as one PDF. With no
// attachments the covers come back unchanged.
Result<QByteArray> join(const QByteArray &covers, const QStringList &attachments);

} // namespace pdffiles
