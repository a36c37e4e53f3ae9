#pragma once

#include "platform/rounding.h"

// Frames E, F and G are kept in the horizontal centre of the page: each gets
// left = (page width - own width) div 2, halved toward zero.
namespace centring {
constexpr int kCentredBoxes[] = {4, 5, 6}; // E, F, G in this order
constexpr int centredLeft(int pageWidth, int width)
{
    return rounding::div2(pageWidth - width);
}
} // namespace centring
