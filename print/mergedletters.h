// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/renderpage.h"

#include <QList>
#include <QStringList>

#include <functional>

// One letter for every customer of the list: the page as it prints now,
// with the boxes that differ from customer to customer (the addressee box
// with each customer's block, a box with fields with that customer's cells)
// holding that customer's lines. The letter on screen is never touched; each
// page is made from a snapshot of the boxes and the customer's own lines.
class MergedLetters
{
public:
    // The display lines of customer `index`'s block, wrapped as the
    // addressee box on screen would wrap it.
    using AddresseeLines = std::function<QStringList(qsizetype index)>;
    // The display lines of box `box` in customer `index`'s letter.
    using BoxLines = std::function<QStringList(qsizetype index, int box)>;

    MergedLetters() = default;
    // `boxes` in index order as they would print now; box `addresseeBox`
    // takes each customer's lines in turn.
    MergedLetters(int pageWidth, int pageHeight, const QList<RenderBox> &boxes, int digit,
                  int addresseeBox, qsizetype count, AddresseeLines addresseeLines);
    // The same where each of `letterBoxes` takes its lines from `lines`.
    MergedLetters(int pageWidth, int pageHeight, const QList<RenderBox> &boxes, int digit,
                  const QList<int> &letterBoxes, qsizetype count, BoxLines lines);

    qsizetype count() const { return m_count; }

    // The letter of customer `index` (0 .. count() - 1), in list order.
    RenderPage page(qsizetype index) const;

private:
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    QList<RenderBox> m_boxes;
    int m_digit = 0;
    QList<int> m_letterBoxes;
    qsizetype m_count = 0;
    BoxLines m_lines;
};
