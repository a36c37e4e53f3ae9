// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>

// How a letter writes a date: 西暦 as the program always did
// ("2026年12月10日"), or 和暦 with the era year ("令和8年12月10日"). One letter
// never mixes the two: box D and the field 《日付》 follow the letter's style.
namespace datestyle {

enum class Style {
    Western,  // 西暦, the default
    Japanese, // 和暦
};

// The settings file key; written only for a letter that is not 西暦.
inline constexpr QStringView kKey = u"DateStyle";

// "西暦" / "和暦", as the key's value and the menu show them.
QString name(Style style);
// The style of a key's value; nothing for any other text.
std::optional<Style> fromName(QStringView text);

// An era of the Japanese calendar: its name and its first day.
struct Era
{
    const char16_t *name;
    QDate firstDay;
};

// The era `date` lies in; nothing before 明治 began.
std::optional<Era> eraOf(const QDate &date);

// The date as the style writes it. 和暦 has no leading zeros and calls an
// era's first year 元年 ("令和元年5月1日"); a day before 明治 is written in
// 西暦, since no era of ours covers it.
QString format(const QDate &date, Style style);

// The field that a box text holds for today's date: "《日付》".
QString fieldMarker();
// `text` with every 《日付》 replaced by `date` in the style.
QString fillDateField(const QString &text, const QDate &date, Style style);

} // namespace datestyle
