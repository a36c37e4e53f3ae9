// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/officesheet.h"

#include "customers/odssheet.h"
#include "customers/xlsxsheet.h"
#include "customers/ziparchive.h"

#include <QFile>

namespace officesheet {

namespace {

Outcome fromArchive(const ZipArchive &zip)
{
    if (zip.contains(QStringLiteral("xl/workbook.xml")))
        return xlsxsheet::read(zip);
    if (zip.contains(QStringLiteral("content.xml")))
        return odssheet::read(zip);
    return error(Failure::NotAWorkbook);
}

// An archive that does not open is damaged, unless libzip itself is missing.
Outcome notOpened()
{
    return error(ZipArchive::libraryAvailable() ? Failure::Damaged : Failure::NoLibrary);
}

} // namespace

Error error(Failure kind)
{
    switch (kind) {
    case Failure::None:
    case Failure::Damaged:
        return {kind, sheetreason::damaged()};
    case Failure::NotAWorkbook:
        return {kind, QString::fromUtf8("ZIP 書庫ですが、Excel ブック (.xlsx) でも "
                                        "OpenDocument スプレッドシート (.ods) でもありません")};
    case Failure::Encrypted:
        return {kind, sheetreason::encrypted()};
    case Failure::TooLarge:
        return {kind, QString::fromUtf8("ブックの一部が大きすぎます")};
    case Failure::NoSheet:
        return {kind, sheetreason::noSheet()};
    case Failure::NoLibrary:
        return {kind, sheetreason::missingLibrary("libzip.so.4")};
    }
    return {kind, QString()};
}

bool looksLikeZip(QByteArrayView head)
{
    return head.startsWith(QByteArrayView("PK\x03\x04", 4)) ||
           head.startsWith(QByteArrayView("PK\x05\x06", 4));
}

Outcome load(const QString &path)
{
    ZipArchive zip;
    if (!zip.openFile(QFile::encodeName(path)))
        return notOpened();
    return fromArchive(zip);
}

Outcome loadBytes(QByteArrayView bytes)
{
    ZipArchive zip;
    if (!zip.openBytes(bytes))
        return notOpened();
    return fromArchive(zip);
}

Sheet emptySheet()
{
    Sheet sheet;
    sheet.rows = Sheet::kRows;
    sheet.columns = Sheet::kColumns;
    sheet.cells.resize(size_t(sheet.rows) * size_t(sheet.columns));
    return sheet;
}

void trim(Sheet &sheet, int usedRows)
{
    sheet.rows = qBound(0, usedRows, Sheet::kRows);
    sheet.cells.resize(size_t(sheet.rows) * size_t(sheet.columns));
}

} // namespace officesheet
