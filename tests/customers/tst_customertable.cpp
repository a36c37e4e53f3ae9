// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/customertable.h"

#include <QTest>

// A step of a scenario: write `text` into (column, row).
struct Write
{
    int column;
    int row;
    QString text;
};
Q_DECLARE_METATYPE(QList<Write>)

class TestCustomerTable : public QObject
{
    Q_OBJECT
private slots:
    void cells_data();
    void cells();
    void onlyWrittenColumnsTakeRoom();
    void longCellsAndRewritesKeepEveryValue_data();
    void longCellsAndRewritesKeepEveryValue();
};

void TestCustomerTable::cells_data()
{
    QTest::addColumn<QList<Write>>("writes");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");

    QTest::newRow("never written reads empty") << QList<Write>{} << 3 << 5 << QString();
    QTest::newRow("written far beyond the rows")
        << QList<Write>{{2, 1000, "x"}} << 2 << 1000 << "x";
    QTest::newRow("rows before a far write read empty")
        << QList<Write>{{2, 1000, "x"}} << 2 << 999 << QString();
    QTest::newRow("shorter rewrite")
        << QList<Write>{{0, 0, "山田商事"}, {0, 0, "山田"}} << 0 << 0 << "山田";
    QTest::newRow("longer rewrite")
        << QList<Write>{{0, 0, "a"}, {0, 1, "b"}, {0, 0, "abcdef"}} << 0 << 0 << "abcdef";
    QTest::newRow("longer rewrite leaves the neighbour")
        << QList<Write>{{0, 0, "a"}, {0, 1, "b"}, {0, 0, "abcdef"}} << 0 << 1 << "b";
    QTest::newRow("empty rewrite clears")
        << QList<Write>{{1, 4, "x"}, {1, 4, ""}} << 1 << 4 << QString();
    QTest::newRow("rewrite after clearing")
        << QList<Write>{{1, 4, "xyz"}, {1, 4, ""}, {1, 4, "q"}} << 1 << 4 << "q";
    QTest::newRow("one-byte text over two-byte text")
        << QList<Write>{{2, 0, "山田商事株式会社"}, {2, 0, "03-1234"}} << 2 << 0 << "03-1234";
    QTest::newRow("two-byte text over one-byte text of the same length")
        << QList<Write>{{2, 0, "abcd"}, {2, 0, "山田"}} << 2 << 0 << "山田";
    QTest::newRow("Latin-1 letters stay themselves")
        << QList<Write>{{0, 0, "café ÿ"}} << 0 << 0 << "café ÿ";
    QTest::newRow("columns are apart")
        << QList<Write>{{6, 0, "six"}, {7, 0, "seven"}} << 7 << 0 << "seven";
    QTest::newRow("column out of range is ignored")
        << QList<Write>{{8, 0, "x"}} << 8 << 0 << QString();
    QTest::newRow("negative row is ignored") << QList<Write>{{0, -1, "x"}} << 0 << -1 << QString();
}

void TestCustomerTable::cells()
{
    QFETCH(QList<Write>, writes);
    QFETCH(int, column);
    QFETCH(int, row);
    CustomerTable table;
    for (const Write &w : writes)
        table.setCell(w.column, w.row, w.text);
    QTEST(table.cell(column, row), "expected");
}

void TestCustomerTable::onlyWrittenColumnsTakeRoom()
{
    CustomerTable table;
    table.reserveRows(1000);
    for (int row = 0; row < 1000; ++row) {
        for (int column = 0; column < 6; ++column)
            table.setCell(column, row, column == 3 ? QString() : QStringLiteral("株式会社"));
    }
    // Column 3 only ever got empty texts; 6 and 7 nothing at all.
    for (int column : {3, 6, 7})
        QVERIFY2(!table.hasColumn(column), qPrintable(QString::number(column)));
    // Five columns of 1000 four-character cells: the characters and a span
    // per cell, with the room of one chunk per column at most.
    QVERIFY(table.storedBytes() <= 5 * (2 * 1024 * 1024 + 1000 * 8));
    QCOMPARE(table.cell(5, 999), QStringLiteral("株式会社"));
}

void TestCustomerTable::longCellsAndRewritesKeepEveryValue_data()
{
    QTest::addColumn<int>("cellLength");
    QTest::addColumn<int>("rounds");
    QTest::newRow("cells beyond one storage chunk") << 1500000 << 1;
    QTest::newRow("many rewrites with growing texts force clean-ups") << 700 << 12;
}

void TestCustomerTable::longCellsAndRewritesKeepEveryValue()
{
    QFETCH(int, cellLength);
    QFETCH(int, rounds);
    const int rows = 3000000 / cellLength + 3;
    CustomerTable table;
    for (int round = 0; round < rounds; ++round) {
        for (int row = 0; row < rows; ++row) {
            const QString text = QString(cellLength + round, QChar(u'a' + (row + round) % 26));
            table.setCell(1, row, text);
        }
    }
    const int last = rounds - 1;
    for (int row = 0; row < rows; ++row) {
        const QString cell = table.cell(1, row);
        QCOMPARE(cell.size(), cellLength + last);
        QCOMPARE(cell.front(), QChar(u'a' + (row + last) % 26));
    }
    // Dead text from earlier rounds does not pile up without bound.
    QVERIFY(table.storedBytes() < 4LL * rows * (cellLength + last) * 2 + 8 * 1024 * 1024);
}

QTEST_APPLESS_MAIN(TestCustomerTable)
#include "tst_customertable.moc"
