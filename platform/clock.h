#pragma once

#include <QDate>

#include <optional>

// Today's local date, fixable by tests (the issue date and the monthly
// report heading depend on it).
class Clock
{
public:
    static QDate today();
    static void setFixedToday(std::optional<QDate> date);
};
