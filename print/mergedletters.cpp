#include "print/mergedletters.h"

MergedLetters::MergedLetters(int pageWidth, int pageHeight, const QList<RenderBox> &boxes,
                             int digit, int addresseeBox, qsizetype count,
                             AddresseeLines addresseeLines)
    : m_pageWidth(pageWidth), m_pageHeight(pageHeight), m_boxes(boxes), m_digit(digit),
      m_addresseeBox(addresseeBox), m_count(count), m_addresseeLines(std::move(addresseeLines))
{
}

RenderPage MergedLetters::page(qsizetype index) const
{
    QList<RenderBox> boxes = m_boxes;
    if (m_addresseeBox >= 0 && m_addresseeBox < boxes.size() && index >= 0 && index < m_count)
        boxes[m_addresseeBox].lines = m_addresseeLines ? m_addresseeLines(index) : QStringList();
    return RenderPage::build(m_pageWidth, m_pageHeight, boxes, m_digit);
}
