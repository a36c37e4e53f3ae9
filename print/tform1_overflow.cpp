// SPDX-License-Identifier: GPL-3.0-or-later
// The overflow mark: a box whose text runs past its bottom edge shows a red
// mark on its frame's bottom rim, in edit mode and in the preview, since the
// hidden lines still print. The mark belongs to the screen only; the render
// page holds nothing but text.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "print/textoverflow.h"
#include "shell/panel.h"

void TForm1::showOverflow(int box)
{
    frames[box]->setOverflowMark(textOverflows(memos[box]));
}
