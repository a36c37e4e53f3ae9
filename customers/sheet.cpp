// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/sheet.h"

#include <utility>

Cell Cell::ofInteger(int value)
{
    Cell cell;
    cell.kind = Kind::Integer;
    cell.integer = value;
    return cell;
}

Cell Cell::ofNumber(double value)
{
    Cell cell;
    cell.kind = Kind::Number;
    cell.number = value;
    return cell;
}

Cell Cell::ofText(QString text)
{
    Cell cell;
    text.remove(QChar(u'\0'));
    if (!text.isEmpty()) {
        cell.kind = Kind::Text;
        cell.text = std::move(text);
    }
    return cell;
}

Cell Cell::ofDate(Kind kind, QString isoText)
{
    Cell cell;
    cell.kind = kind;
    cell.text = std::move(isoText);
    return cell;
}

Cell Cell::unreadable()
{
    Cell cell;
    cell.kind = Kind::Unreadable;
    return cell;
}

const Cell *Sheet::cell(int row, int column) const
{
    if (row < 0 || column < 0 || row >= rows || column >= columns)
        return nullptr;
    return &cells[size_t(row) * size_t(columns) + size_t(column)];
}

namespace sheetreason {

QString damaged()
{
    return QString::fromUtf8("ブックが壊れています");
}

QString encrypted()
{
    return QString::fromUtf8("パスワードで保護されたブックは読めません");
}

QString noSheet()
{
    return QString::fromUtf8("ブックにワークシートがありません");
}

QString missingLibrary(const char *soname)
{
    // Opened at the first read, so a missing one shows here rather than at
    // start.
    return QString::fromUtf8("ブックを読むためのライブラリ %1 を開けません")
        .arg(QLatin1String(soname));
}

} // namespace sheetreason
