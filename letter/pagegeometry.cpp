// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/pagegeometry.h"

#include "platform/rounding.h"

#include <algorithm>

PageGeometry PageGeometry::forScreenHeight(int screenHeight)
{
    PageGeometry g;
    g.pageWidth = std::min(rounding::halfEven(screenHeight * 0.6), 590);
    g.pageHeight = rounding::halfEven(g.pageWidth * 1.414);
    g.borderWidth = borderWidthFor(screenHeight);
    g.minimumBoxHeight = minimumBoxHeightFor(screenHeight, g.borderWidth);
    return g;
}

int PageGeometry::borderWidthFor(int screenHeight)
{
    if (screenHeight <= 768)
        return 5;
    if (screenHeight <= 864)
        return 6;
    if (screenHeight <= 1024)
        return 7;
    if (screenHeight <= 1050)
        return 8;
    return 9;
}

int PageGeometry::minimumBoxHeightFor(int screenHeight, int borderWidth)
{
    const int divisor = rounding::halfEven(borderWidth / 2.5) + 24;
    return rounding::halfEven(double(screenHeight) / divisor);
}
