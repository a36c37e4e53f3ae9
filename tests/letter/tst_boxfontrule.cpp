// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/boxfontrule.h"

#include <QTest>

class TestBoxFontRule : public QObject
{
    Q_OBJECT
private slots:
    void notesHeadingPoints_data();
    void notesHeadingPoints();
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

QTEST_APPLESS_MAIN(TestBoxFontRule)
#include "tst_boxfontrule.moc"
