// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>

#include <optional>

// Today's local date, fixable by tests (the issue date and the monthly
// report heading depend on it).
class Clock
{
public:
    static QDate today();

    // Stands a fixed day in for the system clock until resetInstance().
    static void setInstance(QDate fixedToday);
    static void resetInstance();
};
