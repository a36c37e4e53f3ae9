// SPDX-License-Identifier: GPL-3.0-or-later
// The real program started, driven and closed as a user does, on the test
// X server (1366 x 768): the settings and box text files it leaves, and the
// single-instance hand-off.

#include "programrunner.h"

#include "../testrig.h"
#include "platform/cp932.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>

#include <sys/stat.h>

class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void firstStartWritesSettings();
    void secondStartReadsSettingsBack();
    void boxTextsSavedOnClose();
    void handOffIsNotStored();
    void handOffWithoutArgumentEmptiesAddressee();
    void startAfterKillIsFirstStart();
    void concurrentStartsGiveOneWindow();
    void secondStartNeedsNoWindowSystem();
    void lockOnlyInAPrivateFolder_data();
    void lockOnlyInAPrivateFolder();

private:
    static QByteArray expectedSettings();
};

void TestEndToEnd::init()
{
    const QString reason = ProgramRunner::unavailableReason();
    if (!reason.isEmpty())
        SKIP_MISSING_RIG(qPrintable(reason));
}

void TestEndToEnd::lockOnlyInAPrivateFolder_data()
{
    QTest::addColumn<int>("homeMode");
    QTest::addColumn<bool>("squatted"); // ~/.tavrint is another's symlink
    QTest::addColumn<bool>("starts");
    QTest::newRow("no runtime folder, private home: lock under home") << 0700 << false << true;
    QTest::newRow("no runtime folder, home open to all: refused") << 0777 << false << false;
    QTest::newRow("no runtime folder, lock folder squatted: refused") << 0700 << true << false;
}

void TestEndToEnd::lockOnlyInAPrivateFolder()
{
    QFETCH(int, homeMode);
    QFETCH(bool, squatted);
    QFETCH(bool, starts);
    QTemporaryDir home;
    QVERIFY(::chmod(QFile::encodeName(home.path()).constData(), mode_t(homeMode)) == 0);
    if (squatted)
        QVERIFY(QFile::link(QStringLiteral("/tmp"), home.filePath(QStringLiteral(".tavrint"))));
    ProgramRunner app;
    app.setEnvironment(QStringLiteral("XDG_RUNTIME_DIR"), QString());
    app.setEnvironment(QStringLiteral("HOME"), home.path());
    if (starts) {
        QVERIFY(app.start());
        QFileInfo folder(home.filePath(QStringLiteral(".tavrint")));
        QVERIFY(folder.isDir() && !folder.isSymLink());
        QCOMPARE(int(folder.permissions() & 0x7777),
                 int(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser |
                     QFile::WriteUser | QFile::ExeUser));
        // A second start finds the same folder and hands off.
        QCOMPARE(app.runToEnd({QStringLiteral("x")}), 0);
        QCOMPARE(app.windowCount(), 1);
        QVERIFY(app.closeByButton());
        const QByteArray errors = app.process().readAllStandardError();
        QVERIFY2(!errors.contains("XDG_RUNTIME_DIR"), errors.constData());
    } else {
        auto p = app.launch({});
        QVERIFY(p->waitForFinished(10000));
        QCOMPARE(p->exitCode(), 1);
        QVERIFY(p->readAllStandardError().contains("~/.tavrint"));
        QCOMPARE(app.windowCount(), 0);
    }
}

QByteArray TestEndToEnd::expectedSettings()
{
    // The first-run layout at a 768 screen and 96 pixels per inch.
    struct Box
    {
        int points, left, top, width, height;
    };
    const Box boxes[8] = {{11, 45, 201, 371, 90}, {11, 32, 27, 215, 76},   {9, 32, 511, 215, 114},
                          {11, 306, 27, 135, 30}, {13, 162, 140, 155, 30}, {11, 45, 344, 242, 76},
                          {11, 198, 296, 36, 30}, {11, 356, 456, 65, 30}};
    QString text = QStringLiteral("[tavrint]\r\nFormTop=10\r\nFormLeft=20\r\n");
    for (int i = 0; i < 8; ++i) {
        const QString p = QStringLiteral("mm") + QString::number(i + 1);
        text += p + QStringLiteral("FontName=ＭＳ Ｐ明朝\r\n");
        text += p + QStringLiteral("FontSize=") + QString::number(boxes[i].points) +
                QStringLiteral("\r\n");
        text +=
            p + QStringLiteral("Left=") + QString::number(boxes[i].left) + QStringLiteral("\r\n");
        text += p + QStringLiteral("Top=") + QString::number(boxes[i].top) + QStringLiteral("\r\n");
        text +=
            p + QStringLiteral("Width=") + QString::number(boxes[i].width) + QStringLiteral("\r\n");
        text += p + QStringLiteral("Height=") + QString::number(boxes[i].height) +
                QStringLiteral("\r\n");
    }
    return cp932::encode(text);
}

void TestEndToEnd::firstStartWritesSettings()
{
    ProgramRunner app;
    QVERIFY(app.start());
    QVERIFY(app.closeByButton());
    QCOMPARE(app.process().exitCode(), 0);
    QCOMPARE(app.readFile(QStringLiteral("Init/tavrint38.ini")), expectedSettings());
}

void TestEndToEnd::secondStartReadsSettingsBack()
{
    ProgramRunner app;
    QVERIFY(app.start());
    QVERIFY(app.closeByButton());
    // Change one box by hand: a second start must take it as stored, with
    // no first-run scaling, and write it back unchanged.
    QByteArray ini = app.readFile(QStringLiteral("Init/tavrint38.ini"));
    ini.replace("mm3Left=32\r\n", "mm3Left=70\r\n");
    app.writeFile(QStringLiteral("Init/tavrint38.ini"), ini);
    QVERIFY(app.start());
    QVERIFY(app.closeByButton());
    QCOMPARE(app.readFile(QStringLiteral("Init/tavrint38.ini")), ini);
}

void TestEndToEnd::boxTextsSavedOnClose()
{
    ProgramRunner app;
    app.writeFile(QStringLiteral("Data/1本文.txt"),
                  cp932::encode(QStringLiteral("拝啓\r\nソ表能\r\n")));
    app.writeFile(QStringLiteral("Data/3署名.txt"), QByteArray("a\nb"));
    app.writeFile(QStringLiteral("Data/4発行日.txt"), QByteArray("untouched"));
    QVERIFY(app.start());
    QVERIFY(app.closeByButton());
    // CR LF kept byte for byte, LF-only saved back with CR LF, box D never.
    QCOMPARE(app.readFile(QStringLiteral("Data/1本文.txt")),
             cp932::encode(QStringLiteral("拝啓\r\nソ表能\r\n")));
    QCOMPARE(app.readFile(QStringLiteral("Data/3署名.txt")), QByteArray("a\r\nb"));
    QCOMPARE(app.readFile(QStringLiteral("Data/4発行日.txt")), QByteArray("untouched"));
    // A first run writes the monthly heading into box F.
    QVERIFY(app.readFile(QStringLiteral("Data/6記書き.txt"))
                .contains(cp932::encode(QStringLiteral("月実績 ご連絡票"))));
    // No option was chosen: the addressee is not written.
    QVERIFY(!QFile::exists(app.path(QStringLiteral("Data/2宛名.txt"))));
}

void TestEndToEnd::handOffIsNotStored()
{
    ProgramRunner app;
    const QByteArray stored = cp932::encode(QStringLiteral("元の宛名"));
    app.writeFile(QStringLiteral("Data/2宛名.txt"), stored);
    QVERIFY(app.start());
    // "TXTから取得" without smpl1.txt falls back to mode 1: the addressee
    // would now be saved at close, but for the hand-off.
    QVERIFY(app.click(QPoint(10 + 135 + 5 + 8, 20 + 35 + 8)));
    QVERIFY(app.waitUntilHandled()); // the hand-off comes by another way
    QCOMPARE(app.runToEnd({QStringLiteral("a;;b;;c")}), 0);
    QCOMPARE(app.runToEnd({QStringLiteral("x;;;y　z")}), 0);
    QVERIFY(app.closeByButton());
    QCOMPARE(app.readFile(QStringLiteral("Data/2宛名.txt")), stored);
}

void TestEndToEnd::handOffWithoutArgumentEmptiesAddressee()
{
    ProgramRunner app;
    QVERIFY(app.start());
    QCOMPARE(app.runToEnd({}), 0);
    QVERIFY(app.isRunning());
    QCOMPARE(app.windowCount(), 1);
    QVERIFY(app.closeByButton());
}

void TestEndToEnd::startAfterKillIsFirstStart()
{
    ProgramRunner app;
    QVERIFY(app.start());
    app.killHard();
    QVERIFY(!app.isRunning());
    // The lock died with its owner; the stale socket is cleared.
    QVERIFY(app.start());
    QVERIFY(app.isRunning());
    QVERIFY(app.closeByButton());
}

void TestEndToEnd::concurrentStartsGiveOneWindow()
{
    ProgramRunner app;
    std::vector<std::unique_ptr<QProcess>> starts;
    auto stopAll = qScopeGuard([&] {
        for (auto &p : starts) {
            p->kill();
            p->waitForFinished(5000);
        }
    });
    for (int i = 0; i < 5; ++i)
        starts.push_back(app.launch({QStringLiteral("x") + QString::number(i)}));
    // The others hand their text over (or give up after five seconds).
    auto stillRunning = [&] {
        return std::count_if(starts.begin(), starts.end(),
                             [](auto &p) { return p->state() != QProcess::NotRunning; });
    };
    QElapsedTimer t;
    t.start();
    while (stillRunning() > 1 && t.elapsed() < 12000)
        QTest::qWait(100);
    QCOMPARE(stillRunning(), 1);
    for (auto &p : starts) {
        if (p->state() == QProcess::NotRunning) {
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QVERIFY(p->exitCode() == 0 || p->exitCode() == 1);
        }
    }
    // The starts that ended took their windows, if any, with them.
    QVERIFY(app.waitForWindowCount(1));
}

void TestEndToEnd::secondStartNeedsNoWindowSystem()
{
    ProgramRunner app;
    QVERIFY(app.start());
    // A second start with no display at all still hands its text over: it
    // never creates a GUI application.
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"),
               app.process().processEnvironment().value(QStringLiteral("XDG_RUNTIME_DIR")));
    p->setProcessEnvironment(env);
    p->start(app.path(QStringLiteral("tavrint")), {QStringLiteral("y")});
    QVERIFY(p->waitForFinished(10000));
    QCOMPARE(p->exitCode(), 0);
    QVERIFY(p->readAllStandardOutput().isEmpty());
    QVERIFY(app.closeByButton());
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
