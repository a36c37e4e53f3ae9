// SPDX-License-Identifier: GPL-3.0-or-later
// The two rounding rules the layout and the font sizes are computed with.
#include "platform/rounding.h"

#include <QTest>

#include <climits>

class TestRounding : public QObject
{
    Q_OBJECT
private slots:
    void halfEven_data();
    void halfEven();
    void mulDiv_data();
    void mulDiv();
};

void TestRounding::halfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("3.5") << 3.5 << 4;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("52.5 (height class 1050)") << 52.5 << 52;
    QTest::newRow("560.5") << 560.5 << 560;
    QTest::newRow("561.5") << 561.5 << 562;
    QTest::newRow("huge saturates") << 1e300 << INT_MAX;
}

void TestRounding::halfEven()
{
    QFETCH(double, value);
    QTEST(rounding::halfEven(value), "rounded");
}

void TestRounding::mulDiv_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("result");
    QTest::newRow("11 pt at 96 ppi") << 11 << 96 << 72 << 15;    // 14.67
    QTest::newRow("-15 px to points") << -15 << 72 << 96 << -11; // -11.25
    QTest::newRow("half away from zero") << 3 << 1 << 2 << 2;
    QTest::newRow("negative half away from zero") << -3 << 1 << 2 << -2;
    QTest::newRow("zero divisor") << 1 << 1 << 0 << -1;
    QTest::newRow("no overflow in the product") << 2000000000 << 3 << 4 << 1500000000;
}

void TestRounding::mulDiv()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QTEST(rounding::mulDiv(a, b, c), "result");
}

QTEST_APPLESS_MAIN(TestRounding)
#include "tst_rounding.moc"
