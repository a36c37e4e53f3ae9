// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/overlongline.h"

#include <QTest>

class TestOverlongLine : public QObject
{
    Q_OBJECT
private slots:
    void shownLength_data();
    void shownLength();
};

void TestOverlongLine::shownLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("longestLine");
    QTest::addColumn<int>("shown");

    QTest::newRow("empty text") << QString() << 4 << 0;
    QTest::newRow("line exactly at the limit is whole") << u"abcd"_qs << 4 << 4;
    QTest::newRow("one past the limit is cut") << u"abcde"_qs << 4 << 4;
    QTest::newRow("many short lines are whole") << u"abc\nabc\nabc\n"_qs << 4 << 12;
    QTest::newRow("cut inside the second line") << u"ab\nabcdefg\nx"_qs << 4 << 7;
    QTest::newRow("a break resets the count") << u"abcd\nabcd"_qs << 4 << 9;
    // "ab" then U+1F600 (two units) straddling the limit of three.
    QTest::newRow("no pair is split") << u"ab\U0001F600c"_qs << 3 << 2;
    QTest::newRow("pair before the limit stays") << u"\U0001F600abc"_qs << 3 << 3;
}

void TestOverlongLine::shownLength()
{
    QFETCH(QString, text);
    QFETCH(int, longestLine);
    QTEST(int(overlongline::shownLength(text, longestLine)), "shown");
}

QTEST_APPLESS_MAIN(TestOverlongLine)
#include "tst_overlongline.moc"
