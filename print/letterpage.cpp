#include "print/letterpage.h"

#include "customers/addressblock.h"
#include "letter/lettermodel.h"

namespace letterpage {

QList<RenderBox> boxes(const LetterModel &letter)
{
    QList<RenderBox> list;
    for (int box = 0; box < boxtable::kBoxCount; ++box)
        list.append(RenderBox{letter.textOrigin(box), letter.font(box),
                              -letter.box(box).pixelHeight, Qt::black, letter.displayLines(box)});
    return list;
}

RenderPage build(const LetterModel &letter)
{
    return RenderPage::build(letter.page().pageWidth, letter.page().pageHeight, boxes(letter),
                             letter.lineSpacingDigit());
}

MergedLetters merged(const LetterModel &letter, const CustomerTable &table, int count,
                     addressblock::Layout layout)
{
    // The letter is copied: the pages stay as they were asked for, whatever
    // the window does with its letter while they are made.
    return MergedLetters(
        letter.page().pageWidth, letter.page().pageHeight, boxes(letter), letter.lineSpacingDigit(),
        boxtable::kAddresseeBox, count, [letter, rows = &table, layout](qsizetype index) {
            return letter.wrap(boxtable::kAddresseeBox,
                               addressblock::compose(*rows, static_cast<int>(index), layout));
        });
}

} // namespace letterpage
