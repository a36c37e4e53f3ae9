// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/customerlistmodel.h"
#include "customers/customerlistsession.h"
#include "customers/tflist.h"
#include "platform/cp932.h"

#include "../testfiles.h"

#include <QSignalSpy>
#include <QtTest>

// The customer list as the window keeps it: what a read leaves in the list
// and the count, what a merge takes, and the list view's model over it.
class TestCustomerListSession : public QObject
{
    Q_OBJECT
private slots:
    void readShowsEntriesAndCount_data();
    void readShowsEntriesAndCount();
    void countText();
    void mergeCount_data();
    void mergeCount();
    void modelFollowsTheList_data();
    void modelFollowsTheList();
};

namespace {
// The text file's lines as a user's program writes them, in code page 932.
QByteArray textFile(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += cp932::encode(line) + "\r\n";
    return bytes;
}
} // namespace

void TestCustomerListSession::readShowsEntriesAndCount_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("ok");

    QTest::newRow("two customers")
        << QStringList{"ALPHACO,PA,DA,100,ADDRA", "BRAVOCO,PB,DB,200,ADDRB"}
        << QStringList{"PA", "PB"} << 2 << true;
    // A bad line would put every later entry at another row's place: the
    // list shows nothing, the count still the file's lines.
    QTest::newRow("an open quote before the address")
        << QStringList{"ALPHACO,PA,DA,100,ADDRA", "\"BRAVOCO,PB,DB,200,ADDRB"} << QStringList{} << 2
        << false;
}

void TestCustomerListSession::readShowsEntriesAndCount()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, ok);
    ProgramDir dir;
    dir.writeFile(QStringLiteral("smpl1.txt"), textFile(lines));
    TFList holder;
    CustomerListSession session;
    session.setHolder(&holder);
    session.setEntries({QStringLiteral("left over")});
    QSignalSpy shown(&session, &CustomerListSession::entriesChanged);

    const CustomerRead read =
        session.read(customersource::Source::TextList, dir.path(QStringLiteral("smpl1.txt")), 1);
    QCOMPARE(read.ok(), ok);
    QTEST(session.entries(), "entries");
    QTEST(session.count(), "count");
    QCOMPARE(session.countText(), QStringLiteral("/%1").arg(session.count()));
    QVERIFY(!shown.isEmpty());
}

void TestCustomerListSession::countText()
{
    CustomerListSession session;
    QSignalSpy said(&session, &CustomerListSession::countTextChanged);
    session.setEntries({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    session.hideCount();
    QCOMPARE(session.countText(), QString());
    session.showCount();
    QCOMPARE(session.countText(), QStringLiteral("/0")); // nothing was read yet
    session.choose(1);
    QCOMPARE(session.countText(), QStringLiteral("2/0"));
    QCOMPARE(said.count(), 3);
    QCOMPARE(said.last().first().toString(), session.countText());
}

void TestCustomerListSession::mergeCount_data()
{
    QTest::addColumn<int>("source"); // -1: none
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expected");

    using S = customersource::Source;
    QTest::newRow("a text list") << int(S::TextList) << 3 << 3 << 3;
    QTest::newRow("a workbook list") << int(S::WorkbookList) << 3 << 3 << 3;
    // A workbook read that stopped at a cell lists only the rows before it.
    QTest::newRow("fewer entries than counted") << int(S::WorkbookList) << 2 << 3 << 2;
    QTest::newRow("a bad line: nothing listed") << int(S::TextList) << 0 << 5 << 0;
    QTest::newRow("the merge workbook is never read") << int(S::MergeWorkbook) << 3 << 3 << 0;
    QTest::newRow("a mode without a list") << -1 << 3 << 3 << 0;
}

void TestCustomerListSession::mergeCount()
{
    QFETCH(int, source);
    QFETCH(int, entries);
    QFETCH(int, count);
    ProgramDir dir;
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(QStringLiteral("CO%1,P%1,D,100,ADDR").arg(i));
    dir.writeFile(QStringLiteral("smpl1.txt"), textFile(lines));
    TFList holder;
    CustomerListSession session;
    session.setHolder(&holder);
    (void)session.read(customersource::Source::TextList, dir.path(QStringLiteral("smpl1.txt")), 1);
    session.setEntries(session.entries().mid(0, entries));
    session.setSource(source < 0 ? std::nullopt
                                 : std::optional(static_cast<customersource::Source>(source)));
    QTEST(session.mergeCount(), "expected");
}

void TestCustomerListSession::modelFollowsTheList_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<bool>>("tips"); // per row: a tooltip or none

    QTest::newRow("all names differ")
        << QStringList{"A,山田,D,1,X", "B,佐藤,D,2,Y"} << QList<bool>{false, false};
    QTest::newRow("a name twice") << QStringList{"A,山田,D,1,X", "B,佐藤,D,2,Y", "C,山田,D,3,Z"}
                                  << QList<bool>{true, false, true};
    QTest::newRow("names that only share a start")
        << QStringList{"A,山田,D,1,X", "B,山田太郎,D,2,Y"} << QList<bool>{false, false};
}

void TestCustomerListSession::modelFollowsTheList()
{
    QFETCH(QStringList, lines);
    QFETCH(QList<bool>, tips);
    ProgramDir dir;
    dir.writeFile(QStringLiteral("smpl1.txt"), textFile(lines));
    TFList holder;
    CustomerListSession session;
    session.setHolder(&holder);
    CustomerListModel model(&session);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QVERIFY(session.read(customersource::Source::TextList, dir.path(QStringLiteral("smpl1.txt")), 1)
                .ok());

    QStringList names;
    for (const QString &line : lines)
        names.append(line.section(u',', 1, 1));
    QCOMPARE(session.entries(), names);
    QVERIFY(!reset.isEmpty());
    QCOMPARE(model.rowCount(), names.size());
    for (int row = 0; row < names.size(); ++row) {
        const QModelIndex index = model.index(row);
        QCOMPARE(index.data(Qt::DisplayRole).toString(), names[row]);
        // The tooltip tells namesakes apart by their company.
        const QString tip = index.data(Qt::ToolTipRole).toString();
        QCOMPARE(!tip.isEmpty(), tips[row]);
        if (tips[row])
            QVERIFY2(tip.contains(lines[row].section(u',', 0, 0)), qPrintable(tip));
    }
    session.setEntries({});
    QCOMPARE(model.rowCount(), 0);
}

QTEST_GUILESS_MAIN(TestCustomerListSession)
#include "tst_customerlistsession.moc"
