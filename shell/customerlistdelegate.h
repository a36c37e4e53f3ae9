// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

// Draws a customer list entry as the list box did: a 16-pixel cell filled
// with the list's background (the highlight when selected), the text in one
// line, vertically centred, 2 pixels from the left, "&" as an ordinary
// character, and a focus rectangle on the current entry.
class CustomerListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int kItemHeight = 16;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
