// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

namespace {
std::optional<QDate> &fixedToday()
{
    static std::optional<QDate> date;
    return date;
}
} // namespace

QDate Clock::today()
{
    return fixedToday() ? *fixedToday() : QDate::currentDate();
}

void Clock::setInstance(QDate date)
{
    fixedToday() = date;
}

void Clock::resetInstance()
{
    fixedToday().reset();
}
