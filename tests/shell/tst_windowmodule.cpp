// SPDX-License-Identifier: GPL-3.0-or-later
// The program finds the window module of its own build: beside itself
// first, as the launcher places it, else in its build tree; a module of
// another build, or a file that is no module, is passed over.

#include "../testfiles.h"

#include <QDir>
#include <QProcess>
#include <QTest>

namespace {
const QString kProgram = QStringLiteral(TAVRINT_BINARY_DIR "/shell/tavrint");
} // namespace

class TestWindowModule : public QObject
{
    Q_OBJECT
private slots:
    void moduleOfThisBuildBesideIsRun();
    void foreignModuleBesideIsPassedOver_data();
    void foreignModuleBesideIsPassedOver();
};

void TestWindowModule::moduleOfThisBuildBesideIsRun()
{
    ProgramDir dir;
    QVERIFY(QFile::copy(kProgram, dir.path(u8"tavrint")));
    QVERIFY(QFile::copy(QStringLiteral(FAKE_MODULE_SAME_BUILD), dir.path(u8"tavrint-window.so")));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.programDir());
    p.setProcessEnvironment(env);
    p.start(dir.path(u8"tavrint"), QStringList());
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 42); // the stand-in's entry ran
}

void TestWindowModule::foreignModuleBesideIsPassedOver_data()
{
    QTest::addColumn<QString>("beside"); // copied in as tavrint-window.so
    QTest::newRow("a module of another build") << QStringLiteral(FAKE_MODULE_OTHER_BUILD);
    QTest::newRow("a file that is no module") << QStringLiteral(TAVRINT_SOURCE_DIR "/README.md");
}

void TestWindowModule::foreignModuleBesideIsPassedOver()
{
    QFETCH(QString, beside);
    ProgramDir dir;
    QVERIFY(QFile::copy(kProgram, dir.path(u8"tavrint")));
    QVERIFY(QFile::copy(beside, dir.path(u8"tavrint-window.so")));
    // The build tree's module takes over and shows the window (offscreen):
    // once it has set up the program folder, a SIGTERM closes it.
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.programDir());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(dir.path(u8"tavrint"), QStringList());
    QTRY_VERIFY_WITH_TIMEOUT(QDir(dir.path(u8"Init")).exists() || p.state() == QProcess::NotRunning,
                             10000);
    QVERIFY2(p.state() == QProcess::Running, p.readAllStandardError().constData());
    p.terminate();
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);
    // The close wrote the layout (of the offscreen screen's height class).
    QCOMPARE(QDir(dir.path(u8"Init")).entryList({u8"tavrint*.ini"}).size(), 1);
}

QTEST_GUILESS_MAIN(TestWindowModule)
#include "tst_windowmodule.moc"
