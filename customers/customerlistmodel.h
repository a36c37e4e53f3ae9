// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringListModel>

#include <functional>

// The customer list's entries, one per table row. An entry whose name the
// list holds more than once (two 山田太郎 at different companies) carries a
// tooltip that tells it apart: what the caller's source gives for its row,
// the customer's addressee block. Unique names need none.
class CustomerListModel : public QStringListModel
{
    Q_OBJECT
public:
    using QStringListModel::QStringListModel;

    // The tooltip text for a row; asked only for entries whose name repeats.
    void setToolTipSource(std::function<QString(int row)> source);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    std::function<QString(int row)> m_toolTipSource;
};
