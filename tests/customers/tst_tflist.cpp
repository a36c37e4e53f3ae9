// SPDX-License-Identifier: GPL-3.0-or-later
// The data holder without a window: what a read returns, and the customer
// table it keeps from one read to the next.

#include "customers/tflist.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "../testfiles.h"
#include "customerreadcheck.h"
#include "fixturescript.h"

class TestTFList : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void textRead_data();
    void textRead();
    void tableOutlivesEachRead();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestTFList::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestTFList::textRead_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
    QTest::addColumn<bool>("unreadable");  // a file whose read fails, even for root
    QTest::addColumn<int>("keyIndex");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("errorShown");

    QTest::newRow("three lines, person key")
        << QByteArray("A,a\r\nB,b b\r\nC,c\r\n") << false << 1 << int(ReadKind::Read) << 3
        << QStringList{"a", u8("b　b"), "c"} << false;
    QTest::newRow("three lines, company key")
        << QByteArray("A,a\r\nB,b\r\nC,c\r\n") << false << 0 << int(ReadKind::Read) << 3
        << QStringList{"A", "B", "C"} << false;
    QTest::newRow("no file") << QByteArray() << false << 1 << int(ReadKind::Read) << 0
                             << QStringList{} << false;
    QTest::newRow("a bad line keeps the line count")
        << QByteArray("A,a\r\n\"open,b\r\nC,c\r\n") << false << 1 << int(ReadKind::BadLine) << 3
        << QStringList{} << true;
    QTest::newRow("a file that cannot be read")
        << QByteArray() << true << 1 << int(ReadKind::OpenFailed) << 0 << QStringList{} << true;
}

void TestTFList::textRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, unreadable);
    QFETCH(int, keyIndex);
    QFETCH(int, status);
    QFETCH(int, count);
    QFETCH(QStringList, entries);
    QFETCH(bool, errorShown);

    const QString file = path(QStringLiteral("smpl1.txt"));
    if (unreadable)
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), file));
    else if (!bytes.isEmpty())
        QVERIFY(writePlain(file, bytes));

    TFList list;
    const CustomerRead result = list.Button1Click(file, keyIndex);
    QCOMPARE(int(kindOf(result)), status);
    QCOMPARE(countOf(result), count);
    QCOMPARE(entriesOf(result), entries);
    QCOMPARE(!result.error().isEmpty(), errorShown);
}

void TestTFList::tableOutlivesEachRead()
{
    const QString failed = runFixtureScript("make-test-workbooks.pl", m_dir->path());
    QVERIFY2(failed.isEmpty(), qPrintable(failed));

    TFList list;
    const auto book = list.Button2Click(path(QStringLiteral("customers.xls")), 1);
    QCOMPARE(kindOf(book), ReadKind::Read);
    const QString column7 = list.sg1.cell(7, 0);
    QVERIFY(!column7.isEmpty());

    // A text read writes columns 0 to 5 only: the workbook's column 7 stays.
    QVERIFY(writePlain(path(QStringLiteral("smpl1.txt")), QByteArray("A,a\r\n")));
    const auto text = list.Button1Click(path(QStringLiteral("smpl1.txt")), 1);
    QCOMPARE(kindOf(text), ReadKind::Read);
    QCOMPARE(list.sg1.cell(0, 0), QStringLiteral("A"));
    QCOMPARE(list.sg1.cell(7, 0), column7);

    // A workbook that cannot be opened leaves the table as the text read left it.
    QVERIFY(writePlain(path(QStringLiteral("smpl2.xls")), QByteArray("no workbook")));
    const auto broken = list.Button2Click(path(QStringLiteral("smpl2.xls")), 1);
    QCOMPARE(kindOf(broken), ReadKind::OpenFailed);
    QVERIFY(!broken.error().isEmpty());
    QCOMPARE(list.sg1.cell(0, 0), QStringLiteral("A"));
    QCOMPARE(list.sg1.rowCount(), 1);
}

QTEST_GUILESS_MAIN(TestTFList)
#include "tst_tflist.moc"
