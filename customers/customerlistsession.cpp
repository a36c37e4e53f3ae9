// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/customerlistsession.h"

#include "customers/addressblock.h"
#include "customers/customerfields.h"
#include "customers/customerlist.h"
#include "customers/tflist.h"

#include <algorithm>

CustomerListSession::CustomerListSession(QObject *parent) : QObject(parent) {}

CustomerRead CustomerListSession::read(customersource::Source source, const QString &path,
                                       int keyItem)
{
    m_source = source;
    if (!m_holder)
        return CustomerRows{};
    // A text list is emptied before it is read: a bad line leaves it empty.
    if (source == customersource::Source::TextList)
        setEntries({});
    CustomerRead read = customersource::read(*m_holder, source, path, keyItem);
    if (const std::optional<QStringList> entries = customersource::shownEntries(read))
        setEntries(*entries);
    if (const std::optional<int> count = customersource::shownCount(read)) {
        m_count = *count;
        showCount();
    }
    return read;
}

void CustomerListSession::rekey(int keyItem)
{
    if (m_holder)
        setEntries(customerlist::workbookEntries(m_holder->sg1, m_count, keyItem));
}

void CustomerListSession::setEntries(const QStringList &entries)
{
    m_entries = entries;
    emit entriesChanged();
}

QString CustomerListSession::countText() const
{
    return m_countText;
}

void CustomerListSession::setCountText(const QString &text)
{
    m_countText = text;
    emit countTextChanged(text);
}

void CustomerListSession::showCount()
{
    setCountText(QLatin1Char('/') + QString::number(m_count));
}

void CustomerListSession::hideCount()
{
    setCountText(QString());
}

void CustomerListSession::choose(int row)
{
    setCountText(QString::number(row + 1) + QLatin1Char('/') + QString::number(m_count));
}

addressblock::Layout CustomerListSession::layout() const
{
    return customersource::layoutOf(m_source.value_or(customersource::Source::WorkbookList));
}

QString CustomerListSession::addresseeBlock(int row) const
{
    return m_holder ? addressblock::compose(m_holder->sg1, row, layout()) : QString();
}

letterfields::Values CustomerListSession::customerValues(int row) const
{
    return m_holder ? customerfields::of(m_holder->sg1, row, layout()) : letterfields::Values();
}

QString CustomerListSession::toolTip(int row) const
{
    if (!m_holder || row < 0 || row >= m_count)
        return QString();
    // The block as a click would write it, without its indents.
    QStringList lines = addresseeBlock(row).split(QLatin1String("\r\n"));
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.join(u'\n');
}

int CustomerListSession::mergeCount() const
{
    const bool listed = m_source == customersource::Source::TextList ||
                        m_source == customersource::Source::WorkbookList;
    if (!m_holder || !listed)
        return 0;
    return std::max(0, std::min(static_cast<int>(m_entries.size()), m_count));
}

const CustomerTable *CustomerListSession::table() const
{
    return m_holder ? &m_holder->sg1 : nullptr;
}
