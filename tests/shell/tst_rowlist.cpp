// SPDX-License-Identifier: GPL-3.0-or-later
// The rows written after --only: what is read, what is refused before the
// list is read, and what the list's length refuses afterwards.

#include "shell/rowlist.h"

#include <QTest>

class TestRowList : public QObject
{
    Q_OBJECT
private slots:
    void rows_data();
    void rows();
    void refused_data();
    void refused();
};

void TestRowList::rows_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("rows"); // 0-based, as a merge sends them

    QTest::newRow("one row") << "3" << 12 << QList<int>{2};
    QTest::newRow("a stretch") << "2-4" << 12 << QList<int>{1, 2, 3};
    QTest::newRow("a stretch of one") << "5-5" << 12 << QList<int>{4};
    QTest::newRow("written out of order goes in list order")
        << "9,1,4-5" << 12 << QList<int>{0, 3, 4, 8};
    QTest::newRow("overlaps count once") << "1-3,2-4,3" << 12 << QList<int>{0, 1, 2, 3};
    QTest::newRow("blanks around items") << " 1 , 3 - 4 " << 12 << QList<int>{0, 2, 3};
    QTest::newRow("the last row") << "12" << 12 << QList<int>{11};
    QTest::newRow("leading zeros") << "007" << 12 << QList<int>{6};
}

void TestRowList::rows()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QList<int>, rows);
    const Result<QList<rowlist::Span>> spans = rowlist::parse(text);
    QVERIFY2(spans.ok(), qPrintable(spans.error()));
    const Result<QList<int>> got = rowlist::rows(*spans, count);
    QVERIFY2(got.ok(), qPrintable(got.error()));
    QCOMPARE(*got, rows);
}

void TestRowList::refused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count"); // the list's length, for what parses
    QTest::addColumn<QString>("says");

    QTest::newRow("row 0") << "0" << 12 << "not '0'";
    QTest::newRow("backwards") << "5-2" << 12 << "write 2-5";
    QTest::newRow("empty item") << "1,,2" << 12 << "empty item";
    QTest::newRow("trailing comma") << "1," << 12 << "empty item";
    QTest::newRow("nothing") << "" << 12 << "needs row numbers";
    QTest::newRow("blanks only") << "  " << 12 << "needs row numbers";
    QTest::newRow("negative") << "-3" << 12 << "not '-3'";
    QTest::newRow("open stretch") << "3-" << 12 << "not '3-'";
    QTest::newRow("letters") << "a" << 12 << "not 'a'";
    QTest::newRow("sign") << "+3" << 12 << "not '+3'";
    QTest::newRow("two dashes") << "1-2-3" << 12 << "not '1-2-3'";
    QTest::newRow("full-width digits") << "３" << 12 << "not '３'";
    QTest::newRow("more digits than any number")
        << "123456789012345678901234567890" << 12 << "not '123456789012345678901234567890'";
    QTest::newRow("beyond a list of 12") << "99999999999" << 12 << "no row 99999999999";
    QTest::newRow("a stretch past the end") << "10-99999999" << 12 << "no row 13";
    QTest::newRow("row 1 of an empty list") << "1" << 0 << "no row 1";
}

void TestRowList::refused()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QString, says);
    const Result<QList<rowlist::Span>> spans = rowlist::parse(text);
    QString error = spans.error();
    if (spans) {
        const Result<QList<int>> rows = rowlist::rows(*spans, count);
        QVERIFY2(!rows.ok(), qPrintable(text));
        error = rows.error();
    }
    QVERIFY2(error.contains(says), qPrintable(error));
}

QTEST_APPLESS_MAIN(TestRowList)
#include "tst_rowlist.moc"
