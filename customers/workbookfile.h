// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Which customer workbook the program reads: "smpl2.xls" as ever, or, when
// that is missing, the same list kept in today's formats beside the program.
namespace workbookfile {

// "smpl2.xls" if it exists in `programDir`, else the first of "smpl2.xlsx"
// and "smpl2.ods" that does, else "smpl2.xls" (which then counts as missing).
QString customerWorkbookName(const QString &programDir);

} // namespace workbookfile
