// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/customerlist.h"
#include "customers/customertable.h"

#include <QTest>

#include "../testfiles.h"

namespace {

} // namespace

class TestCustomerList : public QObject
{
    Q_OBJECT
private slots:
    void listEntriesWithout_data();
    void listEntriesWithout();
    void workbookEntriesFollowRows();
};

void TestCustomerList::listEntriesWithout_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QChar>("space");
    QTest::addColumn<QStringList>("shown");

    const QChar half(u' ');
    const QChar wide(0x3000);
    QTest::newRow("half-width spaces") << QStringList{u8("株式会社 山田"), u8(" a b ")} << half
                                       << QStringList{u8("株式会社山田"), u8("ab")};
    QTest::newRow("ideographic spaces kept when removing half-width")
        << QStringList{u8("佐藤　花子")} << half << QStringList{u8("佐藤　花子")};
    QTest::newRow("ideographic spaces") << QStringList{u8("山田　太郎"), u8("a b")} << wide
                                        << QStringList{u8("山田太郎"), u8("a b")};
    QTest::newRow("CR LF stays one entry") << QStringList{u8("第一行\r\n第二行"), u8("次")} << half
                                           << QStringList{u8("第一行 第二行"), u8("次")};
    QTest::newRow("LF and CR") << QStringList{u8("a\nb\rc")} << half << QStringList{u8("a b c")};
    QTest::newRow("LF CR is two breaks")
        << QStringList{u8("a\n\rb")} << half << QStringList{u8("a  b")};
    QTest::newRow("only a break") << QStringList{u8("\r\n")} << half << QStringList{u8(" ")};
    QTest::newRow("empty entries stay") << QStringList{QString(), u8(" "), QString()} << half
                                        << QStringList{QString(), QString(), QString()};
    QTest::newRow("no entries") << QStringList() << half << QStringList();
}

void TestCustomerList::listEntriesWithout()
{
    QFETCH(QStringList, entries);
    QFETCH(QChar, space);
    QFETCH(QStringList, shown);
    QCOMPARE(customerlist::listEntriesWithout(entries, space), shown);
}

void TestCustomerList::workbookEntriesFollowRows()
{
    CustomerTable table;
    table.setCell(1, 0, u8("株式会社 山田"));
    table.setCell(2, 0, u8("山田 太郎"));
    table.setCell(1, 1, u8("改行\n会社"));
    // Row 1 has no person: an empty entry, the count stays.
    table.setCell(1, 2, u8("三番"));
    table.setCell(2, 2, u8("担当三"));
    table.setCell(1, 3, u8("数に入らない"));

    QCOMPARE(customerlist::workbookEntries(table, 3, 0),
             (QStringList{u8("株式会社山田"), u8("改行 会社"), u8("三番")}));
    QCOMPARE(customerlist::workbookEntries(table, 3, 1),
             (QStringList{u8("山田太郎"), QString(), u8("担当三")}));
    QCOMPARE(customerlist::workbookEntries(table, 0, 1), QStringList());
}

QTEST_APPLESS_MAIN(TestCustomerList)
#include "tst_customerlist.moc"
