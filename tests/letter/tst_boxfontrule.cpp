#include "letter/boxfontrule.h"
#include "letter/fontsize.h"

#include <QTest>

class TestBoxFontRule : public QObject
{
    Q_OBJECT
private slots:
    void notesHeadingPoints_data();
    void notesHeadingPoints();
    void pixelHeightFromPoints_data();
    void pixelHeightFromPoints();
    void pointsFromPixelHeight_data();
    void pointsFromPixelHeight();
};

void TestBoxFontRule::notesHeadingPoints_data()
{
    QTest::addColumn<int>("title");
    QTest::addColumn<int>("notesHeading");

    QTest::newRow("16 -> 13.6 -> 14") << 16 << 14;
    QTest::newRow("10 -> 8.5 rounds to even 8") << 10 << 8;
    QTest::newRow("30 -> 25.5 rounds to even 26") << 30 << 26;
    QTest::newRow("50 -> 42.5 rounds to even 42") << 50 << 42;
    QTest::newRow("20 -> 17") << 20 << 17;
    QTest::newRow("8 -> 6.8 -> 7, below the dialog's minimum") << 8 << 7;
    QTest::newRow("12 -> 10.2 -> 10") << 12 << 10;
    QTest::newRow("24 -> 20.4 -> 20") << 24 << 20;
    QTest::newRow("9 -> 7.65 -> 8") << 9 << 8;
}

void TestBoxFontRule::notesHeadingPoints()
{
    QFETCH(int, title);
    QFETCH(int, notesHeading);
    QCOMPARE(boxfontrule::notesHeadingPoints(title), notesHeading);
}

void TestBoxFontRule::pixelHeightFromPoints_data()
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

void TestBoxFontRule::pixelHeightFromPoints()
{
    QFETCH(int, points);
    QFETCH(int, ppi);
    QFETCH(int, pixels);
    QCOMPARE(fontsize::pixelHeightFromPoints(points, ppi), pixels);
}

void TestBoxFontRule::pointsFromPixelHeight_data()
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

void TestBoxFontRule::pointsFromPixelHeight()
{
    QFETCH(int, pixels);
    QFETCH(int, ppi);
    QFETCH(int, points);
    QCOMPARE(fontsize::pointsFromPixelHeight(pixels, ppi), points);
}

QTEST_APPLESS_MAIN(TestBoxFontRule)
#include "tst_boxfontrule.moc"
