#pragma once

#include "print/mergedletters.h"
#include "print/renderpage.h"

class CustomerTable;
class LetterModel;

namespace addressblock {
enum class Layout;
}

// The letter on the render page, straight from the letter itself: each box's
// display lines at its text area's corner, in its font, black. The window's
// print and PDF, --pdf and the merges all come through here, so the paper,
// the PDF and the screen cannot drift apart.
namespace letterpage {

QList<RenderBox> boxes(const LetterModel &letter);
RenderPage build(const LetterModel &letter);

// One letter for each of the rows 0 .. count - 1 of `table`, box B holding
// that customer's addressee block wrapped as box B wraps; everything else
// as the letter is now. The table is read as each page is made.
MergedLetters merged(const LetterModel &letter, const CustomerTable &table, int count,
                     addressblock::Layout layout);

} // namespace letterpage
