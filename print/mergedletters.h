#pragma once

#include "print/renderpage.h"

#include <QList>
#include <QStringList>

#include <functional>

// One letter for every customer of the list: the page as the screen shows
// it, with the addressee box holding each customer's block instead of what
// it holds now. The letter on screen is never touched; each page is made
// from a snapshot of the boxes and the customer's own display lines.
class MergedLetters
{
public:
    // The display lines of customer `index`'s block, wrapped as the
    // addressee box on screen would wrap it.
    using AddresseeLines = std::function<QStringList(qsizetype index)>;

    MergedLetters() = default;
    // `boxes` in index order as they would print now; box `addresseeBox`
    // takes each customer's lines in turn.
    MergedLetters(int pageWidth, int pageHeight, const QList<RenderBox> &boxes, int digit,
                  int addresseeBox, qsizetype count, AddresseeLines addresseeLines);

    qsizetype count() const { return m_count; }

    // The letter of customer `index` (0 .. count() - 1), in list order.
    RenderPage page(qsizetype index) const;

private:
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    QList<RenderBox> m_boxes;
    int m_digit = 0;
    int m_addresseeBox = -1;
    qsizetype m_count = 0;
    AddresseeLines m_addresseeLines;
};
