// SPDX-License-Identifier: GPL-3.0-or-later
// What the list, the count label and the error report show after a read of
// each data source, the same for the window and --customers.

#include "customers/customersource.h"
#include "customers/tflist.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "../testfiles.h"
#include "fixturescript.h"

class TestCustomerSource : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void shown_data();
    void shown();

private:
    QTemporaryDir m_dir;
};

void TestCustomerSource::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString failed = runFixtureScript("make-test-workbooks.pl", m_dir.path());
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
}

using Source = customersource::Source;
using Entries = std::optional<QStringList>;
using Count = std::optional<int>;
Q_DECLARE_METATYPE(Entries)
Q_DECLARE_METATYPE(Count)

void TestCustomerSource::shown_data()
{
    QTest::addColumn<Source>("source");
    QTest::addColumn<QString>("file");     // in the fixture folder
    QTest::addColumn<QByteArray>("bytes"); // written to `file` unless empty
    QTest::addColumn<Entries>("entries");  // nothing: the list keeps what it showed
    QTest::addColumn<Count>("count");      // nothing: the label keeps its count
    QTest::addColumn<bool>("errorShown");

    QTest::newRow("text list: the spaces that stood for half-width ones go")
        << Source::TextList << "good.txt" << QByteArray("A,a\r\nB,b b\r\n")
        << Entries(QStringList{"a", "bb"}) << Count(2) << false;
    QTest::newRow("text list: a bad line empties the list, the count stands")
        << Source::TextList << "bad.txt" << QByteArray("A,a\r\n\"open,b\r\nC,c\r\n")
        << Entries(QStringList{}) << Count(3) << true;
    QTest::newRow("text list: no file reads as none")
        << Source::TextList << "none.txt" << QByteArray() << Entries(QStringList{}) << Count(0)
        << false;
    QTest::newRow("text list: a file that cannot be read")
        << Source::TextList << "unreadable.txt" << QByteArray() << Entries(QStringList{})
        << Count(0) << true;
    QTest::newRow("workbook: every customer") << Source::WorkbookList << "customers.xls"
                                              << QByteArray() << Entries() << Count(5) << false;
    QTest::newRow("workbook: not a workbook keeps list and count")
        << Source::WorkbookList << "broken.xls" << QByteArray("no workbook") << Entries() << Count()
        << true;
    QTest::newRow("workbook: a cell without text shows the rows before, as stored")
        << Source::WorkbookList << "nancell.xls" << QByteArray()
        << Entries(QStringList{u8("会社 1"), u8("会社 2")}) << Count() << true;
}

void TestCustomerSource::shown()
{
    QFETCH(Source, source);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(Entries, entries);
    QFETCH(Count, count);
    QFETCH(bool, errorShown);

    const QString path = m_dir.filePath(file);
    if (!bytes.isEmpty())
        QVERIFY(writePlain(path, bytes));
    if (file == u"unreadable.txt" && !QFile::exists(path))
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), path)); // fails even for root

    TFList holder;
    const CustomerRead read =
        customersource::read(holder, source, path, file == u"nancell.xls" ? 0 : 1);
    QCOMPARE(!read.error().isEmpty(), errorShown);
    QCOMPARE(read.ok(), !errorShown);
    QCOMPARE(customersource::shownCount(read), count);
    const Entries shown = customersource::shownEntries(read);
    if (entries)
        QCOMPARE(shown, entries);
    else if (read)
        QCOMPARE(shown->size(), *count); // a complete read always shows its entries
    else
        QVERIFY(!shown);
}

QTEST_GUILESS_MAIN(TestCustomerSource)
#include "tst_customersource.moc"
