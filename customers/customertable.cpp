#include "customers/customertable.h"

QString CustomerTable::cell(int column, int row) const
{
    if (column < 0 || column >= kColumns || row < 0)
        return {};
    const auto &col = m_columns[column];
    return size_t(row) < col.size() ? col[size_t(row)] : QString();
}

void CustomerTable::setCell(int column, int row, const QString &text)
{
    if (column < 0 || column >= kColumns || row < 0)
        return;
    auto &col = m_columns[column];
    if (size_t(row) >= col.size())
        col.resize(size_t(row) + 1);
    col[size_t(row)] = text;
}

void CustomerTable::reserveRows(int rows)
{
    for (auto &col : m_columns)
        col.reserve(size_t(rows));
}
