// SPDX-License-Identifier: GPL-3.0-or-later
// Printing from the running program: press and release "印刷", then read
// the job the test printer wrote back from its PDF.

#include "../shell/programrunner.h"
#include "printedjobs.h"

#include "../testrig.h"
#include "platform/cp932.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

namespace {
using namespace printedjobs;
// "印刷" lies on the left panel (at 10, 0) at 20, 185, 65 x 28.
const QPoint kPrintButton(10 + 20 + 30, 185 + 14);
} // namespace

class TestPrintEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void boxesPrintInPlace();
    void printableAreaOfTheQueue_data();
    void printableAreaOfTheQueue();
    void noDefaultPrinter();
    void twoPrintsGiveTwoFiles();
};

void TestPrintEndToEnd::init()
{
    const QString reason = ProgramRunner::unavailableReason();
    if (!reason.isEmpty())
        SKIP_MISSING_RIG(qPrintable(reason));
    if (qEnvironmentVariableIsEmpty("TAVRINT_CUPS_OUT"))
        SKIP_MISSING_RIG(
            "no test printer: start scripts/cups-test-printer.sh and export its variables");
}

void TestPrintEndToEnd::boxesPrintInPlace()
{
    const QString out = qEnvironmentVariable("TAVRINT_CUPS_OUT");
    ProgramRunner app;
    app.writeFile(QStringLiteral("Data/1本文.txt"), QByteArray("ALPHA\r\n\r\nGAMMA\r\n"));
    app.writeFile(QStringLiteral("Data/3署名.txt"), QByteArray("SIGNED"));
    QVERIFY(app.start());
    QCOMPARE(app.runToEnd({QStringLiteral("ADDR1;;ADDR2")}), 0);

    const QStringList before = jobs(out);
    QVERIFY(app.click(kPrintButton));
    const QString pdf = waitForNewJob(out, before);
    QVERIFY2(!pdf.isEmpty(), "no job reached the printer");
    QVERIFY(app.closeByButton());

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(10000);
    const QString pdfInfo = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY(pdfInfo.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    QVERIFY(pdfInfo.contains(QStringLiteral("595 x 842")) ||
            pdfInfo.contains(QStringLiteral("595.276 x 841.89")));

    const QList<Word> words = wordsOf(pdf);
    const Word *alpha = find(words, QStringLiteral("ALPHA"));
    const Word *gamma = find(words, QStringLiteral("GAMMA"));
    const Word *addr1 = find(words, QStringLiteral("ADDR1"));
    const Word *addr2 = find(words, QStringLiteral("ADDR2"));
    const Word *signedWord = find(words, QStringLiteral("SIGNED"));
    QVERIFY(alpha && gamma && addr1 && addr2 && signedWord);

    // Where the formulas put them: the raw test queue has no driver, so the
    // whole 595 x 842 pt sheet is its printable area, with no offsets.
    const double sx = 595.0 / 6614.0, sy = 842.0 / 9354.0;
    auto pageX = [&](int units) { return units * sx; };
    auto pageY = [&](int units) { return units * sy; };

    // Box A at 768: client corner (45 + 5, 201 + 5) on a 461 x 652 page,
    // 11-point font (15 px): X 717, Y 2955, H -215, advance 213 + 20.
    QVERIFY2(qAbs(alpha->xMin - pageX(717)) < 3.0, qPrintable(QString::number(alpha->xMin)));
    QVERIFY2(qAbs(alpha->yMin - pageY(2955)) < 6.0, qPrintable(QString::number(alpha->yMin)));
    // The empty middle line advances: GAMMA two advances below, same X.
    QVERIFY(qAbs(gamma->xMin - alpha->xMin) < 0.5);
    QVERIFY2(qAbs((gamma->yMin - alpha->yMin) - 2 * 233 * sy) < 1.0,
             qPrintable(QString::number(gamma->yMin - alpha->yMin)));
    // The addressee from the hand-off, two lines; the signature box lower down.
    QVERIFY(qAbs(addr1->xMin - pageX(526)) < 3.0); // (32 + 5) * 6614 / 461
    QVERIFY(addr2->yMin > addr1->yMin);
    QVERIFY(signedWord->yMin > gamma->yMin);
}

void TestPrintEndToEnd::printableAreaOfTheQueue_data()
{
    QTest::addColumn<QString>("queue");
    QTest::addColumn<QString>("out");
    QTest::addColumn<double>("offsetX"); // points, as the queue's driver declares
    QTest::addColumn<double>("offsetY");
    QTest::addColumn<double>("areaWidth");
    QTest::addColumn<double>("areaHeight");
    QTest::newRow("whole sheet printable")
        << QStringLiteral("tavrint-fullpage") << qEnvironmentVariable("TAVRINT_CUPS_FULLPAGE_OUT")
        << 0.0 << 0.0 << 595.0 << 842.0;
    QTest::newRow("uneven margins 18 24 577 818")
        << QStringLiteral("tavrint-margins") << qEnvironmentVariable("TAVRINT_CUPS_MARGINS_OUT")
        << 18.0 << 24.0 << 559.0 << 794.0;
}

void TestPrintEndToEnd::printableAreaOfTheQueue()
{
    QFETCH(QString, queue);
    QFETCH(QString, out);
    QFETCH(double, offsetX);
    QFETCH(double, offsetY);
    QFETCH(double, areaWidth);
    QFETCH(double, areaHeight);
    if (out.isEmpty())
        SKIP_MISSING_RIG("the test printer has no queues with a driver");

    ProgramRunner app;
    app.setEnvironment(QStringLiteral("PRINTER"), queue);
    // Box B, the addressee, holds two lines.
    app.writeFile(QStringLiteral("Data/2宛名.txt"), QByteArray("FIRSTLINE\r\nSECONDLINE\r\n"));
    QVERIFY(app.start());
    const QStringList before = jobs(out);
    QVERIFY(app.click(kPrintButton));
    const QString pdf = waitForNewJob(out, before);
    QVERIFY2(!pdf.isEmpty(), "no job reached the printer");
    QVERIFY(app.closeByButton());

    const QList<Word> words = wordsOf(pdf);
    const Word *first = find(words, QStringLiteral("FIRSTLINE"));
    const Word *second = find(words, QStringLiteral("SECONDLINE"));
    QVERIFY(first && second);
    // Box B at 768: client corner (32 + 5, 27 + 5) on a 461 x 652 page,
    // 11-point font (15 px): X = Round(37 * 6614 / 461) = 531,
    // Y = Round(32 * 9354 / 652) = 459, H = -215, advance 213 + 20.
    // The printer's origin is the printable area's top-left, and the
    // picture is shifted by the offsets once more.
    const double sx = areaWidth / 6614.0, sy = areaHeight / 9354.0;
    const double x = 2 * offsetX + 531 * sx;
    const double y = 2 * offsetY + 459 * sy;
    QVERIFY2(qAbs(first->xMin - x) < 1.0,
             qPrintable(QStringLiteral("%1 vs %2").arg(first->xMin).arg(x)));
    QVERIFY2(qAbs(first->yMin - y) < 1.0,
             qPrintable(QStringLiteral("%1 vs %2").arg(first->yMin).arg(y)));
    // The vertical scale: the second line one advance lower (0.2 %).
    const double advance = second->yMin - first->yMin;
    QVERIFY2(qAbs(advance / (233 * sy) - 1) < 0.002, qPrintable(QString::number(advance)));
    QCOMPARE(second->xMin, first->xMin);
}

void TestPrintEndToEnd::noDefaultPrinter()
{
    const QString server = qEnvironmentVariable("TAVRINT_CUPS_NODEFAULT_SERVER");
    const QString out = qEnvironmentVariable("TAVRINT_CUPS_NODEFAULT_OUT");
    if (server.isEmpty())
        SKIP_MISSING_RIG("no scheduler without a default printer");
    ProgramRunner app;
    app.setEnvironment(QStringLiteral("CUPS_SERVER"), server);
    QVERIFY(app.start()); // starts like any other machine
    const QStringList before = jobs(out);
    QVERIFY(app.click(kPrintButton));
    // The error report: a second window captioned "Tavrint". The print has
    // failed before it shows, so no job is on its way.
    QVERIFY(app.waitForWindowCount(2));
    QCOMPARE(jobs(out), before);
    app.killHard();
}

void TestPrintEndToEnd::twoPrintsGiveTwoFiles()
{
    const QString out = qEnvironmentVariable("TAVRINT_CUPS_OUT");
    ProgramRunner app;
    app.writeFile(QStringLiteral("Data/1本文.txt"), QByteArray("TWICE\r\n"));
    QVERIFY(app.start());
    const QStringList before = jobs(out);
    QVERIFY(app.click(kPrintButton));
    const QString first = waitForNewJob(out, before);
    QVERIFY2(!first.isEmpty(), "no job reached the printer");
    QVERIFY(app.click(kPrintButton));
    const QString second = waitForNewJob(out, before + QStringList{QFileInfo(first).fileName()});
    QVERIFY2(!second.isEmpty(), "the second print never reached the printer");
    QVERIFY(app.closeByButton());

    // Each job named for its moment, and no two alike.
    QStringList titles;
    for (const QString &pdf : {first, second}) {
        QFile title(QString(pdf).replace(QStringLiteral(".pdf"), QStringLiteral(".title")));
        QVERIFY(title.open(QIODevice::ReadOnly));
        titles << QString::fromUtf8(title.readAll()).trimmed();
        QVERIFY2(titles.last().startsWith(QStringLiteral("Tavrint 20")), qPrintable(titles.last()));
    }
    QVERIFY2(titles.at(0) != titles.at(1), qPrintable(titles.join(QLatin1Char('|'))));
}

QTEST_GUILESS_MAIN(TestPrintEndToEnd)
#include "tst_printendtoend.moc"
