// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The record of what went out: "送付記録.csv" in the program directory, one
// row for every letter printed or written to a PDF, a merge's letters each
// with a row of its own. UTF-8 with a byte order mark (so that LibreOffice
// and a spreadsheet application on Windows both read it as such), CR LF,
// fields quoted where RFC 4180 asks for it, a header row first. The file is
// only ever appended to: each job's rows in one write, so that a crash
// leaves a job's rows whole or absent, never half a row.
namespace sendlog {

inline constexpr const char *kFileName = "送付記録.csv";

enum class Method { Print, Pdf, Fax };

struct Entry
{
    QDateTime at; // when the letter went out, local time
    Method method = Method::Print;
    QString addressee; // the first line of the letter's box B
    QString title;     // the first line of its box E
    // The printer's queue, the PDF's full path, or for a fax the number
    // dialled and where its job is followed: "0312345678 hylafax://host/12".
    QString destination;
};

// "印刷", "PDF" or "FAX".
QString methodName(Method method);

// "日時,方法,宛先,標題,出力先" and CR LF.
QString headerRow();
// One row: "yyyy-MM-dd hh:mm:ss", the method, and the texts, quoted
// when they hold a comma, a double quote or a line break; CR LF at the end.
QString row(const Entry &entry);

// The first line of a box text, without the blanks around it.
QString firstLine(const QString &text);

// Appends the rows of one job to the log in `programDir` (which ends with
// "/"), with the byte order mark and the header row first when the file is
// new or empty. Nothing for no entries. On failure the file is as it was,
// and the error is "<path> に書き込めません" and the reason.
Result<void> append(const QString &programDir, const QList<Entry> &entries);

// The rows of the log in `programDir`, as written; none without the file.
// A file that cannot be read, or is no log of ours, gives its error.
Result<QList<Entry>> read(const QString &programDir);

} // namespace sendlog
