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
    Outcome outcome;
    outcome.failure = Failure::NotAWorkbook;
    return outcome;
}

Outcome damaged()
{
    Outcome outcome;
    outcome.failure = Failure::Damaged;
    return outcome;
}

} // namespace

bool looksLikeZip(QByteArrayView head)
{
    return head.startsWith(QByteArrayView("PK\x03\x04", 4)) ||
           head.startsWith(QByteArrayView("PK\x05\x06", 4));
}

Outcome load(const QString &path)
{
    ZipArchive zip;
    if (!zip.openFile(QFile::encodeName(path)))
        return damaged();
    return fromArchive(zip);
}

Outcome loadBytes(QByteArrayView bytes)
{
    ZipArchive zip;
    if (!zip.openBytes(bytes))
        return damaged();
    return fromArchive(zip);
}

sheetdump::Sheet emptySheet()
{
    sheetdump::Sheet sheet;
    sheet.rows = sheetdump::kRows;
    sheet.columns = sheetdump::kColumns;
    sheet.cells.resize(size_t(sheet.rows) * size_t(sheet.columns));
    return sheet;
}

void trim(sheetdump::Sheet &sheet, int usedRows)
{
    sheet.rows = qBound(0, usedRows, sheetdump::kRows);
    sheet.cells.resize(size_t(sheet.rows) * size_t(sheet.columns));
}

} // namespace officesheet
