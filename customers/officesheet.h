// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/sheet.h"
#include "platform/result.h"

#include <QByteArrayView>
#include <QString>

class ZipArchive;

// The first worksheet of a workbook in today's formats, Office Open XML
// (.xlsx) or OpenDocument (.ods), whatever the file is called: both are ZIP
// archives of XML parts, told apart by what the archive holds. The cells come
// out in the same sheet as the .xls reader's (see sheet.h), so one set of
// rules makes text of every workbook's cells. Only rows 1 to 200 and columns
// 1 to 8 are parsed; no part is read beyond kMaxPartBytes of uncompressed XML.
namespace officesheet {

constexpr qint64 kMaxPartBytes = qint64(16) << 20;

enum class Failure {
    None,         // (between the steps of a read: nothing went wrong so far)
    Damaged,      // a damaged archive or malformed XML
    NotAWorkbook, // a ZIP archive, but neither kind of workbook
    Encrypted,    // a part is protected by a password
    TooLarge,     // a part needed holds more than kMaxPartBytes
    NoSheet,      // a workbook without a worksheet
    NoLibrary,    // libzip cannot be opened
};

// Why a workbook could not be read, and the reason the open error shows.
struct Error
{
    Failure kind = Failure::Damaged;
    QString text;
};

Error error(Failure kind);

using Outcome = Result<Sheet, Error>;

// Whether the file's first bytes are those of a ZIP archive.
bool looksLikeZip(QByteArrayView head);

Outcome load(const QString &path);
Outcome loadBytes(QByteArrayView bytes);

// Shared by the two formats: the sheet they fill, cells outside it empty.
Sheet emptySheet();
// Cuts the sheet to the rows that hold anything.
void trim(Sheet &sheet, int usedRows);

} // namespace officesheet
