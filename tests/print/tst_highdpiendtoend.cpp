// SPDX-License-Identifier: GPL-3.0-or-later
// A window scaled by 1.5 or 2 on a screen that is as large again: the
// layout follows the screen's logical height (1366 x 768 here, so the 768
// layout and tavrint38.ini), the window is that layout scaled, and what is
// printed and what --pdf writes are the same page as at scale 1.

#include "../shell/privatexserver.h"
#include "../shell/programrunner.h"
#include "../testrig.h"
#include "printedjobs.h"

#include <QTest>

#include <cmath>
#include <csignal>

using namespace printedjobs;

namespace {
const QSize kWindow(741, 652); // at 768, unscaled
// A bare spot of the left panel, where a click takes the focus and starts
// nothing.
const QPoint kBareSpot(110, 200);

// The words of a page and where they lie, to a hundredth of a point.
QStringList placed(const QList<Word> &words)
{
    QStringList list;
    for (const Word &w : words)
        list.append(QStringLiteral("%1 %2 %3 %4 %5")
                        .arg(w.text)
                        .arg(w.xMin, 0, 'f', 2)
                        .arg(w.yMin, 0, 'f', 2)
                        .arg(w.xMax, 0, 'f', 2)
                        .arg(w.yMax, 0, 'f', 2));
    return list;
}

void writeLetter(ProgramRunner &app)
{
    app.writeFile(QStringLiteral("Data/1本文.txt"),
                  QStringLiteral("Dear sir, a long first line of the letter that wraps in the box "
                                 "more than once, over and over again\r\n折り返す日本語の長い行"
                                 "がここにあります。さらに続きます。\r\n")
                      .toUtf8());
    app.writeFile(QStringLiteral("Data/2宛名.txt"), QByteArray("ADDRESSEE\r\nSECOND"));
}

struct Printed
{
    QStringList printedPage; // by the print key
    QStringList pdfPage;     // by --pdf on the same display
    QSize window;            // in device pixels
    QStringList settingsFiles;
};

Printed printAt(const QString &display, const QString &variable, const QString &factor)
{
    Printed result;
    const QString out = qEnvironmentVariable("TAVRINT_CUPS_OUT");
    ProgramRunner app;
    writeLetter(app);
    app.setDisplay(display);
    if (!variable.isEmpty())
        app.setEnvironment(variable, factor);
    if (!app.start())
        return result;
    result.window = app.windowSize();
    const double scale = factor.isEmpty() ? 1.0 : factor.toDouble();
    const QStringList before = jobs(out);
    app.click(QPoint(qRound(kBareSpot.x() * scale), qRound(kBareSpot.y() * scale)));
    app.key(QStringLiteral("ctrl+p"));
    const QString job = waitForNewJob(out, before);
    if (!job.isEmpty())
        result.printedPage = placed(wordsOf(job));
    app.sendSignal(SIGTERM); // the close, wherever its button lies now
    app.waitForExit();
    result.settingsFiles =
        QDir(app.path(QStringLiteral("Init"))).entryList({QStringLiteral("*.ini")});

    const QString pdf = app.path(QStringLiteral("letter.pdf"));
    if (app.runToEnd({QStringLiteral("--pdf"), pdf}) == 0)
        result.pdfPage = placed(wordsOf(pdf));
    return result;
}
} // namespace

class TestHighDpiEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void scaledWindowPrintsTheSamePage_data();
    void scaledWindowPrintsTheSamePage();

private:
    Printed m_unscaled;
};

void TestHighDpiEndToEnd::initTestCase()
{
    QString reason = ProgramRunner::unavailableReason();
    if (reason.isEmpty() && !PrivateXServer::available())
        reason = QStringLiteral("Xvfb is not installed");
    if (reason.isEmpty() && qEnvironmentVariableIsEmpty("TAVRINT_CUPS_OUT"))
        reason = QStringLiteral("no test printer: start scripts/cups-test-printer.sh");
    if (!reason.isEmpty())
        SKIP_MISSING_RIG(qPrintable(reason));
    PrivateXServer server;
    QVERIFY(server.start({QSize(1366, 768)}));
    m_unscaled = printAt(server.display(), QString(), QString());
    QVERIFY(m_unscaled.printedPage.size() > 10);
    QCOMPARE(m_unscaled.pdfPage, m_unscaled.printedPage);
    QCOMPARE(m_unscaled.window, kWindow);
}

void TestHighDpiEndToEnd::scaledWindowPrintsTheSamePage_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("factor");
    QTest::newRow("1.5 by QT_SCALE_FACTOR")
        << QSize(2049, 1152) << QStringLiteral("QT_SCALE_FACTOR") << QStringLiteral("1.5");
    QTest::newRow("2 by QT_SCALE_FACTOR")
        << QSize(2732, 1536) << QStringLiteral("QT_SCALE_FACTOR") << QStringLiteral("2");
    QTest::newRow("2 by QT_SCREEN_SCALE_FACTORS")
        << QSize(2732, 1536) << QStringLiteral("QT_SCREEN_SCALE_FACTORS") << QStringLiteral("2");
}

void TestHighDpiEndToEnd::scaledWindowPrintsTheSamePage()
{
    QFETCH(QSize, screen);
    QFETCH(QString, variable);
    QFETCH(QString, factor);
    PrivateXServer server;
    QVERIFY(server.start({screen}));
    const Printed scaled = printAt(server.display(), variable, factor);
    const double scale = factor.toDouble();
    QCOMPARE(scaled.window, QSize(int(std::ceil(kWindow.width() * scale - 0.01)),
                                  int(std::ceil(kWindow.height() * scale - 0.01))));
    QCOMPARE(scaled.settingsFiles, QStringList{QStringLiteral("tavrint38.ini")});
    QCOMPARE(scaled.printedPage, m_unscaled.printedPage);
    QCOMPARE(scaled.pdfPage, m_unscaled.pdfPage);
}

QTEST_GUILESS_MAIN(TestHighDpiEndToEnd)
#include "tst_highdpiendtoend.moc"
