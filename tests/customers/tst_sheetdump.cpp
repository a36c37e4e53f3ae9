// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/sheetdump.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "fixturescript.h"

#include <freexl.h>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

using sheetdump::Failure;

namespace {

// Builds a helper's report by hand, field by field.
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
    ReportBuilder b = sheetHead(2, 3);
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

    void helperOutcomes_data();
    void helperOutcomes();
    void helperHoldsNoFileOfTheProgram();
    void helperReportsAsTheProgramWould();
    void helperProgram_data();
    void helperProgram();

private:
    // A stand-in for the helper: a shell script of `body`, run as `script
    // WORKBOOK`.
    QString standIn(const QByteArray &body);
    QString writeFile(const QString &name, const QByteArray &bytes);

    QTemporaryDir m_dir;
};

void TestSheetDump::decodesCells()
{
    const sheetdump::Outcome outcome = sheetdump::decode(goodReport());
    QVERIFY2(outcome.ok(), qPrintable(outcome.error()));
    const Sheet &sheet = *outcome;
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
    QVERIFY(outcome);
    const Cell &cell = *outcome->cell(0, 0);
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
    QVERIFY(outcome);
    QCOMPARE(outcome->rows, Sheet::kRows);
    QCOMPARE(outcome->columns, Sheet::kColumns);
    QCOMPARE(outcome->cell(199, 7)->integer, 1599);
}

void TestSheetDump::reportedFailures_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<int>("freexlError");
    QTest::addColumn<QString>("text");

    QTest::newRow("open failed") << ReportBuilder()
                                        .tag("TXD1")
                                        .put<qint32>(FREEXL_CFBF_INVALID_SIGNATURE)
                                        .tag("END!")
                                        .bytes()
                                 << Failure::FreeXL << FREEXL_CFBF_INVALID_SIGNATURE
                                 << u"Excel 97-2003 ブック (.xls) の形式ではありません"_qs;
    QTest::newRow("an error without words of its own")
        << ReportBuilder().tag("TXD1").put<qint32>(-999).tag("END!").bytes() << Failure::FreeXL
        << -999 << u"ブックを読み取れません (FreeXL のエラー -999)"_qs;
    QTest::newRow("no first worksheet") << ReportBuilder()
                                               .tag("TXD1")
                                               .put<qint32>(FREEXL_OK)
                                               .put<quint32>(FREEXL_BIFF_PLAIN)
                                               .put<qint32>(FREEXL_BIFF_ILLEGAL_SHEET_INDEX)
                                               .tag("END!")
                                               .bytes()
                                        << Failure::FreeXL << FREEXL_BIFF_ILLEGAL_SHEET_INDEX
                                        << u"ブックにワークシートがありません"_qs;
    QTest::newRow("no dimensions") << ReportBuilder()
                                          .tag("TXD1")
                                          .put<qint32>(FREEXL_OK)
                                          .put<quint32>(FREEXL_BIFF_PLAIN)
                                          .put<qint32>(FREEXL_OK)
                                          .put<qint32>(FREEXL_BIFF_UNSELECTED_SHEET)
                                          .tag("END!")
                                          .bytes()
                                   << Failure::FreeXL << FREEXL_BIFF_UNSELECTED_SHEET
                                   << u"ブックにワークシートがありません"_qs;
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
                              << Failure::Encrypted << int(FREEXL_OK)
                              << u"パスワードで保護されたブックは読めません"_qs;
}

void TestSheetDump::reportedFailures()
{
    QFETCH(QByteArray, report);
    QFETCH(Failure, failure);
    QFETCH(int, freexlError);
    QFETCH(QString, text);
    const sheetdump::Outcome outcome = sheetdump::decode(report);
    QVERIFY(!outcome);
    QCOMPARE(outcome.failure().kind, failure);
    QCOMPARE(outcome.failure().freexlError, freexlError);
    QCOMPARE(outcome.error(), text);
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
    QVERIFY(!outcome);
    QCOMPARE(outcome.failure().kind, Failure::Garbled);
    QCOMPARE(outcome.error(), u"ブックが壊れています"_qs);
}

void TestSheetDump::everyTruncationIsGarbled()
{
    const QByteArray good = goodReport();
    for (qsizetype length = 0; length < good.size(); ++length) {
        const sheetdump::Outcome outcome = sheetdump::decode(good.left(length));
        QVERIFY2(!outcome && outcome.failure().kind == Failure::Garbled,
                 qPrintable(QString::number(length)));
    }
}

QString TestSheetDump::writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return file.fileName();
}

QString TestSheetDump::standIn(const QByteArray &body)
{
    static int count = 0;
    const QString path =
        writeFile(QStringLiteral("helper%1").arg(++count), "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

void TestSheetDump::helperOutcomes_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QString>("text");

    const QString damaged = u"ブックが壊れています"_qs;
    QTest::newRow("FreeXL cannot be opened")
        << QByteArray("exit 3") << 5000 << Failure::NoLibrary
        << u"ブックを読むためのライブラリ libfreexl.so.1 を開けません"_qs;
    QTest::newRow("killed by a signal")
        << QByteArray("ulimit -c 0; kill -SEGV $$") << 5000 << Failure::Crashed << damaged;
    QTest::newRow("report not written")
        << QByteArray("exit 1") << 5000 << Failure::Crashed << damaged;
    QTest::newRow("nothing said") << QByteArray("exit 0") << 5000 << Failure::Garbled << damaged;
    QTest::newRow("half a report")
        << QByteArray("head -c 30 \"$1\"") << 5000 << Failure::Garbled << damaged;
    QTest::newRow("stuck") << QByteArray("exec sleep 30") << 300 << Failure::TimedOut
                           << u"ブックの読み取りが時間内に終わりません"_qs;
    QTest::newRow("stuck after a report")
        << QByteArray("cat \"$1\"; exec sleep 30") << 300 << Failure::TimedOut
        << u"ブックの読み取りが時間内に終わりません"_qs;
}

void TestSheetDump::helperOutcomes()
{
    QFETCH(QByteArray, script);
    QFETCH(int, timeoutMs);
    QFETCH(Failure, failure);
    QFETCH(QString, text);

    // The stand-ins read the report from the "workbook".
    const QString workbook = writeFile(u"report.xls"_qs, goodReport());
    QElapsedTimer timer;
    timer.start();
    const sheetdump::Outcome outcome =
        sheetdump::loadWith(standIn(script), QFile::encodeName(workbook), timeoutMs);
    QVERIFY(!outcome);
    QCOMPARE(outcome.failure().kind, failure);
    QCOMPARE(outcome.error(), text);
    // A stuck helper is stopped at the time-out, not waited for.
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}

void TestSheetDump::helperHoldsNoFileOfTheProgram()
{
    // A file this process opened without O_CLOEXEC, as another thread may
    // at any time, must not reach the helper; its input is /dev/null.
    const int stray = ::open("/dev/null", O_RDONLY);
    QVERIFY(stray > STDERR_FILENO && stray < 10); // below the shell's own
    const QString helper = standIn("[ -e /proc/$$/fd/" + QByteArray::number(stray) +
                                   " ] && exit 1\n"
                                   "[ \"$(readlink /proc/$$/fd/0)\" = /dev/null ] || exit 1\n"
                                   "exec cat \"$1\"");
    const QString workbook = writeFile(u"report.xls"_qs, goodReport());
    const sheetdump::Outcome outcome =
        sheetdump::loadWith(helper, QFile::encodeName(workbook), 5000);
    ::close(stray);
    QVERIFY2(outcome.ok(), qPrintable(outcome.error()));
    QCOMPARE(outcome->rows, 2);
}

void TestSheetDump::helperReportsAsTheProgramWould()
{
    QTemporaryDir fixtures;
    QVERIFY(fixtures.isValid());
    const QString failed = runFixtureScript("make-test-workbooks.pl", fixtures.path());
    QVERIFY2(failed.isEmpty(), qPrintable(failed));

    const QByteArray path = QFile::encodeName(fixtures.filePath(u"customers.xls"_qs));
    const sheetdump::Outcome viaHelper = sheetdump::load(path);
    const sheetdump::Outcome inProcess = sheetdump::decode(sheetdump::report(path.constData()));
    QVERIFY2(viaHelper.ok(), qPrintable(viaHelper.error()));
    QVERIFY(inProcess.ok());
    QCOMPARE(viaHelper->rows, 6);
    QCOMPARE(viaHelper->columns, 8);
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 8; ++column) {
            const Cell *a = viaHelper->cell(row, column);
            const Cell *b = inProcess->cell(row, column);
            QCOMPARE(a->kind, b->kind);
            QCOMPARE(a->text, b->text);
            QCOMPARE(a->integer, b->integer);
            QCOMPARE(a->number, b->number);
        }
    }
}

void TestSheetDump::helperProgram_data()
{
    QTest::addColumn<QByteArray>("helper");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<int>("systemError");
    QTest::addColumn<QString>("text");

    QTest::newRow("no helper")
        << QByteArray("/nonexistent/tavrint-sheetdump") << Failure::NoProcess << ENOENT
        << u"ブックを読むためのプログラム tavrint-sheetdump が見つかりません"_qs;
    QTest::newRow("helper not executable")
        << QByteArray("<not executable>") << Failure::NoProcess << EACCES
        << QString::fromLocal8Bit(std::strerror(EACCES));
    // The real helper on a file that does not exist: FreeXL's own error.
    QTest::newRow("no workbook") << QByteArray(TAVRINT_SHEETDUMP) << Failure::FreeXL << 0
                                 << u"ファイルが見つからないか、読み取れません"_qs;
}

void TestSheetDump::helperProgram()
{
    QFETCH(QByteArray, helper);
    QFETCH(Failure, failure);
    QFETCH(int, systemError);
    QFETCH(QString, text);

    QString program = QFile::decodeName(helper);
    if (helper == "<not executable>")
        program = writeFile(u"plain"_qs, "#!/bin/sh\nexit 0\n");
    const sheetdump::Outcome outcome =
        sheetdump::loadWith(program, QFile::encodeName(m_dir.filePath(u"missing.xls"_qs)), 5000);
    QVERIFY(!outcome);
    QCOMPARE(outcome.failure().kind, failure);
    QCOMPARE(outcome.failure().systemError, systemError);
    QCOMPARE(outcome.error(), text);
}

QTEST_GUILESS_MAIN(TestSheetDump)
#include "tst_sheetdump.moc"
