// SPDX-License-Identifier: GPL-3.0-or-later
// Termination signals reach the event loop as events, and signals that the
// program was started to ignore stay ignored.

#include "platform/terminationsignals.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>

namespace {
void (*disposition(int signalNumber))(int)
{
    struct sigaction current = {};
    ::sigaction(signalNumber, nullptr, &current);
    return current.sa_handler;
}
} // namespace

class TestTerminationSignals : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        for (int s : {SIGTERM, SIGHUP, SIGINT})
            ::signal(s, SIG_DFL);
    }
    void signalBecomesAnEvent_data();
    void signalBecomesAnEvent();
    void ignoredAtStartStaysIgnored_data();
    void ignoredAtStartStaysIgnored();
    void defaultsComeBackWithoutTheCatcher();
};

void TestTerminationSignals::signalBecomesAnEvent_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestTerminationSignals::signalBecomesAnEvent()
{
    QFETCH(int, signalNumber);
    TerminationSignals catcher;
    QVERIFY(catcher.isActive());
    QSignalSpy received(&catcher, &TerminationSignals::received);
    // Nothing is emitted inside the handler: only the event loop delivers it.
    ::raise(signalNumber);
    QCOMPARE(received.size(), 0);
    QVERIFY(received.wait(5000));
    QCOMPARE(received.size(), 1);
    QCOMPARE(received.first().first().toInt(), signalNumber);
}

void TestTerminationSignals::ignoredAtStartStaysIgnored_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("caught");
    QTest::newRow("SIGHUP under nohup") << int(SIGHUP) << false;
    QTest::newRow("SIGINT in a background job") << int(SIGINT) << false;
    QTest::newRow("SIGTERM always") << int(SIGTERM) << true;
}

void TestTerminationSignals::ignoredAtStartStaysIgnored()
{
    QFETCH(int, signalNumber);
    QFETCH(bool, caught);
    ::signal(signalNumber, SIG_IGN);
    TerminationSignals catcher;
    QSignalSpy received(&catcher, &TerminationSignals::received);
    ::raise(signalNumber);
    // A SIGTERM after it is caught in any case; once it has arrived, so
    // has anything raised before it.
    if (signalNumber != SIGTERM)
        ::raise(SIGTERM);
    QTRY_VERIFY(!received.isEmpty() && received.last().first().toInt() == SIGTERM);
    QList<int> got;
    for (const QList<QVariant> &args : received)
        got.append(args.first().toInt());
    QCOMPARE(got.contains(signalNumber), caught);
    QCOMPARE(disposition(signalNumber) == SIG_IGN, !caught);
}

void TestTerminationSignals::defaultsComeBackWithoutTheCatcher()
{
    {
        TerminationSignals catcher;
        QVERIFY(disposition(SIGTERM) != SIG_DFL);
    }
    QVERIFY(disposition(SIGTERM) == SIG_DFL);
    QVERIFY(disposition(SIGINT) == SIG_DFL);
}

QTEST_GUILESS_MAIN(TestTerminationSignals)
#include "tst_terminationsignals.moc"
