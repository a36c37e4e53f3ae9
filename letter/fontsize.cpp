// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/fontsize.h"

#include "platform/rounding.h"

namespace fontsize {

int pointsFromPixelHeight(int pixels, int ppi)
{
    return rounding::mulDiv(pixels, 72, ppi);
}

int pixelHeightFromPoints(int points, int ppi)
{
    return rounding::mulDiv(points, ppi, 72);
}

} // namespace fontsize
