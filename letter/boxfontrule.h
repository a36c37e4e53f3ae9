// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The size rule of the title group (boxtable::inTitleGroup): the notes
// heading and the closing mark take 85 % of the title's size.
namespace boxfontrule {

// Round(titlePoints * 0.85), halves to even: 16 -> 14, 10 -> 8, 8 -> 7.
// Not held to the dialog's 8..24; an 8-point title gives 7.
int notesHeadingPoints(int titlePoints);

} // namespace boxfontrule
