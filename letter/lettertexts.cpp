// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/lettertexts.h"

namespace lettertexts {

QString issueDate(const QDate &today)
{
    return QStringLiteral("%1年%2月%3日")
        .arg(today.year(), 4, 10, QLatin1Char('0'))
        .arg(today.month(), 2, 10, QLatin1Char('0'))
        .arg(today.day(), 2, 10, QLatin1Char('0'));
}

QString monthlyReportHeading(const QDate &today)
{
    const int lastMonth = today.month() == 1 ? 12 : today.month() - 1;
    return QString::number(lastMonth) +
           QStringLiteral("月実績 ご連絡票\r\n\r\n送信枚数 ２ 枚 (本状含む)");
}

} // namespace lettertexts
