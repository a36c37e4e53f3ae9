// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/letterpage.h"

#include "customers/addressblock.h"
#include "customers/customerfields.h"
#include "letter/lettermodel.h"
#include "print/sendlog.h"

#include <memory>

namespace letterpage {

namespace {
// The letter as customer `row` of `table` gets it: that customer's block in
// box B, that customer's cells for the fields.
LetterModel letterFor(LetterModel letter, const CustomerTable &table, int row,
                      addressblock::Layout layout)
{
    letter.setCustomer(customerfields::of(table, row, layout));
    letter.setText(boxtable::kAddresseeBox, addressblock::compose(table, row, layout));
    return letter;
}
} // namespace

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

namespace {
QList<int> firstRows(int count)
{
    QList<int> rows;
    rows.reserve(qMax(count, 0));
    for (int row = 0; row < count; ++row)
        rows.append(row);
    return rows;
}
} // namespace

MergedLetters merged(const LetterModel &letter, const CustomerTable &table, int count,
                     addressblock::Layout layout)
{
    return merged(letter, table, firstRows(count), layout);
}

MergedLetters merged(const LetterModel &letter, const CustomerTable &table, const QList<int> &rows,
                     addressblock::Layout layout)
{
    // Box B and the boxes with fields differ from letter to letter; the
    // others are wrapped once. The letter is copied: the pages stay as they
    // were asked for, whatever the window does with its letter meanwhile.
    QList<int> perLetter = {boxtable::kAddresseeBox};
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        if (box != boxtable::kAddresseeBox && letterfields::hasFields(letter.box(box).text))
            perLetter.append(box);
    }
    // The customer's letter is made once for all its boxes.
    struct Current
    {
        qsizetype row = -1;
        std::unique_ptr<LetterModel> letter;
    };
    auto current = std::make_shared<Current>();
    return MergedLetters(letter.page().pageWidth, letter.page().pageHeight, boxes(letter),
                         letter.lineSpacingDigit(), perLetter, rows.size(),
                         [letter, table = &table, rows, layout, current](qsizetype index, int box) {
                             if (current->row != index) {
                                 current->letter = std::make_unique<LetterModel>(
                                     letterFor(letter, *table, rows.at(index), layout));
                                 current->row = index;
                             }
                             return current->letter->displayLines(box);
                         });
}

Heading heading(const LetterModel &letter)
{
    return {sendlog::firstLine(letter.printedText(boxtable::kAddresseeBox)),
            sendlog::firstLine(letter.printedText(boxtable::indexOf(boxtable::Role::Title)))};
}

QList<Heading> mergedHeadings(const LetterModel &letter, const CustomerTable &table, int count,
                              addressblock::Layout layout)
{
    return mergedHeadings(letter, table, firstRows(count), layout);
}

QList<Heading> mergedHeadings(const LetterModel &letter, const CustomerTable &table,
                              const QList<int> &rows, addressblock::Layout layout)
{
    QList<Heading> headings;
    headings.reserve(rows.size());
    for (int row : rows)
        headings.append(heading(letterFor(letter, table, row, layout)));
    return headings;
}

QList<sendlog::Entry> sentEntries(const QList<Heading> &headings, const QDateTime &at,
                                  sendlog::Method method, const QString &destination)
{
    QList<sendlog::Entry> entries;
    entries.reserve(headings.size());
    for (const Heading &h : headings)
        entries.append({at, method, h.addressee, h.title, destination});
    return entries;
}

} // namespace letterpage
