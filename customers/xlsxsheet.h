// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/officesheet.h"

class ZipArchive;

// The first worksheet of an Office Open XML workbook (.xlsx): the workbook
// part names it, its relations find it; shared strings are read only as far
// as the cells read refer to them, and styles only to tell dates from numbers.
namespace xlsxsheet {

officesheet::Outcome read(const ZipArchive &zip);

// A cell reference's column, counted from 0 ("B3" gives 1); -1 without one.
int columnOf(QStringView reference);

// Text with the escapes of characters XML cannot hold ("_x000D_") undone.
QString unescaped(QStringView text);

} // namespace xlsxsheet
