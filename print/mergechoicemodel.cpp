// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/mergechoicemodel.h"

#include "customers/customerfields.h"
#include "customers/customertable.h"

MergeChoiceModel::MergeChoiceModel(const CustomerTable &table, int count,
                                   addressblock::Layout layout, QObject *parent)
    : QAbstractTableModel(parent), m_table(table), m_count(qMax(count, 0)), m_layout(layout),
      m_checked(m_count, true), m_checkedCount(m_count)
{
}

int MergeChoiceModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int MergeChoiceModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString MergeChoiceModel::field(int row, const QString &name) const
{
    return customerfields::of(m_table, row, m_layout).value(name);
}

QVariant MergeChoiceModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_count)
        return {};
    const int row = index.row();
    if (role == Qt::CheckStateRole && index.column() == RowNumber)
        return isChecked(row) ? Qt::Checked : Qt::Unchecked;
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case RowNumber:
        return row + 1; // as the list and --only count
    case Company:
        return field(row, QStringLiteral("会社名"));
    case Person:
        return field(row, QStringLiteral("担当者"));
    case Address:
        return field(row, QStringLiteral("住所"));
    default:
        return {};
    }
}

bool MergeChoiceModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || index.column() != RowNumber)
        return false;
    setChecked({index.row()}, value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

Qt::ItemFlags MergeChoiceModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == RowNumber)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant MergeChoiceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case RowNumber:
        return QStringLiteral("番号");
    case Company:
        return QStringLiteral("会社名");
    case Person:
        return QStringLiteral("担当者");
    case Address:
        return QStringLiteral("住所");
    default:
        return {};
    }
}

void MergeChoiceModel::setChecked(const QList<int> &rows, bool checked)
{
    int changed = 0;
    for (int row : rows) {
        if (row < 0 || row >= m_count || m_checked[row] == checked)
            continue;
        m_checked[row] = checked;
        m_checkedCount += checked ? 1 : -1;
        ++changed;
        const QModelIndex cell = index(row, RowNumber);
        emit dataChanged(cell, cell, {Qt::CheckStateRole});
    }
    if (changed > 0)
        emit checkedCountChanged(m_checkedCount);
}

QList<int> MergeChoiceModel::checkedRows() const
{
    QList<int> rows;
    rows.reserve(m_checkedCount);
    for (int row = 0; row < m_count; ++row)
        if (m_checked[row])
            rows.append(row);
    return rows;
}

bool MergeChoiceModel::matches(int row, const QString &text) const
{
    if (text.isEmpty())
        return true;
    for (int column = 0; column < CustomerTable::kColumns; ++column)
        if (m_table.cell(column, row).contains(text, Qt::CaseInsensitive))
            return true;
    return false;
}

MergeChoiceFilter::MergeChoiceFilter(MergeChoiceModel *model, QObject *parent)
    : QSortFilterProxyModel(parent), m_model(model)
{
    setSourceModel(model);
}

void MergeChoiceFilter::setText(const QString &text)
{
    // Blanks typed around a word are not part of what is looked for.
    m_text = text.trimmed();
    invalidateRowsFilter();
}

QList<int> MergeChoiceFilter::shownRows() const
{
    QList<int> rows;
    rows.reserve(rowCount());
    for (int i = 0; i < rowCount(); ++i)
        rows.append(mapToSource(index(i, 0)).row());
    return rows;
}

bool MergeChoiceFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    return m_model->matches(sourceRow, m_text);
}
