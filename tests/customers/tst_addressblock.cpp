// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/addressblock.h"
#include "customers/customertable.h"

#include <QTest>

#include "../testfiles.h"

using addressblock::Layout;

namespace {

} // namespace

class TestAddressBlock : public QObject
{
    Q_OBJECT
private slots:
    void compose_data();
    void compose();
    void otherRowsAndColumnsIgnored();
};

void TestAddressBlock::compose_data()
{
    QTest::addColumn<QStringList>("cells"); // columns 0..7 of the row
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<QString>("block");

    const QStringList full{u8("会社A"), u8("担当B"), u8("部署C"), u8("住所D"),
                           u8("〒E"),   u8("F"),     u8("G"),     u8("〒H")};
    QTest::newRow("text layout") << full << Layout::Text
                                 << u8("会社A\r\n部署C\r\n  担当B  様\r\n   〒E");
    QTest::newRow("workbook layout")
        << full << Layout::Workbook << u8("担当B\r\n住所D\r\n  部署C  様\r\n   〒H");

    const QStringList empty(CustomerTable::kColumns, QString());
    QTest::newRow("text layout, all empty") << empty << Layout::Text << u8("\r\n\r\n    様\r\n   ");
    QTest::newRow("workbook layout, all empty")
        << empty << Layout::Workbook << u8("\r\n\r\n    様\r\n   ");

    QStringList noPerson = full;
    noPerson[1] = QString();
    QTest::newRow("text layout, empty person name")
        << noPerson << Layout::Text << u8("会社A\r\n部署C\r\n    様\r\n   〒E");

    QStringList spaced = full;
    spaced[0] = u8("株式会社\u3000山田");
    QTest::newRow("text layout keeps the ideographic space")
        << spaced << Layout::Text << u8("株式会社\u3000山田\r\n部署C\r\n  担当B  様\r\n   〒E");

    QStringList multiLine = full;
    multiLine[1] = u8("第一行\r\n第二行");
    QTest::newRow("workbook cell with a line break is taken as stored")
        << multiLine << Layout::Workbook
        << u8("第一行\r\n第二行\r\n住所D\r\n  部署C  様\r\n   〒H");
}

void TestAddressBlock::compose()
{
    QFETCH(QStringList, cells);
    QFETCH(Layout, layout);
    QFETCH(QString, block);

    CustomerTable table;
    for (int column = 0; column < cells.size(); ++column)
        table.setCell(column, 3, cells[column]);
    const QString composed = addressblock::compose(table, 3, layout);
    QCOMPARE(composed, block);
    QVERIFY(!composed.endsWith(u"\r\n"_qs));
}

void TestAddressBlock::otherRowsAndColumnsIgnored()
{
    CustomerTable table;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < CustomerTable::kColumns; ++column)
            table.setCell(column, row, QStringLiteral("r%1c%2").arg(row).arg(column));
    QCOMPARE(addressblock::compose(table, 1, Layout::Text),
             u8("r1c0\r\nr1c2\r\n  r1c1  様\r\n   r1c4"));
    QCOMPARE(addressblock::compose(table, 1, Layout::Workbook),
             u8("r1c1\r\nr1c3\r\n  r1c2  様\r\n   r1c7"));
    // A row never written gives the bare frame, still four lines.
    QCOMPARE(addressblock::compose(table, 7, Layout::Text).split(u"\r\n"_qs).size(), 4);
}

QTEST_APPLESS_MAIN(TestAddressBlock)
#include "tst_addressblock.moc"
