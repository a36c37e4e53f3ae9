// SPDX-License-Identifier: GPL-3.0-or-later
// Workbook reads while another thread of the program is busy: the hand-off
// server answering second starts on its own thread, as it does while the
// window reads the customer workbook. The .xls reader's process must start
// without needing anything that thread holds, so no read ever hangs.
#include "customers/customertable.h"
#include "customers/sheetdump.h"
#include "customers/workbookreader.h"
#include "shell/handoffclient.h"
#include "shell/handoffmessage.h"
#include "shell/handoffserver.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include "fixturescript.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "customerreadcheck.h"

using namespace std::chrono_literals;

class TestSheetDumpThreads : public QObject
{
    Q_OBJECT
private slots:
    void readsWhileSecondStartsArrive();
};

void TestSheetDumpThreads::readsWhileSecondStartsArrive()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString failed = runFixtureScript("make-test-workbooks.pl", dir.path());
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    const QString workbook = dir.filePath(u"customers.xls"_qs);

    std::atomic<int> applied{0};
    HandOffServer server([&applied](const QString &, const QString &) { ++applied; });
    const Result<void> listening = server.listen(dir.filePath(u"handoff.socket"_qs));
    QVERIFY2(listening, qPrintable(listening.error()));

    std::atomic<bool> reading{true};
    std::atomic<int> delivered{0};
    std::atomic<int> lost{0};
    std::thread secondStarts([&] {
        for (int n = 1; reading; ++n) {
            const int status = handoffclient::deliver(server.socketPath(), handoff::marker(),
                                                      QStringLiteral("宛名 %1").arg(n), 2000ms);
            ++(status == 0 ? delivered : lost);
        }
    });

    constexpr int kReads = 200;
    // Well within the time-out: a stuck start would only end there.
    constexpr qint64 kLimitMs = sheetdump::kDefaultTimeoutMs / 4;
    qint64 slowestMs = 0;
    int readsOk = 0;
    QString firstError;
    for (int i = 0; i < kReads; ++i) {
        CustomerTable table;
        QElapsedTimer timer;
        timer.start();
        const CustomerRead result = workbookreader::read(workbook, 1, table, QLocale::c());
        slowestMs = qMax(slowestMs, timer.elapsed());
        if (result.ok() && countOf(result) == 5)
            ++readsOk;
        else if (firstError.isEmpty())
            firstError = result.error();
    }
    const int deliveredDuringReads = delivered;
    reading = false;
    secondStarts.join();

    QVERIFY2(readsOk == kReads, qPrintable(QString::number(readsOk) + u' ' + firstError));
    QVERIFY2(slowestMs < kLimitMs, qPrintable(QString::number(slowestMs)));
    // The hand-off was at work all along, and lost nothing.
    QVERIFY(deliveredDuringReads > 0);
    QCOMPARE(lost.load(), 0);
    QTRY_COMPARE(applied.load(), delivered.load());
}

QTEST_GUILESS_MAIN(TestSheetDumpThreads)
#include "tst_sheetdumpthreads.moc"
