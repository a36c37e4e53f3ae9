// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/customerlist.h"

#include "customers/customertable.h"

#include <utility>

namespace customerlist {

namespace {

bool needsCleaning(const QString &entry, QChar space)
{
    for (const QChar c : entry) {
        if (c == space || c == u'\r' || c == u'\n')
            return true;
    }
    return false;
}

QString cleaned(const QString &entry, QChar space)
{
    QString result;
    result.reserve(entry.size());
    const qsizetype n = entry.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = entry[i];
        if (c == space)
            continue;
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && entry[i + 1] == u'\n')
                ++i;
            result.append(u' ');
            continue;
        }
        result.append(c);
    }
    return result;
}

} // namespace

QStringList listEntriesWithout(QStringList entries, QChar space)
{
    // In place: handed a list of its own (moved in), each cleaned entry
    // replaces its original at once, so a long list is never held twice.
    for (QString &entry : entries) {
        if (needsCleaning(entry, space))
            entry = cleaned(entry, space);
    }
    return entries;
}

QStringList workbookEntries(const CustomerTable &table, int count, int keyItem)
{
    const int column = keyItem + 1;
    QStringList keys;
    keys.reserve(qMax(count, 0));
    for (int row = 0; row < count; ++row)
        keys.append(table.cell(column, row));
    return listEntriesWithout(std::move(keys), QLatin1Char(' '));
}

} // namespace customerlist
