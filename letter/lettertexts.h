// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

// The two texts start-up writes into boxes.
namespace lettertexts {

// Box D at every start: "2027年03月06日".
QString issueDate(const QDate &today);

// Box F on a first run: last month's number, "月実績 ご連絡票", an empty
// line, then the page count line.
QString monthlyReportHeading(const QDate &today);

} // namespace lettertexts
