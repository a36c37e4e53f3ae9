// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// A measuring aid for the start-up benchmark, silent unless asked for: when
// the environment variable TAVRINT_FIRST_FRAME_FD names an open file
// descriptor, the line "first-frame <CLOCK_MONOTONIC nanoseconds>" is written
// to it once `window` has painted its first frame and handed it to the
// display server, and the descriptor is closed. Nothing else changes.
namespace firstframeprobe {

void installFromEnvironment(QWidget *window);

} // namespace firstframeprobe
