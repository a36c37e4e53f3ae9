// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The two rounding rules the program uses everywhere.
namespace rounding {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
int halfEven(double value);

// a * b / c with the product in 64 bits, rounded half away from zero, as
// Windows' MulDiv; a zero divisor gives -1.
int mulDiv(int a, int b, int c);

// Truncating halving ("x div 2"): -5 -> -2.
constexpr int div2(int x)
{
    return x / 2;
}

} // namespace rounding
