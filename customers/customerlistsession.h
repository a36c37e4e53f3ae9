// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/customerread.h"
#include "customers/customersource.h"
#include "letter/letterfields.h"

#include <QObject>
#include <QStringList>

#include <optional>

class CustomerTable;
class TFList;

namespace addressblock {
enum class Layout;
}

// The customer list as the window shows it: the data holder's table, the
// source it was read from, the list's entries (entry k for row k), the
// customer count with its label text, and the row last chosen. The list
// view, the count label and the merges all read it from here, so they
// cannot disagree on how many customers there are.
class CustomerListSession : public QObject
{
    Q_OBJECT
public:
    explicit CustomerListSession(QObject *parent = nullptr);

    // The data holder the reads fill (the table stays its own).
    void setHolder(TFList *holder) { m_holder = holder; }
    const TFList *holder() const { return m_holder; }

    // Reads the list of `source` from `path`; `keyItem` is the
    // company/person selector's item. The entries and the count show what
    // the read gives, failed or not (see customersource::read).
    CustomerRead read(customersource::Source source, const QString &path, int keyItem);
    // The workbook's entries rebuilt from the table for another key item,
    // without reading the file again.
    void rekey(int keyItem);
    // The list shows `entries`; the count stays.
    void setEntries(const QStringList &entries);
    // The data source whose list this is; none where the mode shows no list
    // (its entries then make no letters).
    void setSource(std::optional<customersource::Source> source) { m_source = source; }

    const QStringList &entries() const { return m_entries; }
    // The customers the last read counted (Label3's tag).
    int count() const { return m_count; }
    // "/count", or "row/count" once a customer is chosen; nothing hides it.
    QString countText() const;
    void showCount();
    void hideCount();
    // The customer at `row` (0-based) is chosen: the count text says so.
    void choose(int row);

    // How an addressee block is composed from this list.
    addressblock::Layout layout() const;
    // Row `row`'s block as a click writes it into box B, its cells as the
    // letter's fields take them, and what tells it apart from a namesake.
    QString addresseeBlock(int row) const;
    letterfields::Values customerValues(int row) const;
    QString toolTip(int row) const;

    // The customers a merge makes letters for: the rows both the table and
    // the list hold (a read that failed part-way may list fewer), none
    // without a list.
    int mergeCount() const;
    const CustomerTable *table() const;

signals:
    void entriesChanged();
    void countTextChanged(const QString &text);

private:
    void setCountText(const QString &text);

    TFList *m_holder = nullptr;
    std::optional<customersource::Source> m_source;
    QStringList m_entries;
    int m_count = 0;
    QString m_countText;
};
