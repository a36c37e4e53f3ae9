// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/screenmetrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
std::optional<ScreenMetrics> &fixedMetrics()
{
    static std::optional<ScreenMetrics> metrics;
    return metrics;
}
} // namespace

ScreenMetrics ScreenMetrics::current()
{
    if (fixedMetrics())
        return *fixedMetrics();
    ScreenMetrics m;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        m.width = screen->geometry().width();
        m.height = screen->geometry().height();
        m.pixelsPerInch = qRound(screen->logicalDotsPerInchY());
        if (m.pixelsPerInch <= 0)
            m.pixelsPerInch = 96;
    }
    return m;
}

void ScreenMetrics::setInstance(ScreenMetrics fixed)
{
    fixedMetrics() = fixed;
}

void ScreenMetrics::resetInstance()
{
    fixedMetrics().reset();
}
