#include "letter/centring.h"
#include "letter/firstrunlayout.h"
#include "letter/lettertexts.h"
#include "letter/pagegeometry.h"

#include <QTest>

class TestPageGeometry : public QObject
{
    Q_OBJECT
private slots:
    void geometry_data();
    void geometry();
    void firstRunLayout_data();
    void firstRunLayout();
    void centring_data();
    void centring();
    void issueDate();
    void monthlyHeading_data();
    void monthlyHeading();
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

void TestPageGeometry::firstRunLayout_data()
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

void TestPageGeometry::firstRunLayout()
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

void TestPageGeometry::centring_data()
{
    QTest::addColumn<int>("pageWidth");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("left");
    QTest::newRow("F at 768") << 461 << 242 << 109;
    QTest::newRow("E at 768") << 461 << 155 << 153;
    QTest::newRow("G at 768") << 461 << 36 << 212;
    QTest::newRow("wider than the page halves toward zero") << 461 << 466 << -2;
    QTest::newRow("much wider") << 461 << 472 << -5;
}

void TestPageGeometry::centring()
{
    QFETCH(int, pageWidth);
    QFETCH(int, width);
    QTEST(centring::centredLeft(pageWidth, width), "left");
}

void TestPageGeometry::issueDate()
{
    QCOMPARE(lettertexts::issueDate(QDate(2027, 3, 6)), QStringLiteral("2027年03月06日"));
    QCOMPARE(lettertexts::issueDate(QDate(2026, 12, 31)), QStringLiteral("2026年12月31日"));
}

void TestPageGeometry::monthlyHeading_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("January gives December")
        << QDate(2027, 1, 15) << QStringLiteral("12月実績 ご連絡票");
    QTest::newRow("October") << QDate(2026, 10, 1) << QStringLiteral("9月実績 ご連絡票");
    QTest::newRow("November") << QDate(2026, 11, 30) << QStringLiteral("10月実績 ご連絡票");
}

void TestPageGeometry::monthlyHeading()
{
    QFETCH(QDate, today);
    QFETCH(QString, firstLine);
    QCOMPARE(lettertexts::monthlyReportHeading(today),
             firstLine + QStringLiteral("\r\n\r\n送信枚数 ２ 枚 (本状含む)"));
}

QTEST_APPLESS_MAIN(TestPageGeometry)
#include "tst_pagegeometry.moc"
