#include "customers/sheetdump.h"

#include <QTest>

#include <cstring>

using sheetdump::Failure;

namespace {

// Builds a child's report by hand, field by field.
class ReportBuilder
{
public:
    ReportBuilder &tag(const char *fourChars)
    {
        m_bytes.append(fourChars, 4);
        return *this;
    }
    template <typename T> ReportBuilder &put(T value)
    {
        m_bytes.append(reinterpret_cast<const char *>(&value), sizeof value);
        return *this;
    }
    ReportBuilder &text(const QByteArray &bytes)
    {
        put<quint32>(quint32(bytes.size()));
        m_bytes.append(bytes);
        return *this;
    }
    ReportBuilder &raw(const QByteArray &bytes)
    {
        m_bytes.append(bytes);
        return *this;
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// The head of a report of a plain workbook whose sheet has `rows` x `columns`
// cells; the cells follow.
ReportBuilder sheetHead(quint32 rows, quint16 columns)
{
    ReportBuilder b;
    b.tag("TXD1")
        .put<qint32>(FREEXL_OK)
        .put<quint32>(FREEXL_BIFF_PLAIN)
        .put<qint32>(FREEXL_OK)
        .put<qint32>(FREEXL_OK)
        .put<quint32>(rows)
        .put<quint16>(columns);
    return b;
}

// A 2 x 3 sheet: (0,0) text, (0,1) double, (0,2) null, (1,0) int,
// (1,1) unreadable, (1,2) date.
QByteArray goodReport()
{
    ReportBuilder b;
    b.tag("TXD1")
        .put<qint32>(FREEXL_OK)
        .put<quint32>(FREEXL_BIFF_PLAIN)
        .put<qint32>(FREEXL_OK)
        .put<qint32>(FREEXL_OK)
        .put<quint32>(2)
        .put<quint16>(3);
    b.put<quint8>(1).put<quint8>(FREEXL_CELL_SST_TEXT).text("\xE8\x83\xBD");
    b.put<quint8>(1).put<quint8>(FREEXL_CELL_DOUBLE).put<double>(0.5);
    b.put<quint8>(1).put<quint8>(FREEXL_CELL_NULL);
    b.put<quint8>(1).put<quint8>(FREEXL_CELL_INT).put<qint32>(-4);
    b.put<quint8>(0);
    b.put<quint8>(1).put<quint8>(FREEXL_CELL_DATE).text("2024-03-05");
    b.tag("END!");
    return b.bytes();
}

} // namespace

class TestSheetDump : public QObject
{
    Q_OBJECT
private slots:
    void decodesCells();
    void cellOfEachValue_data();
    void cellOfEachValue();
    void cutsToTheRowsAndColumnsRead();
    void reportedFailures_data();
    void reportedFailures();
    void garbledReports_data();
    void garbledReports();
    void everyTruncationIsGarbled();
};

void TestSheetDump::decodesCells()
{
    const sheetdump::Outcome outcome = sheetdump::decode(goodReport());
    QCOMPARE(outcome.failure, Failure::None);
    QVERIFY(outcome.sheet);
    const Sheet &sheet = *outcome.sheet;
    QCOMPARE(sheet.rows, 2);
    QCOMPARE(sheet.columns, 3);
    QCOMPARE(sheet.cell(0, 0)->text, QString::fromUtf8("\xE8\x83\xBD"));
    QCOMPARE(sheet.cell(0, 1)->number, 0.5);
    QCOMPARE(sheet.cell(0, 2)->kind, Cell::Kind::Empty);
    QCOMPARE(sheet.cell(1, 0)->integer, -4);
    QCOMPARE(sheet.cell(1, 1)->kind, Cell::Kind::Unreadable);
    QCOMPARE(sheet.cell(1, 2)->text, u"2024-03-05"_qs);
    QVERIFY(!sheet.cell(2, 0));
    QVERIFY(!sheet.cell(0, 3));
    QVERIFY(!sheet.cell(-1, 0));
}

void TestSheetDump::cellOfEachValue_data()
{
    QTest::addColumn<QByteArray>("reported"); // the cell's part of the report
    QTest::addColumn<Cell::Kind>("kind");
    QTest::addColumn<int>("integer");
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("text");

    using Kind = Cell::Kind;
    auto typed = [](int type) { return ReportBuilder().put<quint8>(1).put<quint8>(quint8(type)); };
    QTest::newRow("empty") << typed(FREEXL_CELL_NULL).bytes() << Kind::Empty << 0 << 0.0
                           << QString();
    QTest::newRow("integer") << typed(FREEXL_CELL_INT).put<qint32>(-7).bytes() << Kind::Integer
                             << -7 << 0.0 << QString();
    QTest::newRow("double") << typed(FREEXL_CELL_DOUBLE).put<double>(2.5).bytes() << Kind::Number
                            << 0 << 2.5 << QString();
    QTest::newRow("shared text") << typed(FREEXL_CELL_SST_TEXT).text("\xE8\x83\xBD").bytes()
                                 << Kind::Text << 0 << 0.0 << u"能"_qs;
    QTest::newRow("invalid UTF-8")
        << typed(FREEXL_CELL_TEXT).text("a\xFF").bytes() << Kind::Text << 0 << 0.0 << u"a\uFFFD"_qs;
    QTest::newRow("empty text") << typed(FREEXL_CELL_TEXT).text("").bytes() << Kind::Empty << 0
                                << 0.0 << QString();
    QTest::newRow("date") << typed(FREEXL_CELL_DATE).text("1900-02-29").bytes() << Kind::Date << 0
                          << 0.0 << u"1900-02-29"_qs;
    QTest::newRow("date and time")
        << typed(FREEXL_CELL_DATETIME).text("2024-03-05 13:45:10").bytes() << Kind::DateTime << 0
        << 0.0 << u"2024-03-05 13:45:10"_qs;
    QTest::newRow("time") << typed(FREEXL_CELL_TIME).text("07:05:00").bytes() << Kind::Time << 0
                          << 0.0 << u"07:05:00"_qs;
    QTest::newRow("no value") << ReportBuilder().put<quint8>(0).bytes() << Kind::Unreadable << 0
                              << 0.0 << QString();
    QTest::newRow("a type without a text form")
        << typed(99).bytes() << Kind::Unreadable << 0 << 0.0 << QString();
}

void TestSheetDump::cellOfEachValue()
{
    QFETCH(QByteArray, reported);
    QFETCH(Cell::Kind, kind);
    QFETCH(int, integer);
    QFETCH(double, number);
    QFETCH(QString, text);

    const sheetdump::Outcome outcome =
        sheetdump::decode(sheetHead(1, 1).raw(reported).tag("END!").bytes());
    QVERIFY(outcome.sheet);
    const Cell &cell = *outcome.sheet->cell(0, 0);
    QCOMPARE(cell.kind, kind);
    QCOMPARE(cell.integer, integer);
    QCOMPARE(cell.number, number);
    QCOMPARE(cell.text, text);
}

void TestSheetDump::cutsToTheRowsAndColumnsRead()
{
    // A sheet of 70000 x 300 cells: only 200 x 8 of them are in the report.
    ReportBuilder b;
    b.tag("TXD1")
        .put<qint32>(FREEXL_OK)
        .put<quint32>(FREEXL_BIFF_PLAIN)
        .put<qint32>(FREEXL_OK)
        .put<qint32>(FREEXL_OK)
        .put<quint32>(70000)
        .put<quint16>(300);
    for (int i = 0; i < Sheet::kRows * Sheet::kColumns; ++i)
        b.put<quint8>(1).put<quint8>(FREEXL_CELL_INT).put<qint32>(i);
    b.tag("END!");
    const sheetdump::Outcome outcome = sheetdump::decode(b.bytes());
    QVERIFY(outcome.sheet);
    QCOMPARE(outcome.sheet->rows, Sheet::kRows);
    QCOMPARE(outcome.sheet->columns, Sheet::kColumns);
    QCOMPARE(outcome.sheet->cell(199, 7)->integer, 1599);
}

void TestSheetDump::reportedFailures_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<int>("freexlError");

    QTest::newRow("open failed") << ReportBuilder()
                                        .tag("TXD1")
                                        .put<qint32>(FREEXL_CFBF_INVALID_SIGNATURE)
                                        .tag("END!")
                                        .bytes()
                                 << Failure::FreeXL << FREEXL_CFBF_INVALID_SIGNATURE;
    QTest::newRow("no first worksheet") << ReportBuilder()
                                               .tag("TXD1")
                                               .put<qint32>(FREEXL_OK)
                                               .put<quint32>(FREEXL_BIFF_PLAIN)
                                               .put<qint32>(FREEXL_BIFF_ILLEGAL_SHEET_INDEX)
                                               .tag("END!")
                                               .bytes()
                                        << Failure::FreeXL << FREEXL_BIFF_ILLEGAL_SHEET_INDEX;
    QTest::newRow("no dimensions") << ReportBuilder()
                                          .tag("TXD1")
                                          .put<qint32>(FREEXL_OK)
                                          .put<quint32>(FREEXL_BIFF_PLAIN)
                                          .put<qint32>(FREEXL_OK)
                                          .put<qint32>(FREEXL_BIFF_UNSELECTED_SHEET)
                                          .tag("END!")
                                          .bytes()
                                   << Failure::FreeXL << FREEXL_BIFF_UNSELECTED_SHEET;
    QTest::newRow("password") << ReportBuilder()
                                     .tag("TXD1")
                                     .put<qint32>(FREEXL_OK)
                                     .put<quint32>(FREEXL_BIFF_OBFUSCATED)
                                     .put<qint32>(FREEXL_OK)
                                     .put<qint32>(FREEXL_OK)
                                     .put<quint32>(0)
                                     .put<quint16>(0)
                                     .tag("END!")
                                     .bytes()
                              << Failure::Encrypted << int(FREEXL_OK);
}

void TestSheetDump::reportedFailures()
{
    QFETCH(QByteArray, report);
    QFETCH(Failure, failure);
    QFETCH(int, freexlError);
    const sheetdump::Outcome outcome = sheetdump::decode(report);
    QVERIFY(!outcome.sheet);
    QCOMPARE(outcome.failure, failure);
    QCOMPARE(outcome.freexlError, freexlError);
}

void TestSheetDump::garbledReports_data()
{
    QTest::addColumn<QByteArray>("report");

    const QByteArray good = goodReport();
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("wrong head") << QByteArray("TXD2") + good.mid(4);
    QTest::newRow("no tail") << good.chopped(4);
    QTest::newRow("bytes after the tail") << good + "x";
    QByteArray badFlag = good;
    badFlag[4 + 4 + 4 + 4 + 4 + 4 + 2] = 2; // the first cell's readable flag
    QTest::newRow("readable flag not 0 or 1") << badFlag;
    QTest::newRow("text longer than the report") << ReportBuilder()
                                                        .tag("TXD1")
                                                        .put<qint32>(FREEXL_OK)
                                                        .put<quint32>(FREEXL_BIFF_PLAIN)
                                                        .put<qint32>(FREEXL_OK)
                                                        .put<qint32>(FREEXL_OK)
                                                        .put<quint32>(1)
                                                        .put<quint16>(1)
                                                        .put<quint8>(1)
                                                        .put<quint8>(FREEXL_CELL_TEXT)
                                                        .put<quint32>(0xFFFFFFF0u)
                                                        .tag("END!")
                                                        .bytes();
    QTest::newRow("NUL inside a text") << ReportBuilder()
                                              .tag("TXD1")
                                              .put<qint32>(FREEXL_OK)
                                              .put<quint32>(FREEXL_BIFF_PLAIN)
                                              .put<qint32>(FREEXL_OK)
                                              .put<qint32>(FREEXL_OK)
                                              .put<quint32>(1)
                                              .put<quint16>(1)
                                              .put<quint8>(1)
                                              .put<quint8>(FREEXL_CELL_TEXT)
                                              .text(QByteArray("a\0b", 3))
                                              .tag("END!")
                                              .bytes();
    QTest::newRow("fewer cells than the dimensions") << ReportBuilder()
                                                            .tag("TXD1")
                                                            .put<qint32>(FREEXL_OK)
                                                            .put<quint32>(FREEXL_BIFF_PLAIN)
                                                            .put<qint32>(FREEXL_OK)
                                                            .put<qint32>(FREEXL_OK)
                                                            .put<quint32>(2)
                                                            .put<quint16>(1)
                                                            .put<quint8>(1)
                                                            .put<quint8>(FREEXL_CELL_NULL)
                                                            .tag("END!")
                                                            .bytes();
}

void TestSheetDump::garbledReports()
{
    QFETCH(QByteArray, report);
    const sheetdump::Outcome outcome = sheetdump::decode(report);
    QVERIFY(!outcome.sheet);
    QCOMPARE(outcome.failure, Failure::Garbled);
}

void TestSheetDump::everyTruncationIsGarbled()
{
    const QByteArray good = goodReport();
    for (qsizetype length = 0; length < good.size(); ++length) {
        const sheetdump::Outcome outcome = sheetdump::decode(good.left(length));
        QVERIFY2(!outcome.sheet && outcome.failure == Failure::Garbled,
                 qPrintable(QString::number(length)));
    }
}

QTEST_APPLESS_MAIN(TestSheetDump)
#include "tst_sheetdump.moc"
