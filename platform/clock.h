// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>

// The local date and time, fixable by tests: the issue date, the monthly
// report heading, job names and the send log's times all read it here.
class Clock
{
public:
    static QDate today();
    static QDateTime now();

    // Stands a fixed moment in for the system clock until resetInstance();
    // a fixed day alone stands at midnight.
    static void setInstance(QDate fixedToday);
    static void setInstance(const QDateTime &fixedNow);
    static void resetInstance();
};
