// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/fontsize.h"

#include <QTest>

class TestFontSize : public QObject
{
    Q_OBJECT
private slots:
    void pixelHeightFromPoints_data();
    void pixelHeightFromPoints();
    void pointsFromPixelHeight_data();
    void pointsFromPixelHeight();
};

void TestFontSize::pixelHeightFromPoints_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("ppi");
    QTest::addColumn<int>("pixels");

    QTest::newRow("16 pt at 96 ppi (21.33)") << 16 << 96 << 21;
    QTest::newRow("14 pt at 96 ppi (18.67)") << 14 << 96 << 19;
    QTest::newRow("11 pt at 96 ppi (14.67)") << 11 << 96 << 15;
    QTest::newRow("12 pt at 96 ppi") << 12 << 96 << 16;
    QTest::newRow("9 pt at 96 ppi") << 9 << 96 << 12;
    QTest::newRow("18 pt at 96 ppi (design font)") << 18 << 96 << 24;
    QTest::newRow("16 pt at 120 ppi (26.67)") << 16 << 120 << 27;
    QTest::newRow("12 pt at 120 ppi") << 12 << 120 << 20;
    QTest::newRow("8 pt at 120 ppi (13.33)") << 8 << 120 << 13;
    QTest::newRow("9 pt at 120 ppi") << 9 << 120 << 15;
    QTest::newRow("3 pt at 60 ppi (2.5 rounds away from zero)") << 3 << 60 << 3;
}

void TestFontSize::pixelHeightFromPoints()
{
    QFETCH(int, points);
    QFETCH(int, ppi);
    QFETCH(int, pixels);
    QCOMPARE(fontsize::pixelHeightFromPoints(points, ppi), pixels);
}

void TestFontSize::pointsFromPixelHeight_data()
{
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("ppi");
    QTest::addColumn<int>("points");

    QTest::newRow("21 px at 96 ppi (15.75)") << 21 << 96 << 16;
    QTest::newRow("19 px at 96 ppi (14.25)") << 19 << 96 << 14;
    QTest::newRow("15 px at 96 ppi (11.25)") << 15 << 96 << 11;
    QTest::newRow("16 px at 96 ppi") << 16 << 96 << 12;
    QTest::newRow("12 px at 96 ppi") << 12 << 96 << 9;
    QTest::newRow("24 px at 96 ppi (design font)") << 24 << 96 << 18;
    QTest::newRow("14 px at 96 ppi (10.5 rounds away from zero)") << 14 << 96 << 11;
    QTest::newRow("22 px at 96 ppi (16.5 rounds away from zero)") << 22 << 96 << 17;
    QTest::newRow("27 px at 120 ppi (16.2)") << 27 << 120 << 16;
    QTest::newRow("20 px at 120 ppi") << 20 << 120 << 12;
    QTest::newRow("13 px at 120 ppi (7.8)") << 13 << 120 << 8;
    QTest::newRow("25 px at 120 ppi (15)") << 25 << 120 << 15;
}

void TestFontSize::pointsFromPixelHeight()
{
    QFETCH(int, pixels);
    QFETCH(int, ppi);
    QFETCH(int, points);
    QCOMPARE(fontsize::pointsFromPixelHeight(pixels, ppi), points);
}

QTEST_APPLESS_MAIN(TestFontSize)
#include "tst_fontsize.moc"
