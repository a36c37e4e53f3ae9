// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>

class CustomerListSession;

// The customer list's entries as a list view shows them, one per table row,
// straight from the session. An entry whose name the list holds more than
// once (two 山田太郎 at different companies) carries a tooltip that tells it
// apart: the customer's addressee block. Unique names need none.
class CustomerListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit CustomerListModel(const CustomerListSession *session, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    const CustomerListSession *m_session;
};
