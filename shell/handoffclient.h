// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <chrono>

// The second start's end of the hand-off: plain blocking socket calls, no
// event loop and no QCoreApplication, so that a second start stays short.
namespace handoffclient {

inline constexpr std::chrono::milliseconds kRetryWindow{5000};

// Sends the marker and the addressee to the instance listening at
// `socketPath`, waits for its acknowledgement that it holds them and
// confirms, after which the instance applies them as soon as its window is
// free. Without the acknowledgement in time nothing is confirmed, and the
// instance drops the message when it gets to it.
// While no instance answers (it is still starting, or closing), retries
// until `retryWindow` has passed. Returns the exit status of the second
// start: 0 once delivered, 1 when nothing could be delivered.
int deliver(const QString &socketPath, const QString &marker, const QString &addressee,
            std::chrono::milliseconds retryWindow = kRetryWindow);

} // namespace handoffclient
