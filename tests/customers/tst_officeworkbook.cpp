// SPDX-License-Identifier: GPL-3.0-or-later
// The customer workbook in today's formats (.xlsx, .ods), read through the
// same entry as the .xls: the same table, list and errors from the same cells.
#include "customers/customertable.h"
#include "customers/officesheet.h"
#include "customers/workbookreader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "../testfiles.h"
#include "fixturescript.h"
#include "oldtable.h"

#include <sys/resource.h>

#include "customerreadcheck.h"

namespace {

// The growth a hostile workbook may cost at most; AddressSanitizer keeps
// freed blocks in quarantine, so its builds are allowed more.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kMaxGrowthKiB = 600 * 1024;
#else
constexpr long kMaxGrowthKiB = 200 * 1024;
#endif

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

class TestOfficeWorkbook : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void sameCustomersAsTheXls_data();
    void sameCustomersAsTheXls();
    void cellTexts_data();
    void cellTexts();
    void atMost200Rows_data();
    void atMost200Rows();
    void emptyFirstKeyGivesNoCustomer_data();
    void emptyFirstKeyGivesNoCustomer();
    void errorValueStopsTheRead_data();
    void errorValueStopsTheRead();
    void dateSystem1904();
    void whatJapaneseExcelWrites();
    void hostileOrDamaged_data();
    void hostileOrDamaged();

private:
    QString fixture(const QString &name) const { return m_fixtures.filePath(name); }
    QString copy(const QString &from, const QString &to);

    QTemporaryDir m_fixtures;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestOfficeWorkbook::initTestCase()
{
    QVERIFY(m_fixtures.isValid());
    for (const char *script : {"make-test-workbooks.pl", "make-test-office-workbooks.pl"}) {
        const QString failed = runFixtureScript(script, m_fixtures.path());
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
    }
}

void TestOfficeWorkbook::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestOfficeWorkbook::copy(const QString &from, const QString &to)
{
    const QString path = m_dir->filePath(to);
    QFile::remove(path);
    return QFile::copy(fixture(from), path) ? path : QString();
}

void TestOfficeWorkbook::sameCustomersAsTheXls_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("savedAs");
    QTest::addColumn<int>("key");

    for (int key : {0, 1}) {
        const QByteArray which = key ? " by person" : " by company";
        QTest::newRow(QByteArray(".xlsx" + which).constData())
            << u"customers.xlsx"_qs << u"smpl2.xlsx"_qs << key;
        QTest::newRow(QByteArray(".ods" + which).constData())
            << u"customers.ods"_qs << u"smpl2.ods"_qs << key;
        QTest::newRow(QByteArray(".xlsx saved as smpl2.xls" + which).constData())
            << u"customers.xlsx"_qs << u"smpl2.xls"_qs << key;
        QTest::newRow(QByteArray(".ods saved as smpl2.xls" + which).constData())
            << u"customers.ods"_qs << u"smpl2.xls"_qs << key;
    }
}

void TestOfficeWorkbook::sameCustomersAsTheXls()
{
    QFETCH(QString, file);
    QFETCH(QString, savedAs);
    QFETCH(int, key);

    CustomerTable expected = oldTable();
    const CustomerRead xls =
        workbookreader::read(fixture(u"customers.xls"_qs), key, expected, QLocale::c());
    QVERIFY(xls.ok());

    CustomerTable table = oldTable();
    const CustomerRead result = workbookreader::read(copy(file, savedAs), key, table, QLocale::c());
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(entriesOf(result), entriesOf(xls));
    QCOMPARE(countOf(result), countOf(xls));
    QCOMPARE(table.rowCount(), expected.rowCount());
    // The keys, the addressee lines and the rows below the end, as the .xls gives them.
    for (int row = 0; row < 7; ++row) {
        for (int column : {1, 2, 3}) {
            if (row == 2 && column == 1)
                QCOMPARE(table.cell(column, row).remove(u'\r'),
                         expected.cell(column, row).remove(u'\r'));
            else
                QCOMPARE(table.cell(column, row), expected.cell(column, row));
        }
    }
}

void TestOfficeWorkbook::cellTexts_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("xlsx") << u"customers.xlsx"_qs;
    QTest::newRow("ods") << u"customers.ods"_qs;
}

void TestOfficeWorkbook::cellTexts()
{
    QFETCH(QString, file);
    CustomerTable table;
    const QLocale japan(QLocale::Japanese, QLocale::Japan);
    const CustomerRead result = workbookreader::read(fixture(file), 1, table, japan);
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(table.cell(0, 0), u8("No.1"));
    QCOMPARE(table.cell(3, 0), u8("東京都ソ表能区1-2-3"));
    QCOMPARE(table.cell(4, 0), u8("3"));
    QCOMPARE(table.cell(5, 0), u8("0.5"));
    QCOMPARE(table.cell(6, 0), u8("1E+20"));
    QCOMPARE(table.cell(0, 1), u8("-12.25"));
    QCOMPARE(table.cell(3, 1), u8("2024/03/05"));
    QCOMPARE(table.cell(4, 1), u8("2024/03/05 13:45"));
    QCOMPARE(table.cell(5, 1), u8("13:45"));
    QCOMPARE(table.cell(6, 1), u8("42"));
    QCOMPARE(table.cell(7, 1), u8("Ω①?"));
    QCOMPARE(table.cell(4, 2), u8("True"));
    QCOMPARE(table.cell(5, 2), u8("False"));
    QCOMPARE(table.cell(6, 2), u8("2024/12/31"));
    QCOMPARE(table.cell(2, 3), u8("高橋"));
    QCOMPARE(table.cell(7, 3), u8("四行目"));
}

void TestOfficeWorkbook::atMost200Rows_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("xlsx") << u"many.xlsx"_qs;
    QTest::newRow("ods") << u"many.ods"_qs;
}

void TestOfficeWorkbook::atMost200Rows()
{
    QFETCH(QString, file);
    CustomerTable table = oldTable();
    const CustomerRead result = workbookreader::read(fixture(file), 1, table, QLocale::c());
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(countOf(result), 200);
    QCOMPARE(entriesOf(result).last(), u8("担当200"));
    QCOMPARE(table.cell(7, 199), u8("住所200"));
    QCOMPARE(table.cell(7, 200), kSentinel);
}

void TestOfficeWorkbook::emptyFirstKeyGivesNoCustomer_data()
{
    atMost200Rows_data();
    QTest::addColumn<int>("dummy");
}

void TestOfficeWorkbook::emptyFirstKeyGivesNoCustomer()
{
    QFETCH(QString, file);
    file.replace(u"many"_qs, u"emptyfirst"_qs);
    for (int key : {0, 1}) {
        CustomerTable table = oldTable();
        const CustomerRead result = workbookreader::read(fixture(file), key, table, QLocale::c());
        QVERIFY2(result.ok(), qPrintable(result.error()));
        QCOMPARE(countOf(result), 0);
        QCOMPARE(table.rowCount(), 0);
        QCOMPARE(table.cell(0, 0), kSentinel);
    }
}

void TestOfficeWorkbook::errorValueStopsTheRead_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("xlsx") << u"errorcell.xlsx"_qs;
    QTest::newRow("ods") << u"errorcell.ods"_qs;
}

void TestOfficeWorkbook::errorValueStopsTheRead()
{
    QFETCH(QString, file);
    CustomerTable table = oldTable();
    const CustomerRead result = workbookreader::read(fixture(file), 0, table, QLocale::c());
    QCOMPARE(kindOf(result), ReadKind::CellFailed);
    QCOMPARE(entriesOf(result), (QStringList{u8("会社 1"), u8("会社 2")}));
    QCOMPARE(table.rowCount(), 7);
    QCOMPARE(table.cell(3, 2), u8("D3"));
    QCOMPARE(table.cell(4, 2), kSentinel);
    QCOMPARE(table.cell(5, 2), kSentinel);
}

void TestOfficeWorkbook::dateSystem1904()
{
    CustomerTable table;
    QVERIFY(workbookreader::read(fixture(u"date1904.xlsx"_qs), 1, table,
                                 QLocale(QLocale::Japanese, QLocale::Japan))
                .ok());
    QCOMPARE(table.cell(3, 0), u8("2024/03/05"));
}

void TestOfficeWorkbook::whatJapaneseExcelWrites()
{
    CustomerTable table;
    const CustomerRead result =
        workbookreader::read(fixture(u"handmade.xlsx"_qs), 0, table, QLocale::c());
    QVERIFY2(result.ok(), qPrintable(result.error()));
    // The readings stay out; runs join; rows and cells without numbers
    // follow the one before.
    QCOMPARE(entriesOf(result), (QStringList{u8("山田商事"), u8("東西物産")}));
    QCOMPARE(table.cell(0, 0), u8("A1"));
    QCOMPARE(table.cell(2, 0), u8("山田太郎"));
    QCOMPARE(table.cell(3, 0), u8("大阪 北区"));
    QCOMPARE(table.cell(2, 1), u8("山田商事"));
    QCOMPARE(table.cell(7, 1), u8("x\ry"));
}

void TestOfficeWorkbook::hostileOrDamaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    const QString damaged = u8("ブックが壊れています");
    const QString tooLarge = u8("ブックの一部が大きすぎます");
    const QByteArray xlsx = readAll(fixture(u"customers.xlsx"_qs));
    const QByteArray ods = readAll(fixture(u"customers.ods"_qs));
    QVERIFY(xlsx.size() > 4096 && ods.size() > 1024);

    QTest::newRow("xlsx cut in half") << xlsx.left(xlsx.size() / 2) << damaged;
    QTest::newRow("ods cut in half") << ods.left(ods.size() / 2) << damaged;
    QTest::newRow("only a ZIP signature") << QByteArray("PK\x03\x04", 4) << damaged;
    QByteArray noDirectory = xlsx;
    noDirectory.replace(QByteArray("PK\x01\x02", 4), QByteArray("XX\x01\x02", 4));
    QTest::newRow("central directory damaged") << noDirectory << damaged;
    // Flip bytes in the middle of every compressed part.
    QByteArray scrambled = xlsx;
    for (qsizetype i = 200; i < scrambled.size() - 600; i += 97)
        scrambled[i] = char(scrambled[i] ^ 0x5A);
    QTest::newRow("compressed data scrambled") << scrambled << damaged;
    QTest::newRow("xlsx of 300 MiB of blanks") << readAll(fixture(u"bomb.xlsx"_qs)) << tooLarge;
    QTest::newRow("ods of 300 MiB of blanks") << readAll(fixture(u"bomb.ods"_qs)) << tooLarge;
    QTest::newRow("shared string of 300 MiB")
        << readAll(fixture(u"strings-bomb.xlsx"_qs)) << tooLarge;
    QTest::newRow("a million nested elements") << readAll(fixture(u"deep.xlsx"_qs)) << damaged;
    QTest::newRow("entities expanding to gigabytes")
        << readAll(fixture(u"laughs.xlsx"_qs)) << damaged;

    QByteArray emptyZip("PK\x05\x06", 4);
    emptyZip.append(QByteArray(18, '\0'));
    QTest::newRow("empty ZIP archive") << emptyZip
                                       << u8("ZIP 書庫ですが、Excel ブック (.xlsx) でも "
                                             "OpenDocument スプレッドシート (.ods) でもありません");
}

void TestOfficeWorkbook::hostileOrDamaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString path = m_dir->filePath(u"smpl2.xls"_qs);
    QVERIFY(writePlain(path, bytes));

    const long peakBefore = peakKiB();
    CustomerTable table = oldTable();
    const CustomerRead result = workbookreader::read(path, 1, table, QLocale::c());

    QCOMPARE(kindOf(result), ReadKind::OpenFailed);
    QCOMPARE(result.error(), u8("ファイル \"") + path + u8("\". ") + reason + u8(" は開けません"));
    QVERIFY(untouched(table));
    // Bounded memory: the parts are streamed and capped, never inflated whole
    // (the time this takes is measured by bench_workbookreader).
    QVERIFY2(peakKiB() - peakBefore < 200 * 1024,
             qPrintable(QString::number(peakKiB() - peakBefore)));
}

QTEST_GUILESS_MAIN(TestOfficeWorkbook)
#include "tst_officeworkbook.moc"
