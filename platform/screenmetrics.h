// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// The screen facts the layout is computed from: the primary screen's size
// and its logical pixels per inch. Tests fix them instead of depending on the
// machine they run on.
struct ScreenMetrics
{
    int width = 1366;
    int height = 768;
    int pixelsPerInch = 96;

    // The primary screen as the windowing system reports it, unless fixed
    // metrics stand in for it.
    static ScreenMetrics current();

    // Stands fixed metrics in for the primary screen until resetInstance().
    static void setInstance(ScreenMetrics fixed);
    static void resetInstance();
};
