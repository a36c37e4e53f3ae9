// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QSortFilterProxyModel>

class CustomerTable;

namespace addressblock {
enum class Layout;
}

// The customers a merge may send, each with a check: the rows 0 .. count - 1
// of the customer table, all checked at first. The merge dialog shows it;
// what is checked is what goes out, in list order. Reads the table as it is
// asked, so a long list costs a bit per customer, not a widget per cell.
class MergeChoiceModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { RowNumber, Company, Person, Address, ColumnCount };

    MergeChoiceModel(const CustomerTable &table, int count, addressblock::Layout layout,
                     QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    bool isChecked(int row) const { return m_checked.value(row, false); }
    void setChecked(const QList<int> &rows, bool checked);
    int checkedCount() const { return m_checkedCount; }
    // The checked rows, in list order.
    QList<int> checkedRows() const;

    // Whether any cell of customer `row` holds `text` (ignoring case); an
    // empty text matches every customer.
    bool matches(int row, const QString &text) const;

signals:
    void checkedCountChanged(int count);

private:
    QString field(int row, const QString &name) const;

    const CustomerTable &m_table;
    int m_count;
    addressblock::Layout m_layout;
    QList<bool> m_checked;
    int m_checkedCount;
};

// The customers whose cells hold the filter text.
class MergeChoiceFilter : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit MergeChoiceFilter(MergeChoiceModel *model, QObject *parent = nullptr);

    void setText(const QString &text);
    // The list rows shown now, in list order.
    QList<int> shownRows() const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    MergeChoiceModel *m_model;
    QString m_text;
};
