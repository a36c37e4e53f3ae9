// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/customerlistmodel.h"

#include "customers/customerlistsession.h"

CustomerListModel::CustomerListModel(const CustomerListSession *session, QObject *parent)
    : QAbstractListModel(parent), m_session(session)
{
    // Every change of the list is a new list: the view drops its selection.
    connect(session, &CustomerListSession::entriesChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int CustomerListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_session->entries().size());
}

QVariant CustomerListModel::data(const QModelIndex &index, int role) const
{
    const QStringList &entries = m_session->entries();
    if (!index.isValid() || index.row() >= entries.size())
        return QVariant();
    const QString &name = entries.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return name;
    if (role != Qt::ToolTipRole)
        return QVariant();
    // Counted when the mouse rests on an entry, not on every refill: the
    // list changes far more often than anyone hovers over it.
    if (entries.count(name) < 2)
        return QVariant();
    const QString tip = m_session->toolTip(index.row());
    return tip.isEmpty() ? QVariant() : QVariant(tip);
}

Qt::ItemFlags CustomerListModel::flags(const QModelIndex &index) const
{
    // A view lets the input method in only on an entry that could be
    // edited; the list's view never edits, but typing kanji must reach its
    // search for the customer.
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}
