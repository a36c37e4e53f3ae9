// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/rowlist.h"

#include <algorithm>

namespace rowlist {

namespace {

// A row number as written: digits only, from 1. Far more digits than any
// list can hold are refused here rather than overflowing.
std::optional<qint64> rowNumber(QStringView text)
{
    if (text.isEmpty() || text.size() > 18)
        return std::nullopt;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const qint64 value = text.toLongLong();
    if (value < 1)
        return std::nullopt;
    return value;
}

} // namespace

Result<QList<Span>> parse(const QString &text)
{
    if (text.trimmed().isEmpty())
        return fail(QStringLiteral("--only needs row numbers, such as 1,3-5"));
    QList<Span> spans;
    for (QStringView item : QStringView(text).split(QLatin1Char(','))) {
        item = item.trimmed();
        if (item.isEmpty())
            return fail(QStringLiteral("--only '%1' has an empty item between commas").arg(text));
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        const QStringView firstText = dash < 0 ? item : item.left(dash).trimmed();
        const QStringView lastText = dash < 0 ? item : item.mid(dash + 1).trimmed();
        const std::optional<qint64> first = rowNumber(firstText);
        const std::optional<qint64> last = rowNumber(lastText);
        if (!first || !last)
            return fail(QStringLiteral("--only wants row numbers from 1 such as 1,3-5, "
                                       "not '%1'")
                            .arg(item.toString()));
        if (*last < *first)
            return fail(QStringLiteral("--only '%1' runs backwards; write %2-%3")
                            .arg(item.toString())
                            .arg(*last)
                            .arg(*first));
        spans.append({*first, *last});
    }
    return spans;
}

Result<QList<int>> rows(const QList<Span> &spans, int count)
{
    // Checked before anything is counted out, so that "1-99999999" costs
    // nothing.
    for (const Span &span : spans) {
        if (span.last > count)
            return fail(QStringLiteral("--only: the list has %1 customers, no row %2")
                            .arg(count)
                            .arg(span.first > count ? span.first : count + 1));
    }
    QList<bool> chosen(count, false);
    for (const Span &span : spans)
        for (qint64 row = span.first; row <= span.last; ++row)
            chosen[static_cast<qsizetype>(row - 1)] = true;
    QList<int> result;
    for (int row = 0; row < count; ++row)
        if (chosen[row])
            result.append(row);
    return result;
}

} // namespace rowlist
