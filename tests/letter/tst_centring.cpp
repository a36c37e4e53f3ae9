// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/centring.h"

#include <QTest>

class TestCentring : public QObject
{
    Q_OBJECT
private slots:
    void centring_data();
    void centring();
};

void TestCentring::centring_data()
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

void TestCentring::centring()
{
    QFETCH(int, pageWidth);
    QFETCH(int, width);
    QTEST(centring::centredLeft(pageWidth, width), "left");
}

QTEST_APPLESS_MAIN(TestCentring)
#include "tst_centring.moc"
