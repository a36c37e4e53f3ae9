// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter/boxtable.h"
#include "platform/rounding.h"

// Frames E, F and G are kept in the horizontal centre of the page: each gets
// left = (page width - own width) div 2, halved toward zero.
namespace centring {
constexpr auto kCentredBoxes = boxtable::kCentredBoxes;
constexpr int centredLeft(int pageWidth, int width)
{
    return rounding::div2(pageWidth - width);
}
} // namespace centring
