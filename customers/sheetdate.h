// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Dates and times in workbooks of today's formats, brought to the ISO texts a
// sheet's date and time cells hold ("2024-03-05", "2024-03-05 13:45:10",
// "13:45:10", see sheet.h), as the .xls reader's do, so that every
// workbook's cells become text by the same rules.
namespace sheetdate {

enum class Kind {
    Number,   // not a date: the number itself
    Date,     // a calendar day
    DateTime, // a day and a clock time
    Time,     // a clock time only
};

// What an Office Open XML number format shows: a built-in format number
// (with no code) or a format code of the workbook's own.
Kind kindOfBuiltIn(int numberFormatId);
Kind kindOfCode(QStringView formatCode);

// The ISO text of a day serial (days since 1899-12-30, or since
// 1904-01-01 in a workbook of the 1904 date system) shown as `kind`. No value
// when the serial lies outside the years 1900 to 9999, where a spreadsheet
// shows no date either.
std::optional<QString> serialText(double serial, Kind kind, bool system1904);

// An OpenDocument duration of a time cell ("PT13H45M10S") as "13:45:10".
std::optional<QString> durationText(QStringView duration);

} // namespace sheetdate
