// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/workbookreader.h"

#include "customers/customerlist.h"
#include "customers/customertable.h"
#include "customers/officesheet.h"
#include "customers/sheetdump.h"
#include "platform/cp932.h"

#include <QDateTime>
#include <QFile>

#include <charconv>
#include <cmath>

namespace workbookreader {

namespace {

constexpr int kCompanyColumn = 1; // zero-based sheet column of the company key
constexpr int kPersonColumn = 2;  // and of the person key

QString openErrorMessage(const QString &path, const QString &reason)
{
    return QString::fromUtf8("ファイル \"%1\". %2 は開けません").arg(path, reason);
}

QString cellErrorMessage(int row, int column)
{
    return QString::fromUtf8("セル (行 %1, 列 %2) の値を文字列に変換できません")
        .arg(row + 1)
        .arg(column + 1);
}

QString dateTimeText(Cell::Kind kind, const QString &text, const QLocale &locale)
{
    switch (kind) {
    case Cell::Kind::Date: {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (date.isValid())
            return locale.toString(date, QLocale::ShortFormat);
        break;
    }
    case Cell::Kind::DateTime: {
        const QDateTime dateTime =
            QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (dateTime.isValid()) {
            // UTC so that no daylight-saving gap can move the clock time.
            return locale.toString(QDateTime(dateTime.date(), dateTime.time(), Qt::UTC),
                                   QLocale::ShortFormat);
        }
        break;
    }
    case Cell::Kind::Time: {
        const QTime time = QTime::fromString(text, Qt::ISODate);
        if (time.isValid())
            return locale.toString(time, QLocale::ShortFormat);
        break;
    }
    default:
        break;
    }
    // A value the calendar cannot hold: the workbook's own text is better
    // than none.
    return text;
}

} // namespace

std::optional<QString> numberText(double value, const QLocale &locale)
{
    if (!std::isfinite(value))
        return std::nullopt;
    if (value == 0)
        value = 0; // no "-0"
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    if (ec != std::errc())
        return std::nullopt;
    QString text;
    text.reserve(end - buffer);
    for (const char *p = buffer; p != end; ++p) {
        if (*p == '.')
            text.append(locale.decimalPoint());
        else if (*p == 'e')
            text.append(u'E');
        else
            text.append(QLatin1Char(*p));
    }
    return text;
}

std::optional<QString> cellText(const Cell &cell, const QLocale &locale)
{
    switch (cell.kind) {
    case Cell::Kind::Empty:
        return QString();
    case Cell::Kind::Unreadable:
        return std::nullopt;
    case Cell::Kind::Integer:
        return QString::number(cell.integer);
    case Cell::Kind::Number:
        return numberText(cell.number, locale);
    case Cell::Kind::Text:
        return cp932::representable(cell.text);
    case Cell::Kind::Date:
    case Cell::Kind::DateTime:
    case Cell::Kind::Time:
        return dateTimeText(cell.kind, cell.text, locale);
    }
    return std::nullopt;
}

namespace {

CustomerReadError openFailed(const QString &path, const QString &reason)
{
    return CustomerReadError{CustomerReadError::Kind::OpenFailed, std::nullopt, std::nullopt,
                             openErrorMessage(path, reason)};
}

CustomerReadError cellFailed(int row, int column, const QStringList &keys)
{
    return CustomerReadError{CustomerReadError::Kind::CellFailed, keys, std::nullopt,
                             cellErrorMessage(row, column)};
}

// Whether the file is a ZIP archive, the wrapping of .xlsx and .ods, rather
// than the .xls its name may say.
bool isZipFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && officesheet::looksLikeZip(file.read(4));
}

} // namespace

CustomerRead read(const QString &path, int keyItem, CustomerTable &table, const QLocale &locale)
{
    if (isZipFile(path)) {
        const officesheet::Outcome outcome = officesheet::load(path);
        if (!outcome)
            return openFailed(path, outcome.error());
        return readSheet(*outcome, keyItem, table, locale);
    }
    // Everything that can make the file unreadable as a whole is settled
    // before the first cell is stored.
    const sheetdump::Outcome outcome = sheetdump::load(QFile::encodeName(path));
    if (!outcome)
        return openFailed(path, outcome.error());
    return readSheet(*outcome, keyItem, table, locale);
}

CustomerRead readSheet(const Sheet &sheet, int keyItem, CustomerTable &table, const QLocale &locale)
{
    const int keyColumn = keyItem == 1 ? kPersonColumn : kCompanyColumn;

    auto readCell = [&](int row, int column) -> std::optional<QString> {
        const Cell *cell = sheet.cell(row, column);
        if (!cell)
            return QString(); // outside the sheet's used range
        return cellText(*cell, locale);
    };

    QStringList keys;
    for (int row = 0; row < kMaxRows; ++row) {
        const std::optional<QString> key = readCell(row, keyColumn);
        if (!key)
            return cellFailed(row, keyColumn, keys);
        if (key->isEmpty())
            break;
        for (int column = 0; column < kColumns; ++column) {
            const std::optional<QString> text = readCell(row, column);
            if (!text)
                return cellFailed(row, column, keys);
            table.setCell(column, row, *text);
        }
        keys.append(*key);
    }

    const int count = int(keys.size());
    table.setRowCount(count);
    return CustomerRows{customerlist::listEntriesWithout(keys, QLatin1Char(' ')), count};
}

} // namespace workbookreader
