// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/firstrunlayout.h"
#include "letter/pagegeometry.h"

#include <QTest>

class TestPageGeometry : public QObject
{
    Q_OBJECT
private slots:
    void geometry_data();
    void geometry();
};

void TestPageGeometry::geometry_data()
{
    QTest::addColumn<int>("screen");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("border");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("bodyPoints");
    QTest::newRow("600") << 600 << 360 << 509 << 5 << 23 << 8;
    QTest::newRow("720") << 720 << 432 << 611 << 5 << 28 << 10;
    QTest::newRow("768") << 768 << 461 << 652 << 5 << 30 << 11;
    QTest::newRow("800") << 800 << 480 << 679 << 6 << 31 << 11;
    QTest::newRow("864") << 864 << 518 << 732 << 6 << 33 << 12;
    QTest::newRow("900") << 900 << 540 << 764 << 7 << 33 << 13;
    QTest::newRow("983 rounds up to the cap") << 983 << 590 << 834 << 7 << 36 << 14;
    QTest::newRow("1024") << 1024 << 590 << 834 << 7 << 38 << 14;
    QTest::newRow("1050") << 1050 << 590 << 834 << 8 << 39 << 14;
    QTest::newRow("1080") << 1080 << 590 << 834 << 9 << 39 << 14;
}

void TestPageGeometry::geometry()
{
    QFETCH(int, screen);
    const PageGeometry g = PageGeometry::forScreenHeight(screen);
    QTEST(g.pageWidth, "width");
    QTEST(g.pageHeight, "height");
    QTEST(g.borderWidth, "border");
    QTEST(g.minimumBoxHeight, "minimum");
    QTEST(FirstRunLayout::compute(g).fontPoints[0], "bodyPoints");
}

QTEST_APPLESS_MAIN(TestPageGeometry)
#include "tst_pagegeometry.moc"
