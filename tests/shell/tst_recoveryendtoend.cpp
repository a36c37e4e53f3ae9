// SPDX-License-Identifier: GPL-3.0-or-later
// The letter survives every end of the program, as an ordinary user sees
// it: a signal closes the window as its close button does, and after a run
// that never reached its close (kill -9, the X server gone) the next start
// brings back what was typed and moved.

#include "../testrig.h"
#include "privatexserver.h"
#include "programrunner.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// At 1366 x 768, the page lies at 280, 0 with a one-pixel border; box A's
// first-run frame at 45, 201, 371 x 90 and box C's at 32, 511, 215 x 114.
const QPoint kIntoBoxA(280 + 1 + 45 + 30, 1 + 201 + 30);
const QPoint kBoxCTopRim(280 + 1 + 32 + 100, 1 + 511 + 2);
const QPoint kMoveBy(20, 10);

const QString kBoxA = QStringLiteral("Data/1本文.txt");
const QString kSettings = QStringLiteral("Init/tavrint38.ini");
const QString kCopy = QStringLiteral("Init/.recovery/tavrint.copy");

// Types into box A and moves frame C: what every case must bring back.
bool editLetter(ProgramRunner &app, const QString &text)
{
    return app.click(kIntoBoxA) && app.typeText(text) &&
           app.drag(kBoxCTopRim, kBoxCTopRim + kMoveBy);
}

bool settingsHoldMovedFrameC(const QByteArray &settings)
{
    return settings.contains("mm3Left=52\r\n") && settings.contains("mm3Top=521\r\n");
}

bool copyHolds(const ProgramRunner &app, const QByteArray &bytes)
{
    return app.readFile(kCopy).contains(bytes);
}

} // namespace

class TestRecoveryEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void signalClosesAsTheButtonDoes_data();
    void signalClosesAsTheButtonDoes();
    void runThatNeverClosedIsRecovered_data();
    void runThatNeverClosedIsRecovered();
    void normalCloseLeavesNoCopy();
    void copyOfARunStillGoingIsNotApplied();
};

void TestRecoveryEndToEnd::init()
{
    QString reason = ProgramRunner::unavailableReason();
    if (reason.isEmpty() && !PrivateXServer::available())
        reason = QStringLiteral("Xvfb is not installed");
    if (!reason.isEmpty())
        SKIP_MISSING_RIG(qPrintable(reason));
}

void TestRecoveryEndToEnd::signalClosesAsTheButtonDoes_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM (systemd, shutdown, a logout)") << int(SIGTERM);
    QTest::newRow("SIGHUP (the terminal closed)") << int(SIGHUP);
    QTest::newRow("SIGINT (Ctrl+C)") << int(SIGINT);
}

void TestRecoveryEndToEnd::signalClosesAsTheButtonDoes()
{
    QFETCH(int, signalNumber);
    ProgramRunner app;
    QCOMPARE(app.runAsUnprivileged(), QString());
    QVERIFY(app.start());
    QVERIFY(editLetter(app, QStringLiteral("signal")));
    // The program has taken the keys once its copy holds them.
    QTRY_VERIFY_WITH_TIMEOUT(copyHolds(app, "signal"), 5000);

    app.sendSignal(signalNumber);
    QCOMPARE(app.waitForExit(), 0);
    QCOMPARE(app.readFile(kBoxA), QByteArray("signal"));
    QVERIFY(settingsHoldMovedFrameC(app.readFile(kSettings)));
    QVERIFY(!QFile::exists(app.path(kCopy)));
}

void TestRecoveryEndToEnd::runThatNeverClosedIsRecovered_data()
{
    QTest::addColumn<bool>("killServer"); // else kill -9 the program
    QTest::newRow("kill -9") << false;
    QTest::newRow("the X server gone") << true;
}

void TestRecoveryEndToEnd::runThatNeverClosedIsRecovered()
{
    QFETCH(bool, killServer);
    PrivateXServer server;
    QVERIFY(server.start());
    ProgramRunner app;
    QCOMPARE(app.runAsUnprivileged(), QString());
    app.setDisplay(server.display());
    QVERIFY(app.start());
    QVERIFY(editLetter(app, QStringLiteral("unsaved")));
    // Within two seconds of the last change, what a close would write is
    // kept; the user ends the run three seconds after typing.
    QTRY_VERIFY_WITH_TIMEOUT(copyHolds(app, "unsaved"), 3000);
    QCOMPARE(QFileInfo(app.path(kCopy)).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);
    if (killServer) {
        server.stop();
        QVERIFY(app.waitForExit() != 0);
    } else {
        app.killHard();
    }
    QVERIFY(!QFile::exists(app.path(kBoxA)));

    // The next start writes the letter back before it reads it, says so,
    // and its close saves it as any close does.
    app.setDisplay(QString());
    QVERIFY(app.start());
    QCOMPARE(app.readFile(kBoxA), QByteArray("unsaved"));
    QVERIFY(settingsHoldMovedFrameC(app.readFile(kSettings)));
    QVERIFY(!QFile::exists(app.path(kCopy)));
    QVERIFY(app.closeByButton());
    QCOMPARE(app.waitForExit(), 0);
    QVERIFY(QString::fromUtf8(app.process().readAllStandardError())
                .contains(QStringLiteral("前回終了時の内容を復元しました")));
    QCOMPARE(app.readFile(kBoxA), QByteArray("unsaved"));
    QVERIFY(settingsHoldMovedFrameC(app.readFile(kSettings)));
}

void TestRecoveryEndToEnd::normalCloseLeavesNoCopy()
{
    ProgramRunner app;
    QCOMPARE(app.runAsUnprivileged(), QString());
    QVERIFY(app.start());
    QVERIFY(editLetter(app, QStringLiteral("closed")));
    QTRY_VERIFY_WITH_TIMEOUT(copyHolds(app, "closed"), 5000);
    QVERIFY(app.closeByButton());
    QCOMPARE(app.waitForExit(), 0);
    QVERIFY(!QFile::exists(app.path(kCopy)));
    QCOMPARE(app.readFile(kBoxA), QByteArray("closed"));

    // A start after it finds nothing to recover.
    QVERIFY(app.start());
    QVERIFY(app.closeByButton());
    QVERIFY(!QString::fromUtf8(app.process().readAllStandardError())
                 .contains(QStringLiteral("前回終了時の内容を復元しました")));
}

void TestRecoveryEndToEnd::copyOfARunStillGoingIsNotApplied()
{
    ProgramRunner app;
    QCOMPARE(app.runAsUnprivileged(), QString());
    QVERIFY(app.start());
    QVERIFY(editLetter(app, QStringLiteral("first")));
    QTRY_VERIFY_WITH_TIMEOUT(copyHolds(app, "first"), 5000);

    // A second window on the same folder, which a lock of its own keeps
    // from handing over (another session of the same user): the first
    // run's copy is that run's own, and stays unapplied.
    QTemporaryDir otherRuntime;
    ::chmod(QFile::encodeName(otherRuntime.path()).constData(), 0700);
    if (::geteuid() == 0)
        QCOMPARE(::chown(QFile::encodeName(otherRuntime.path()).constData(), 65534, 65534), 0);
    app.setEnvironment(QStringLiteral("XDG_RUNTIME_DIR"), otherRuntime.path());
    auto second = app.launch({});
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT(
        (said += second->readAllStandardError()).contains("no recovery copy") ||
            second->state() == QProcess::NotRunning,
        10000);
    QVERIFY(second->state() == QProcess::Running);
    QVERIFY(!QFile::exists(app.path(kBoxA)));
    QVERIFY(copyHolds(app, "first"));
    second->kill();
    second->waitForFinished(5000);

    QVERIFY(app.closeByButton());
    QCOMPARE(app.readFile(kBoxA), QByteArray("first"));
}

QTEST_GUILESS_MAIN(TestRecoveryEndToEnd)
#include "tst_recoveryendtoend.moc"
