#pragma once

#include "print/renderpage.h"

#include <QList>
#include <QStringList>

#include <algorithm>
#include <vector>

// A full letter for the print benchmarks: eight boxes, 40 lines in all,
// placed as on a 1024 screen's page.
inline QList<RenderBox> fullLetterBoxes()
{
    const int lineCounts[8] = {12, 4, 6, 1, 1, 12, 1, 3};
    const QPoint corners[8] = {{62, 265},  {45, 46},   {45, 658},  {412, 46},
                               {206, 188}, {143, 452}, {262, 394}, {472, 612}};
    QList<RenderBox> boxes;
    for (int b = 0; b < 8; ++b) {
        QFont font(b % 2 ? QStringLiteral("IPAPGothic") : QStringLiteral("IPAPMincho"));
        font.setPixelSize(19);
        QStringList lines;
        for (int k = 0; k < lineCounts[b]; ++k)
            lines
                << QStringLiteral("拝啓　貴社ますますご清栄のこととお慶び申し上げます。%1").arg(k);
        boxes.append(RenderBox{corners[b], font, -19, Qt::black, lines});
    }
    return boxes;
}

inline double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
