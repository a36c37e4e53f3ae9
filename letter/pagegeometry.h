// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The page on the screen: its size, the frames' rim and the smallest box
// height, all fixed at start-up from the screen height.
struct PageGeometry
{
    int pageWidth = 0;
    int pageHeight = 0;
    int borderWidth = 0;
    int minimumBoxHeight = 0;

    static PageGeometry forScreenHeight(int screenHeight);
    static int borderWidthFor(int screenHeight);
    static int minimumBoxHeightFor(int screenHeight, int borderWidth);
};
