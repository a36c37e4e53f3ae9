// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QStringView>

// Splitting one customer line into fields: commas separate fields, double
// quotes protect commas, and blanks (codes 1 to 32) around fields are dropped
// while a blank inside an unquoted field splits it. The input is whole
// characters, so the trail byte of a double-byte character can never be taken
// for a comma, a quote or a blank.
namespace delimitedtext {

// The fields of `line`, in order. A NUL character ends the line. With
// `maxFields` >= 0 splitting stops once that many fields were taken; the
// fields returned are the same as the first ones of an unlimited split.
QStringList split(QStringView line, qsizetype maxFields = -1);

} // namespace delimitedtext
