// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/customerlistmodel.h"

void CustomerListModel::setToolTipSource(std::function<QString(int row)> source)
{
    m_toolTipSource = std::move(source);
}

QVariant CustomerListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::ToolTipRole)
        return QStringListModel::data(index, role);
    if (!m_toolTipSource || !index.isValid())
        return QVariant();
    // Counted when the mouse rests on an entry, not on every refill: the
    // list changes far more often than anyone hovers over it.
    const QStringList entries = stringList();
    const QString &name = entries.at(index.row());
    if (entries.count(name) < 2)
        return QVariant();
    const QString tip = m_toolTipSource(index.row());
    return tip.isEmpty() ? QVariant() : QVariant(tip);
}
