// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One row of the table scripts/bench.sh prints. A benchmark reports each
// measurement as one line on standard output:
//
//   BENCHROW <tab> name <tab> median ms <tab> min ms <tab> max ms <tab> runs
//            <tab> target <tab> floor
//
// `target` is free text ("-" for none); `floor` names another row of the
// same run whose median this row is divided by in the ratio column ("-" for
// none). Every other output line is shown under the table as a note.

#include <algorithm>
#include <cstdio>
#include <vector>

namespace benchrow {

inline double median(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const size_t n = ms.size();
    return n == 0 ? 0 : n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
}

inline void print(const char *name, const std::vector<double> &ms, const char *target = "-",
                  const char *floor = "-")
{
    const auto [low, high] = std::minmax_element(ms.begin(), ms.end());
    std::printf("BENCHROW\t%s\t%.3f\t%.3f\t%.3f\t%zu\t%s\t%s\n", name, median(ms),
                ms.empty() ? 0.0 : *low, ms.empty() ? 0.0 : *high, ms.size(), target, floor);
    std::fflush(stdout);
}

} // namespace benchrow
