// SPDX-License-Identifier: GPL-3.0-or-later
// Prints through a real CUPS scheduler: scripts/cups-test-printer.sh starts
// one whose default queue writes each job's PDF to $TAVRINT_CUPS_OUT, and a
// second one with the same queue but no default printer. Without
// CUPS_SERVER the printing tests are skipped.

#include "../testrig.h"
#include "print/documentname.h"
#include "print/pdfdocument.h"
#include "print/printerplayback.h"
#include "print/renderpage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr char kChildFlag[] = "--print-without-default-printer";
const QString kJobName = QStringLiteral("Tavrint 2026-12-09 10:00:00");

struct Word
{
    QString text;
    double xMin, yMin, xMax, yMax; // points, y down from the top of the page
};

QString env(const char *name)
{
    return qEnvironmentVariable(name);
}

QStringList jobFiles(const QString &dir)
{
    return QDir(dir).entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name);
}

QString run(const QString &program, const QStringList &args, bool *ok)
{
    QProcess process;
    process.start(program, args);
    *ok = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
          process.exitCode() == 0;
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString &pdf)
{
    bool ok = false;
    return run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}, &ok);
}

// Other tests may print to the same queue at the same time: a job of ours is
// told apart by a marker word printed on it.
QString waitForJobWith(const QString &dir, const QStringList &before, const QString &marker,
                       int timeoutMs = 15000)
{
    QElapsedTimer timer;
    timer.start();
    QStringList seen = before;
    while (timer.elapsed() < timeoutMs) {
        for (const QString &name : jobFiles(dir)) {
            if (seen.contains(name))
                continue;
            seen.append(name);
            const QString path = QDir(dir).filePath(name);
            if (pdfText(path).contains(marker))
                return path;
        }
        QTest::qWait(50);
    }
    return QString();
}

// Whether any job since `before` carries the marker.
bool anyJobWith(const QString &dir, const QStringList &before, const QString &marker)
{
    for (const QString &name : jobFiles(dir)) {
        if (!before.contains(name) && pdfText(QDir(dir).filePath(name)).contains(marker))
            return true;
    }
    return false;
}

QList<Word> wordsOf(const QString &pdf, bool *ok)
{
    const QString xml =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}, ok);
    QList<Word> words;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            reader.name() == QLatin1String("word")) {
            const auto a = reader.attributes();
            Word w;
            w.xMin = a.value(QLatin1String("xMin")).toDouble();
            w.yMin = a.value(QLatin1String("yMin")).toDouble();
            w.xMax = a.value(QLatin1String("xMax")).toDouble();
            w.yMax = a.value(QLatin1String("yMax")).toDouble();
            w.text = reader.readElementText();
            words.append(w);
        }
    }
    return words;
}

QFont face(const QString &family)
{
    QFont font(family);
    font.setPixelSize(19);
    return font;
}

// The IPA faces' ascent and descent (hhea 1802 and -246 of 2048 units).
constexpr double kIpaAscent = 1802.0 / 2048.0;

// The letter used by the printing tests, on a 1024 screen's page, with a
// marker word naming the job.
RenderPage knownPage(const QString &marker = QStringLiteral("JOB"))
{
    QFont bold = face(QStringLiteral("IPAPMincho"));
    bold.setBold(true);
    const QList<RenderBox> boxes{
        // First, so that a job stopped after its first runs still shows it.
        RenderBox{QPoint(300, 780), face(QStringLiteral("IPAGothic")), -12, Qt::black, {marker}},
        RenderBox{QPoint(50, 120),
                  face(QStringLiteral("IPAPMincho")),
                  -19,
                  Qt::black,
                  {QStringLiteral("Tavrint"), QStringLiteral("拝啓"), QStringLiteral("敬具")}},
        RenderBox{QPoint(300, 30),
                  face(QStringLiteral("IPAGothic")),
                  -24,
                  Qt::black,
                  {QStringLiteral("ADDRESSEE")}},
        RenderBox{QPoint(-1, 700), bold, -15, Qt::black, {QStringLiteral("Edge")}},
    };
    return RenderPage::build(590, 834, boxes, 2);
}

// Run as a child with CUPS_SERVER pointing at a scheduler without a default
// printer: libcups reads the server once per process.
int childWithoutDefaultPrinter()
{
    const Result<QString> printed = printerplayback::printRenderPage(knownPage(), kJobName);
    const Result<void> has = printerplayback::hasDefaultPrinter();
    if (printed || has || printed.error() != printerplayback::noDefaultPrinterText() ||
        has.error() != printerplayback::noDefaultPrinterText()) {
        qWarning("printed %d, has default %d, error \"%s\"", printed.ok(), has.ok(),
                 qUtf8Printable(printed.error()));
        return 1;
    }
    return 0;
}

} // namespace

class TestPrinterPlayback : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void destinationFrame_data();
    void destinationFrame();

    void printsPageAtItsPlace_data();
    void printsPageAtItsPlace();
    void jobCarriesItsName();
    void noDefaultPrinter_data();
    void noDefaultPrinter();
    void abortedJobIsDiscarded();

private:
    bool haveRig() const { return !m_out.isEmpty(); }
    QString m_out;
};

void TestPrinterPlayback::initTestCase()
{
    m_out = env("TAVRINT_CUPS_OUT");
    if (env("CUPS_SERVER").isEmpty() || m_out.isEmpty())
        m_out.clear();
    QCOMPARE(QFontInfo(face(QStringLiteral("IPAPMincho"))).family(), QStringLiteral("IPAPMincho"));
}

void TestPrinterPlayback::destinationFrame_data()
{
    QTest::addColumn<int>("horzRes");
    QTest::addColumn<int>("vertRes");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QRect>("frame");
    // (100, 100) to (4860, 6914): the last pixel inside is one less.
    QTest::newRow("offsets 100") << 4760 << 6814 << 100
                                 << QRect(QPoint(100, 100), QPoint(4859, 6913));
    QTest::newRow("no offsets") << 4760 << 6814 << 0 << QRect(0, 0, 4760, 6814);
}

void TestPrinterPlayback::destinationFrame()
{
    QFETCH(int, horzRes);
    QFETCH(int, vertRes);
    QFETCH(int, offset);
    QFETCH(QRect, frame);
    const QRect got = printerplayback::destinationFrame({horzRes, vertRes, offset, offset});
    QCOMPARE(got, frame);
    QCOMPARE(got.width(), horzRes);
    QCOMPARE(got.height(), vertRes);
}

void TestPrinterPlayback::printsPageAtItsPlace_data()
{
    // The printable area each queue's driver declares, in points from the
    // sheet's top-left: offsets and size.
    QTest::addColumn<QString>("queue");
    QTest::addColumn<QString>("out");
    QTest::addColumn<double>("offsetX");
    QTest::addColumn<double>("offsetY");
    QTest::addColumn<double>("areaWidth");
    QTest::addColumn<double>("areaHeight");
    QTest::newRow("raw queue, no driver: the whole sheet")
        << QStringLiteral("tavrint-pdf") << env("TAVRINT_CUPS_OUT") << 0.0 << 0.0 << 595.0 << 842.0;
    QTest::newRow("driver with the whole sheet printable")
        << QStringLiteral("tavrint-fullpage") << env("TAVRINT_CUPS_FULLPAGE_OUT") << 0.0 << 0.0
        << 595.0 << 842.0;
    // ImageableArea 18 24 577 818: a 559 x 794 pt area 18 pt from the left
    // and 24 pt from the top.
    QTest::newRow("driver with uneven margins")
        << QStringLiteral("tavrint-margins") << env("TAVRINT_CUPS_MARGINS_OUT") << 18.0 << 24.0
        << 559.0 << 794.0;
}

void TestPrinterPlayback::printsPageAtItsPlace()
{
    QFETCH(QString, queue);
    QFETCH(QString, out);
    QFETCH(double, offsetX);
    QFETCH(double, offsetY);
    QFETCH(double, areaWidth);
    QFETCH(double, areaHeight);
    if (!haveRig() || out.isEmpty())
        SKIP_MISSING_RIG(
            "no test printer: start scripts/cups-test-printer.sh and export its variables");

    // The painter's origin is the printable area's top-left, and the picture
    // is shifted once more by the offsets: it starts at twice the offset.
    const double sx = areaWidth / 6614.0;
    const double sy = areaHeight / 9354.0;
    const double left = 2 * offsetX;
    const double top = 2 * offsetY;

    qputenv("PRINTER", queue.toUtf8());
    const auto restore = qScopeGuard([] { qunsetenv("PRINTER"); });
    QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), queue);
    const QStringList before = jobFiles(out);
    const RenderPage page = knownPage(QStringLiteral("PLACED"));
    const Result<QString> printed = printerplayback::printRenderPage(page, kJobName);
    QVERIFY2(printed, qPrintable(printed.error()));
    QCOMPARE(*printed, queue);
    const QString pdf = waitForJobWith(out, before, QStringLiteral("PLACED"));
    QVERIFY2(!pdf.isEmpty(), "the job never reached the queue's backend");

    bool ok = false;
    const QString info = run(QStringLiteral("pdfinfo"), {pdf}, &ok);
    QVERIFY2(ok, "pdfinfo (poppler-utils) failed");
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Pages:\\s+1$"),
                                              QRegularExpression::MultilineOption)),
             qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(
                 QStringLiteral("^Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)$"),
                 QRegularExpression::MultilineOption)),
             qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Page rot:\\s+0$"),
                                              QRegularExpression::MultilineOption)),
             qPrintable(info));

    const QList<Word> words = wordsOf(pdf, &ok);
    QVERIFY2(ok, "pdftotext (poppler-utils) failed");
    QCOMPARE(words.size(), page.runs().size());
    QList<std::pair<QPoint, QPointF>> placed; // render units -> points
    // pdftotext lists words in reading order; each run's text is unique.
    for (const RenderRun &run : page.runs()) {
        const auto found = std::find_if(words.cbegin(), words.cend(),
                                        [&run](const Word &w) { return w.text == run.text; });
        QVERIFY2(found != words.cend(), qPrintable(run.text));
        const Word &w = *found;
        const double em = -run.height * sy; // points
        const double x = left + run.position.x() * sx;
        // poppler boxes a word from ascent above to descent below the
        // baseline; with the IPA faces that top is the cell top.
        const double cellTop = top + run.position.y() * sy;
        const QString where = QStringLiteral("\"%1\" at (%2, %3), expected (%4, %5)")
                                  .arg(w.text)
                                  .arg(w.xMin)
                                  .arg(w.yMin)
                                  .arg(x)
                                  .arg(cellTop);
        QVERIFY2(std::abs(w.xMin - x) < 0.5, qPrintable(where));
        QVERIFY2(std::abs(w.yMin - cellTop) < 0.5, qPrintable(where));
        placed.append({run.position, QPointF(w.xMin, w.yMin)});
        const double baseline = cellTop + kIpaAscent * em;
        QVERIFY2(std::abs(w.yMax - w.yMin - em) < 0.5,
                 qPrintable(where + QStringLiteral(" em %1").arg(em)));
        QVERIFY(w.yMax > baseline);
        // Glyphs keep their proportions: the width follows the height.
        QFont probe(run.font);
        probe.setPixelSize(1000);
        const double width = QFontMetricsF(probe).horizontalAdvance(run.text) / 1000.0 * em;
        QVERIFY2(
            std::abs((w.xMax - w.xMin) - width) < 0.02 * width + 0.5,
            qPrintable(where +
                       QStringLiteral(" width %1, expected %2").arg(w.xMax - w.xMin).arg(width)));
    }

    // The scale, from the runs farthest apart on each axis: each axis is
    // scaled by the printable area's own size (within 0.2 %).
    auto byX = [](const auto &a, const auto &b) { return a.first.x() < b.first.x(); };
    auto byY = [](const auto &a, const auto &b) { return a.first.y() < b.first.y(); };
    const auto [minX, maxX] = std::minmax_element(placed.cbegin(), placed.cend(), byX);
    const auto [minY, maxY] = std::minmax_element(placed.cbegin(), placed.cend(), byY);
    const double scaleX =
        (maxX->second.x() - minX->second.x()) / (maxX->first.x() - minX->first.x());
    const double scaleY =
        (maxY->second.y() - minY->second.y()) / (maxY->first.y() - minY->first.y());
    QVERIFY2(std::abs(scaleX / sx - 1) < 0.002, qPrintable(QString::number(scaleX * 6614)));
    QVERIFY2(std::abs(scaleY / sy - 1) < 0.002, qPrintable(QString::number(scaleY * 9354)));
}

void TestPrinterPlayback::jobCarriesItsName()
{
    if (!haveRig())
        SKIP_MISSING_RIG(
            "no test printer: start scripts/cups-test-printer.sh and export its variables");
    // Two prints in a row: two jobs, each named for its moment, so a PDF
    // queue keeps both letters.
    const QStringList before = jobFiles(m_out);
    documentname::JobNamer names;
    const QDateTime now = QDateTime::currentDateTime();
    for (const char *word : {"FIRSTNAMED", "SECONDNAMED"}) {
        const Result<QString> printed =
            printerplayback::printRenderPage(knownPage(QString::fromLatin1(word)), names.next(now));
        QVERIFY2(printed, qPrintable(printed.error()));
    }
    const QString first = waitForJobWith(m_out, before, QStringLiteral("FIRSTNAMED"));
    const QString second = waitForJobWith(m_out, before, QStringLiteral("SECONDNAMED"));
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    QVERIFY(first != second);
    static const QRegularExpression name(
        QStringLiteral("^Tavrint \\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}( \\(\\d+\\))?\n$"));
    QStringList titles;
    for (const QString &pdf : {first, second}) {
        QFile title(QString(pdf).replace(QStringLiteral(".pdf"), QStringLiteral(".title")));
        QVERIFY2(title.open(QIODevice::ReadOnly), qPrintable(title.fileName()));
        const QString text = QString::fromUtf8(title.readAll());
        QVERIFY2(name.match(text).hasMatch(), qPrintable(text));
        titles << text;
    }
    // Even within one second: a queue naming files after jobs keeps both.
    QVERIFY2(titles.at(0) != titles.at(1), qPrintable(titles.join(QLatin1Char('|'))));
}

void TestPrinterPlayback::noDefaultPrinter_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("out");
    QTest::newRow("scheduler with a queue but no default")
        << env("TAVRINT_CUPS_NODEFAULT_SERVER") << env("TAVRINT_CUPS_NODEFAULT_OUT");
    QTest::newRow("no scheduler at all")
        << QDir::temp().filePath(QStringLiteral("tavrint-no-such-cups.sock")) << QString();
}

void TestPrinterPlayback::noDefaultPrinter()
{
    QFETCH(QString, server);
    QFETCH(QString, out);
    if (server.isEmpty())
        SKIP_MISSING_RIG(
            "no scheduler without a default printer: start scripts/cups-test-printer.sh");

    const QStringList before = out.isEmpty() ? QStringList() : jobFiles(out);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CUPS_SERVER"), server);
    environment.remove(QStringLiteral("PRINTER"));
    environment.remove(QStringLiteral("LPDEST"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChildFlag)});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);

    if (!out.isEmpty()) {
        // A marker job sent straight to that scheduler's queue after the
        // child's: the queue runs jobs in order, so once the marker is out,
        // a job of the child's would be out too.
        QTemporaryDir dir;
        const QString marker = dir.filePath(QStringLiteral("marker.pdf"));
        QVERIFY(pdfdocument::write(marker, {knownPage(QStringLiteral("NODEFAULTMARKER"))},
                                   QStringLiteral("marker")));
        QProcess lp;
        lp.setProcessEnvironment(environment);
        lp.start(QStringLiteral("lp"),
                 {QStringLiteral("-d"), QStringLiteral("tavrint-pdf"), marker});
        QVERIFY(lp.waitForFinished(30000) && lp.exitCode() == 0);
        QVERIFY(!waitForJobWith(out, before, QStringLiteral("NODEFAULTMARKER")).isEmpty());
        QCOMPARE(jobFiles(out).size(), before.size() + 1);
    }
}

void TestPrinterPlayback::abortedJobIsDiscarded()
{
    if (!haveRig())
        SKIP_MISSING_RIG(
            "no test printer: start scripts/cups-test-printer.sh and export its variables");

    const QStringList before = jobFiles(m_out);
    int asked = 0;
    const Result<QString> printed = printerplayback::printRenderPages(
        1, [](qsizetype) { return knownPage(QStringLiteral("ABORTED")); }, kJobName,
        [&asked] { return ++asked < 3; });
    QVERIFY(!printed);
    QCOMPARE(printed.error(), printerplayback::abortedText());

    // The queue runs jobs in order: had the aborted job been queued, its
    // file would be there before this one's.
    const Result<QString> after =
        printerplayback::printRenderPage(knownPage(QStringLiteral("AFTERABORT")), kJobName);
    QVERIFY2(after, qPrintable(after.error()));
    QVERIFY(!waitForJobWith(m_out, before, QStringLiteral("AFTERABORT")).isEmpty());
    QVERIFY(!anyJobWith(m_out, before, QStringLiteral("ABORTED")));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], kChildFlag) == 0)
        return childWithoutDefaultPrinter();
    TestPrinterPlayback test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_printerplayback.moc"
