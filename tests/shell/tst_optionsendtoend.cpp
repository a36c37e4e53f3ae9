// SPDX-License-Identifier: GPL-3.0-or-later
// The program's options while a window of it is open on the test X server:
// they do their own work and never reach the running instance.

#include "../testrig.h"
#include "programrunner.h"

#include <QFileInfo>
#include <QTest>

class TestOptionsEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void optionsLeaveTheRunningWindowAlone_data();
    void optionsLeaveTheRunningWindowAlone();
};

void TestOptionsEndToEnd::init()
{
    const QString reason = ProgramRunner::unavailableReason();
    if (!reason.isEmpty())
        SKIP_MISSING_RIG(qPrintable(reason));
}

void TestOptionsEndToEnd::optionsLeaveTheRunningWindowAlone_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("stdoutStart"); // empty: no output
    QTest::addColumn<QString>("writes");      // a file the start leaves, or empty
    QTest::newRow("--help") << QStringList{"--help"} << "Usage: tavrint" << QString();
    QTest::newRow("--version") << QStringList{"--version"} << "Tavrint " << QString();
    QTest::newRow("--pdf") << QStringList{"--pdf", "running.pdf"} << QString() << "running.pdf";
}

void TestOptionsEndToEnd::optionsLeaveTheRunningWindowAlone()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, stdoutStart);
    QFETCH(QString, writes);

    ProgramRunner app;
    app.writeFile(QStringLiteral("Data/2宛名.txt"), QByteArray("STORED ADDRESSEE\r\n"));
    QVERIFY(app.start());

    auto second = app.launch(arguments);
    QVERIFY(second->waitForFinished(20000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QVERIFY2(second->exitCode() == 0, second->readAllStandardError().constData());
    const QString out = QString::fromUtf8(second->readAllStandardOutput());
    if (stdoutStart.isEmpty())
        QVERIFY(out.isEmpty());
    else
        QVERIFY2(out.startsWith(stdoutStart), qPrintable(out)); // not a silent hand-off
    if (!writes.isEmpty())
        QVERIFY(QFileInfo(app.path(writes)).size() > 0);

    // The running window is still the only one, and it still owns the
    // single-instance lock: a real hand-off reaches it.
    QVERIFY(app.isRunning());
    QCOMPARE(app.windowCount(), 1);
    QCOMPARE(app.runToEnd({QStringLiteral("HANDED")}), 0);
    QVERIFY(app.closeByButton());
    QCOMPARE(app.process().exitCode(), 0);
    QCOMPARE(app.readFile(QStringLiteral("Data/2宛名.txt")), QByteArray("STORED ADDRESSEE\r\n"));
}

QTEST_GUILESS_MAIN(TestOptionsEndToEnd)
#include "tst_optionsendtoend.moc"
