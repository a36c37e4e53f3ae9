// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

// A box shows at most what fits on the page. A line far longer than that
// (megabytes without a break, as a damaged or foreign file gives) would cost
// the text layout seconds to wrap, and the box could never show its end
// anyway. Such a text is shown only up to a point well past the page; the
// rest is kept aside, unseen, and saved back unchanged.
namespace overlongline {

// No box can show a line this long: ten A4 pages of dense Japanese text.
inline constexpr qsizetype kLongestShownLine = 16384;

// How much of `text` (line breaks as LF) a box shows: all of it, or up to
// kLongestShownLine characters into the first line longer than that. The cut
// never splits a surrogate pair.
qsizetype shownLength(QStringView text, qsizetype longestLine = kLongestShownLine);

} // namespace overlongline
