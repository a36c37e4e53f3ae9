// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Box font sizes are whole points; the fonts themselves carry a character
// height in screen pixels. Both directions use MulDiv (halves away from
// zero) at the screen's pixels per inch.
namespace fontsize {

// Points of a character height: MulDiv(pixels, 72, ppi).
int pointsFromPixelHeight(int pixels, int ppi);

// Character height of a size in points: MulDiv(points, ppi, 72).
int pixelHeightFromPoints(int points, int ppi);

} // namespace fontsize
