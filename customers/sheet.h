// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

// The first worksheet of a customer workbook as every format's reader gives
// it (.xls, .xlsx, .ods): the kind and value of each cell, before one set of
// rules makes the table's text of them (see workbookreader.h).
struct Cell
{
    enum class Kind {
        Empty,      // no value; also every cell outside the part read
        Unreadable, // a value with no text form: an error value, a broken number
        Integer,    // `integer`
        Number,     // `number`
        Text,       // `text`
        Date,       // `text` as "2024-03-05"
        DateTime,   // `text` as "2024-03-05 13:45:10"
        Time,       // `text` as "13:45:10"
    };

    Kind kind = Kind::Empty;
    int integer = 0;
    double number = 0;
    // A text, or the ISO form of a date or time. Days are kept in that form
    // rather than as QDate: the 1900 date system counts a 1900-02-29 that no
    // calendar has, and such a cell still shows as written.
    QString text;

    static Cell ofInteger(int value);
    static Cell ofNumber(double value);
    // Empty for an empty text. A NUL would end the text in the table, so
    // none is kept.
    static Cell ofText(QString text);
    static Cell ofDate(Kind kind, QString isoText);
    static Cell unreadable();
};

struct Sheet
{
    // The part of a worksheet the program reads: rows 1 to 200, columns 1 to 8.
    static constexpr int kRows = 200;
    static constexpr int kColumns = 8;

    // The part that was read: the used range, cut to kRows x kColumns.
    int rows = 0;
    int columns = 0;
    std::vector<Cell> cells; // row after row

    // Null outside the part read, where every cell is empty.
    const Cell *cell(int row, int column) const;
};

// The reasons an open error gives, the same for a workbook of every format.
namespace sheetreason {
QString damaged();
QString encrypted();
QString noSheet();
// `soname`, opened at the first read, cannot be opened.
QString missingLibrary(const char *soname);
} // namespace sheetreason
