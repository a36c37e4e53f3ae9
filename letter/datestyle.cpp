// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/datestyle.h"

#include "letter/letterfields.h"
#include "letter/lettertexts.h"

#include <array>

namespace datestyle {

namespace {
// Qt's calendars know no Japanese era, so the program keeps its own table.
// Each era begins on the day its name took effect: 明治 on the day of its
// proclamation (1868-10-23; the year was later counted from 1 January, but a
// letter dated before the proclamation is not one this program writes), the
// later ones on the day after the old emperor's death or, for 令和, on the
// day of the accession.
const std::array<Era, 5> kEras = {{
    {u"令和", QDate(2019, 5, 1)},
    {u"平成", QDate(1989, 1, 8)},
    {u"昭和", QDate(1926, 12, 25)},
    {u"大正", QDate(1912, 7, 30)},
    {u"明治", QDate(1868, 10, 23)},
}};
} // namespace

QString name(Style style)
{
    return style == Style::Japanese ? QStringLiteral("和暦") : QStringLiteral("西暦");
}

std::optional<Style> fromName(QStringView text)
{
    for (Style style : {Style::Western, Style::Japanese}) {
        if (text == name(style))
            return style;
    }
    return std::nullopt;
}

std::optional<Era> eraOf(const QDate &date)
{
    for (const Era &era : kEras) {
        if (date >= era.firstDay)
            return era;
    }
    return std::nullopt;
}

QString format(const QDate &date, Style style)
{
    const std::optional<Era> era = style == Style::Japanese ? eraOf(date) : std::nullopt;
    if (!era)
        return lettertexts::issueDate(date);
    // The era's year counts from its first calendar year, not from its first day.
    const int year = date.year() - era->firstDay.year() + 1;
    const QString yearText = year == 1 ? QStringLiteral("元") : QString::number(year);
    return QString::fromUtf16(era->name) + yearText +
           QStringLiteral("年%1月%2日").arg(date.month()).arg(date.day());
}

QString fieldMarker()
{
    return letterfields::marker(u"日付");
}

QString fillDateField(const QString &text, const QDate &date, Style style)
{
    const QString marker = fieldMarker();
    if (!text.contains(marker))
        return text;
    QString filled = text;
    return filled.replace(marker, format(date, style));
}

} // namespace datestyle
