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

    // The primary screen as the windowing system reports it, unless a fixed
    // value was set.
    static ScreenMetrics current();
    static void setFixed(std::optional<ScreenMetrics> metrics);
};
