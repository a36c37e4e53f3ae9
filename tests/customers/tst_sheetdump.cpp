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
    const sheetdump::Sheet &sheet = *outcome.sheet;
    QCOMPARE(sheet.rows, 2);
    QCOMPARE(sheet.columns, 3);
    QCOMPARE(sheet.cell(0, 0)->value().type, FREEXL_CELL_SST_TEXT);
    QCOMPARE(QByteArray(sheet.cell(0, 0)->value().value.text_value), QByteArray("\xE8\x83\xBD"));
    QCOMPARE(sheet.cell(0, 1)->value().value.double_value, 0.5);
    QCOMPARE(sheet.cell(0, 2)->value().type, FREEXL_CELL_NULL);
    QCOMPARE(sheet.cell(1, 0)->value().value.int_value, -4);
    QVERIFY(!sheet.cell(1, 1)->readable);
    QCOMPARE(QByteArray(sheet.cell(1, 2)->value().value.text_value), QByteArray("2024-03-05"));
    QVERIFY(!sheet.cell(2, 0));
    QVERIFY(!sheet.cell(0, 3));
    QVERIFY(!sheet.cell(-1, 0));
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
    for (int i = 0; i < sheetdump::kRows * sheetdump::kColumns; ++i)
        b.put<quint8>(1).put<quint8>(FREEXL_CELL_INT).put<qint32>(i);
    b.tag("END!");
    const sheetdump::Outcome outcome = sheetdump::decode(b.bytes());
    QVERIFY(outcome.sheet);
    QCOMPARE(outcome.sheet->rows, sheetdump::kRows);
    QCOMPARE(outcome.sheet->columns, sheetdump::kColumns);
    QCOMPARE(outcome.sheet->cell(199, 7)->intValue, 1599);
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
