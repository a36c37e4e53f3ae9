// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/boxfontrule.h"

#include "platform/rounding.h"

namespace boxfontrule {

int notesHeadingPoints(int titlePoints)
{
    // * 85 / 100 rather than * 0.85: 0.85 has no exact binary form, and the
    // ties (10 -> 8.5) must be seen as ties. The product is exact in a double.
    return rounding::halfEven(static_cast<double>(titlePoints) * 85.0 / 100.0);
}

} // namespace boxfontrule
