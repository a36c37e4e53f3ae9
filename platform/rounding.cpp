// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/rounding.h"

#include <climits>
#include <cmath>

namespace rounding {

int halfEven(double value)
{
    const double r = std::nearbyint(value); // default FE_TONEAREST: ties to even
    if (r >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (r <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(r);
}

int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t absProduct = product < 0 ? -product : product;
    const std::int64_t absC = c < 0 ? -static_cast<std::int64_t>(c) : c;
    std::int64_t q = (absProduct + absC / 2) / absC;
    const bool negative = (product < 0) != (c < 0);
    if (negative)
        q = -q;
    if (q > INT_MAX || q < INT_MIN)
        return -1;
    return static_cast<int>(q);
}

} // namespace rounding
