// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/firstrunlayout.h"
#include "letter/pagegeometry.h"

#include <QTest>

class TestFirstRunLayout : public QObject
{
    Q_OBJECT
private slots:
    void firstRunLayout_data();
    void firstRunLayout();
};

void TestFirstRunLayout::firstRunLayout_data()
{
    QTest::addColumn<int>("screen");
    QTest::addColumn<QList<QRect>>("expected");
    QTest::newRow("768") << 768 << QList<QRect>{{45, 201, 371, 90},  {32, 27, 215, 76},
                                                {32, 511, 215, 114}, {306, 27, 135, 30},
                                                {162, 140, 155, 30}, {45, 344, 242, 76},
                                                {198, 296, 36, 30},  {356, 456, 65, 30}};
    QTest::newRow("1080") << 1080 << QList<QRect>{{57, 257, 475, 116}, {41, 34, 276, 98},
                                                  {41, 654, 276, 146}, {397, 34, 173, 39},
                                                  {207, 179, 199, 39}, {57, 440, 310, 98},
                                                  {254, 378, 36, 39},  {466, 599, 84, 39}};
}

void TestFirstRunLayout::firstRunLayout()
{
    QFETCH(int, screen);
    QFETCH(QList<QRect>, expected);
    const FirstRunLayout layout = FirstRunLayout::compute(PageGeometry::forScreenHeight(screen));
    for (int i = 0; i < boxtable::kBoxCount; ++i)
        QCOMPARE(layout.frames[i], expected[i]);
    // Title two points larger, signature two smaller, the rest as the body.
    const int body = layout.fontPoints[0];
    const std::array<int, 8> points = {body, body, body - 2, body, body + 2, body, body, body};
    QCOMPARE(layout.fontPoints, points);
}

QTEST_APPLESS_MAIN(TestFirstRunLayout)
#include "tst_firstrunlayout.moc"
