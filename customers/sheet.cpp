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
