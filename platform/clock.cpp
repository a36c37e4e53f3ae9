// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

#include <optional>

namespace {
std::optional<QDateTime> &fixedNow()
{
    static std::optional<QDateTime> at;
    return at;
}
} // namespace

QDate Clock::today()
{
    return fixedNow() ? fixedNow()->date() : QDate::currentDate();
}

QDateTime Clock::now()
{
    return fixedNow() ? *fixedNow() : QDateTime::currentDateTime();
}

void Clock::setInstance(QDate date)
{
    fixedNow() = QDateTime(date, QTime(0, 0));
}

void Clock::setInstance(const QDateTime &at)
{
    fixedNow() = at;
}

void Clock::resetInstance()
{
    fixedNow().reset();
}
