// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/customertable.h"
#include "customers/workbookreader.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "../testfiles.h"
#include "fixturescript.h"
#include "oldtable.h"

#include <freexl.h>

#include <cmath>
#include <limits>

#include "customerreadcheck.h"

Q_DECLARE_METATYPE(Cell)

class TestWorkbookReader : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void personKey();
    void companyKeyStopsAtItsGap();
    void cellTexts();
    void cellTextsFollowTheLocale();
    void atMost200Rows();
    void emptyFirstKeyGivesNoCustomer();
    void cellWithoutTextStopsTheRead();
    void unreadableWorkbook_data();
    void unreadableWorkbook();
    void readAfterFailureStartsAfresh();
    void workbookThatCrashesFreeXL();

    void numberText_data();
    void numberText();
    void cellText_data();
    void cellText();

private:
    QString fixture(const char *name) const
    {
        return m_fixtures.filePath(QString::fromLatin1(name));
    }
    QString tempFile(const char *name, const QByteArray &bytes);

    QTemporaryDir m_fixtures;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestWorkbookReader::initTestCase()
{
    QVERIFY(m_fixtures.isValid());
    const QString failed = runFixtureScript("make-test-workbooks.pl", m_fixtures.path());
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    QVERIFY(QFile::exists(fixture("customers.xls")));
}

void TestWorkbookReader::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestWorkbookReader::tempFile(const char *name, const QByteArray &bytes)
{
    const QString path = m_dir->filePath(QString::fromLatin1(name));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

void TestWorkbookReader::personKey()
{
    CustomerTable table = oldTable();
    const CustomerRead result =
        workbookreader::read(fixture("customers.xls"), 1, table, QLocale::c());
    QVERIFY2(result.ok(), qPrintable(result.error()));
    // Row 6 has no person; the line-break key stays one entry; the ideographic
    // space stays; the other, active worksheet is not read.
    QCOMPARE(entriesOf(result), (QStringList{u8("山田太郎"), u8("佐藤　花子"), u8("鈴木 一郎"),
                                             u8("高橋"), u8("後続担当")}));
    QCOMPARE(countOf(result), 5);
    QCOMPARE(table.rowCount(), 5);
    // The table keeps the cells as read.
    QCOMPARE(table.cell(2, 0), u8("山田 太郎"));
    QCOMPARE(table.cell(1, 0), u8("株式会社 山田"));
    QCOMPARE(table.cell(2, 2), u8("鈴木\n一郎"));
    QCOMPARE(table.cell(1, 3), QString()); // empty cell overwrites
    QCOMPARE(table.cell(7, 4), QString());
    // Row 6 is below the end.
    QCOMPARE(table.cell(1, 5), kSentinel);
}

void TestWorkbookReader::companyKeyStopsAtItsGap()
{
    CustomerTable table = oldTable();
    const CustomerRead result =
        workbookreader::read(fixture("customers.xls"), 0, table, QLocale::c());
    QVERIFY2(result.ok(), qPrintable(result.error()));
    // Row 4 has a person but no company: the list ends there.
    QCOMPARE(entriesOf(result),
             (QStringList{u8("株式会社山田"), u8("ソニー表示能力"), u8("第一行 第二行")}));
    QCOMPARE(countOf(result), 3);
    QCOMPARE(table.rowCount(), 3);
    QCOMPARE(table.cell(1, 0), u8("株式会社 山田"));
    QVERIFY(table.cell(1, 2).contains(u'\n'));
    QCOMPARE(table.cell(2, 3), kSentinel);
    QCOMPARE(table.cell(1, 4), kSentinel);
}

void TestWorkbookReader::cellTexts()
{
    CustomerTable table;
    const CustomerRead result =
        workbookreader::read(fixture("customers.xls"), 1, table, QLocale::c());
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(table.cell(0, 0), u8("No.1"));
    QCOMPARE(table.cell(3, 0), u8("東京都ソ表能区1-2-3"));
    QCOMPARE(table.cell(4, 0), u8("3"));
    QCOMPARE(table.cell(5, 0), u8("0.5"));
    QCOMPARE(table.cell(6, 0), u8("1E+20"));
    QCOMPARE(table.cell(7, 0), u8("〒100-0001"));
    QCOMPARE(table.cell(0, 1), u8("-12.25"));
    QCOMPARE(table.cell(3, 1), QLocale::c().toString(QDate(2024, 3, 5), QLocale::ShortFormat));
    QCOMPARE(table.cell(6, 1), u8("42"));
    // An emoji has no code-page-932 form.
    QCOMPARE(table.cell(7, 1), u8("Ω①?"));
}

void TestWorkbookReader::cellTextsFollowTheLocale()
{
    CustomerTable japanese;
    QVERIFY(workbookreader::read(fixture("customers.xls"), 1, japanese,
                                 QLocale(QLocale::Japanese, QLocale::Japan))
                .ok());
    QCOMPARE(japanese.cell(3, 1), u8("2024/03/05"));
    QCOMPARE(japanese.cell(4, 1), u8("2024/03/05 13:45"));
    QCOMPARE(japanese.cell(5, 1), u8("13:45"));
    QCOMPARE(japanese.cell(5, 0), u8("0.5"));

    CustomerTable german;
    QVERIFY(workbookreader::read(fixture("customers.xls"), 1, german,
                                 QLocale(QLocale::German, QLocale::Germany))
                .ok());
    QCOMPARE(german.cell(5, 0), u8("0,5"));
    QCOMPARE(german.cell(0, 1), u8("-12,25"));
    QCOMPARE(german.cell(4, 0), u8("3"));
    QCOMPARE(german.cell(3, 1), u8("05.03.24"));
}

void TestWorkbookReader::atMost200Rows()
{
    CustomerTable table = oldTable();
    const CustomerRead result = workbookreader::read(fixture("many.xls"), 1, table, QLocale::c());
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(countOf(result), 200);
    QCOMPARE(entriesOf(result).size(), 200);
    QCOMPARE(entriesOf(result).first(), u8("担当1"));
    QCOMPARE(entriesOf(result).last(), u8("担当200"));
    QCOMPARE(table.rowCount(), 200);
    QCOMPARE(table.cell(7, 199), u8("住所200"));
    QCOMPARE(table.cell(7, 200), kSentinel);
}

void TestWorkbookReader::emptyFirstKeyGivesNoCustomer()
{
    for (int key : {0, 1}) {
        CustomerTable table = oldTable();
        const CustomerRead result =
            workbookreader::read(fixture("emptyfirst.xls"), key, table, QLocale::c());
        QVERIFY2(result.ok(), qPrintable(result.error()));
        QCOMPARE(countOf(result), 0);
        QVERIFY(entriesOf(result).isEmpty());
        QCOMPARE(table.rowCount(), 0);
        QCOMPARE(table.cell(0, 0), kSentinel);
    }
}

void TestWorkbookReader::cellWithoutTextStopsTheRead()
{
    // Row 3, column 5 holds a number that is not a number.
    CustomerTable table = oldTable();
    const CustomerRead result =
        workbookreader::read(fixture("nancell.xls"), 0, table, QLocale::c());
    QCOMPARE(kindOf(result), ReadKind::CellFailed);
    QVERIFY(!result.error().isEmpty());
    // Keys of the complete rows, as stored (the spaces are not removed).
    QCOMPARE(entriesOf(result), (QStringList{u8("会社 1"), u8("会社 2")}));
    QCOMPARE(table.rowCount(), 7);
    QCOMPARE(table.cell(3, 1), u8("D2"));
    QCOMPARE(table.cell(7, 1), QString());
    // The failing row keeps the cells before the failing one.
    QCOMPARE(table.cell(0, 2), u8("A3"));
    QCOMPARE(table.cell(3, 2), u8("D3"));
    QCOMPARE(table.cell(4, 2), kSentinel);
    QCOMPARE(table.cell(5, 2), kSentinel);
    QCOMPARE(table.cell(0, 3), kSentinel);
}

void TestWorkbookReader::unreadableWorkbook_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray good = readAll(fixture("customers.xls"));
    QVERIFY(good.size() > 2048);
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("truncated to half") << good.left(good.size() / 2);
    QTest::newRow("truncated inside the header") << good.left(100);
    QTest::newRow("truncated after the header") << good.left(1024);
    QByteArray badSignature = good;
    badSignature[0] = '\0';
    badSignature[3] = '\x7F';
    QTest::newRow("signature damaged") << badSignature;
    QByteArray badSectorShift = good;
    badSectorShift[30] = '\x1F';
    QTest::newRow("sector size damaged") << badSectorShift;
    QByteArray zip("PK\x03\x04\x14\x00\x06\x00", 8);
    zip.append(QByteArray(4096, 'x'));
    QTest::newRow("xlsx renamed") << zip;
    QTest::newRow("text renamed") << QByteArray("a,b,c\r\n").repeated(200);
    QTest::newRow("missing file") << QByteArray("<missing>");
}

void TestWorkbookReader::unreadableWorkbook()
{
    QFETCH(QByteArray, bytes);
    QString path = m_dir->filePath(u"smpl2.xls"_qs);
    if (bytes != "<missing>")
        path = tempFile("smpl2.xls", bytes);

    CustomerTable table = oldTable();
    const CustomerRead result = workbookreader::read(path, 1, table, QLocale::c());
    QCOMPARE(kindOf(result), ReadKind::OpenFailed);
    QVERIFY(entriesOf(result).isEmpty());
    const QString head = u8("ファイル \"") + path + u8("\". ");
    const QString tail = u8(" は開けません");
    QVERIFY2(result.error().startsWith(head) && result.error().endsWith(tail),
             qPrintable(result.error()));
    QVERIFY(result.error().size() > head.size() + tail.size());
    QVERIFY(untouched(table));
}

void TestWorkbookReader::readAfterFailureStartsAfresh()
{
    CustomerTable table = oldTable();
    const QString broken = tempFile("broken.xls", QByteArray("not a workbook"));
    QCOMPARE(kindOf(workbookreader::read(broken, 1, table)), ReadKind::OpenFailed);
    QCOMPARE(kindOf(workbookreader::read(fixture("nancell.xls"), 1, table)), ReadKind::CellFailed);
    const CustomerRead first = workbookreader::read(fixture("many.xls"), 0, table, QLocale::c());
    const CustomerRead second = workbookreader::read(fixture("many.xls"), 0, table, QLocale::c());
    QVERIFY(first.ok());
    QCOMPARE(entriesOf(second), entriesOf(first));
    QCOMPARE(countOf(second), 200);
}

void TestWorkbookReader::workbookThatCrashesFreeXL()
{
    // A single damaged byte in a workbook's stream makes FreeXL 1.0.6 read
    // through a wild pointer; the reader must report it, not go down with it.
    const QString path = tempFile(
        "smpl2.xls", readAll(QStringLiteral(TAVRINT_TEST_DATA "/workbook-freexl-segv.xls")));
    QVERIFY(QFileInfo(path).size() > 0);
    CustomerTable table = oldTable();
    const CustomerRead result = workbookreader::read(path, 1, table, QLocale::c());
    if (kindOf(result) != ReadKind::OpenFailed && freexl_version() != QByteArray("1.0.6"))
        QSKIP("this FreeXL survives the damaged byte");
    QCOMPARE(kindOf(result), ReadKind::OpenFailed);
    QCOMPARE(result.error(),
             u8("ファイル \"") + path + u8("\". ブックが壊れています は開けません"));
    QVERIFY(untouched(table));
    // And the next read works as ever.
    QVERIFY(workbookreader::read(fixture("customers.xls"), 1, table, QLocale::c()).ok());
}

void TestWorkbookReader::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");

    const QLocale c = QLocale::c();
    QTest::newRow("3 without a fraction") << 3.0 << c << u"3"_qs;
    QTest::newRow("one half") << 0.5 << c << u"0.5"_qs;
    QTest::newRow("negative") << -12.25 << c << u"-12.25"_qs;
    QTest::newRow("1e20") << 1e20 << c << u"1E+20"_qs;
    QTest::newRow("small exponent") << 1e-5 << c << u"1E-05"_qs;
    QTest::newRow("15 digits stay plain") << 123456789012345.0 << c << u"123456789012345"_qs;
    QTest::newRow("16 digits round to 15") << 1234567890123456.0 << c << u"1.23456789012346E+15"_qs;
    QTest::newRow("binary fraction noise hidden") << 0.1 + 0.2 << c << u"0.3"_qs;
    QTest::newRow("a third") << 1.0 / 3 << c << u"0.333333333333333"_qs;
    QTest::newRow("no thousands separator")
        << 1234567.0 << QLocale(QLocale::German) << u"1234567"_qs;
    QTest::newRow("negative zero") << -0.0 << c << u"0"_qs;
    QTest::newRow("decimal comma")
        << 0.5 << QLocale(QLocale::German, QLocale::Germany) << u"0,5"_qs;
}

void TestWorkbookReader::numberText()
{
    QFETCH(double, value);
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QCOMPARE(workbookreader::numberText(value, locale), std::optional<QString>(text));
}

void TestWorkbookReader::cellText_data()
{
    QTest::addColumn<Cell>("cell");
    QTest::addColumn<bool>("hasText");
    QTest::addColumn<QString>("text");

    using Kind = Cell::Kind;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("empty") << Cell() << true << QString();
    QTest::newRow("integer") << Cell::ofInteger(-7) << true << u"-7"_qs;
    QTest::newRow("double") << Cell::ofNumber(2.5) << true << u"2.5"_qs;
    QTest::newRow("text") << Cell::ofText(u8("能")) << true << u8("能");
    QTest::newRow("invalid UTF-8, as decoded")
        << Cell::ofText(QString::fromUtf8("a\xFF")) << true << u8("a?");
    QTest::newRow("date") << Cell::ofDate(Kind::Date, u"2024-12-31"_qs) << true << u8("2024/12/31");
    QTest::newRow("date the calendar cannot hold")
        << Cell::ofDate(Kind::Date, u"1900-02-29"_qs) << true << u8("1900-02-29");
    QTest::newRow("date and time") << Cell::ofDate(Kind::DateTime, u"2024-03-05 13:45:10"_qs)
                                   << true << u8("2024/03/05 13:45");
    QTest::newRow("time") << Cell::ofDate(Kind::Time, u"07:05:00"_qs) << true << u8("7:05");
    QTest::newRow("not a number") << Cell::ofNumber(nan) << false << QString();
    QTest::newRow("infinity") << Cell::ofNumber(infinity) << false << QString();
    QTest::newRow("unreadable") << Cell::unreadable() << false << QString();
}

void TestWorkbookReader::cellText()
{
    QFETCH(Cell, cell);
    QFETCH(bool, hasText);
    QFETCH(QString, text);

    const std::optional<QString> result =
        workbookreader::cellText(cell, QLocale(QLocale::Japanese, QLocale::Japan));
    QCOMPARE(result.has_value(), hasText);
    if (hasText)
        QCOMPARE(*result, text);
}

QTEST_GUILESS_MAIN(TestWorkbookReader)
#include "tst_workbookreader.moc"
