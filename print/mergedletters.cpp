// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/mergedletters.h"

MergedLetters::MergedLetters(int pageWidth, int pageHeight, const QList<RenderBox> &boxes,
                             int digit, int addresseeBox, qsizetype count,
                             AddresseeLines addresseeLines)
    : MergedLetters(pageWidth, pageHeight, boxes, digit, QList<int>{addresseeBox}, count,
                    [addresseeLines = std::move(addresseeLines)](qsizetype index, int) {
                        return addresseeLines ? addresseeLines(index) : QStringList();
                    })
{
}

MergedLetters::MergedLetters(int pageWidth, int pageHeight, const QList<RenderBox> &boxes,
                             int digit, const QList<int> &letterBoxes, qsizetype count,
                             BoxLines lines)
    : m_pageWidth(pageWidth), m_pageHeight(pageHeight), m_boxes(boxes), m_digit(digit),
      m_letterBoxes(letterBoxes), m_count(count), m_lines(std::move(lines))
{
}

RenderPage MergedLetters::page(qsizetype index) const
{
    QList<RenderBox> boxes = m_boxes;
    if (index >= 0 && index < m_count) {
        for (int box : m_letterBoxes) {
            if (box >= 0 && box < boxes.size())
                boxes[box].lines = m_lines ? m_lines(index, box) : QStringList();
        }
    }
    return RenderPage::build(m_pageWidth, m_pageHeight, boxes, m_digit);
}
