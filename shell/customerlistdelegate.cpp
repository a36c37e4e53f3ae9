// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/customerlistdelegate.h"

#include <QListView>
#include <QPainter>

void CustomerListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &pal = option.palette;
    painter->fillRect(option.rect,
                      selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
    painter->setFont(option.font);
    painter->setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
    const QRect textRect = option.rect.adjusted(2, 0, 0, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    if (option.state & QStyle::State_HasFocus) {
        QPen pen(pal.color(QPalette::Text), 1, Qt::DotLine);
        painter->setPen(pen);
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
}

QSize CustomerListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    // Two columns: each half the list's inner width, the fraction dropped.
    int width = 100;
    if (const auto *view = qobject_cast<const QListView *>(option.widget))
        width = view->viewport()->width() / 2;
    return QSize(width, kItemHeight);
}
