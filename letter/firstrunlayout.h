// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter/boxtable.h"
#include "letter/pagegeometry.h"

#include <QRect>

#include <array>

// The layout a screen height gets when it has no settings file yet: the
// design page scaled to the page on this screen, with the fixed placements.
struct FirstRunLayout
{
    std::array<QRect, boxtable::kBoxCount> frames;
    std::array<int, boxtable::kBoxCount> fontPoints; // Memo1..Memo8

    // `frames` is the geometry the frames have when the layout runs (the
    // design rectangles at start-up).
    static FirstRunLayout compute(const PageGeometry &page,
                                  const std::array<QRect, boxtable::kBoxCount> &frames);
    static FirstRunLayout compute(const PageGeometry &page);
};
