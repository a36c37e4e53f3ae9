// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/mergedletters.h"
#include "print/renderpage.h"

#include "print/sendlog.h"

#include <QStringList>

class CustomerTable;
class LetterModel;

namespace addressblock {
enum class Layout;
}

// The letter on the render page, straight from the letter itself: each box's
// display lines (its fields filled by the letter's customer) at its text
// area's corner, in its font, black. The window's print and PDF, --pdf and
// the merges all come through here, so the paper, the PDF and the screen
// cannot drift apart.
namespace letterpage {

QList<RenderBox> boxes(const LetterModel &letter);
RenderPage build(const LetterModel &letter);

// One letter for each of the rows 0 .. count - 1 of `table`: box B holding
// that customer's addressee block wrapped as box B wraps, the fields of
// every box filled by that customer's cells; everything else as the letter
// is now. The table is read as each page is made.
MergedLetters merged(const LetterModel &letter, const CustomerTable &table, int count,
                     addressblock::Layout layout);
// The same for the rows `rows` of `table` alone, page k being row rows[k]'s.
MergedLetters merged(const LetterModel &letter, const CustomerTable &table, const QList<int> &rows,
                     addressblock::Layout layout);

// What the send log says of a letter: the first lines of its boxes B and E
// as printed.
struct Heading
{
    QString addressee;
    QString title;
};
Heading heading(const LetterModel &letter);
// The same for each letter of a merge, in order (box B's first line is then
// the customer's company).
QList<Heading> mergedHeadings(const LetterModel &letter, const CustomerTable &table, int count,
                              addressblock::Layout layout);
QList<Heading> mergedHeadings(const LetterModel &letter, const CustomerTable &table,
                              const QList<int> &rows, addressblock::Layout layout);

// The send log's rows for letters that went out at `at` by `method` to
// `destination`, one a heading.
QList<sendlog::Entry> sentEntries(const QList<Heading> &headings, const QDateTime &at,
                                  sendlog::Method method, const QString &destination);

} // namespace letterpage
