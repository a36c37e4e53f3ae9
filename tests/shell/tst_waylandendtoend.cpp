// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a native Wayland client of a real compositor (weston), as
// on KDE Plasma or GNOME: it starts with the desktop entry's app id, the
// close saves what was typed and where the frames went, and the window
// position, which Wayland never tells a window, is kept as it was stored.

#include "../testrig.h"
#include "privatewayland.h"
#include "programrunner.h"

#include <QTest>

#include <csignal>

namespace {
// At 768 the window is 741 x 652; with only the window position stored,
// the boxes lie at their design rectangles on the page at 280, 0: box A at
// 40, 187, 346 x 84, box C at 30, 475, 201 x 106.
const QSize kWindow(741, 652);
const QPoint kIntoBoxA(280 + 1 + 40 + 30, 1 + 187 + 30);
const QPoint kBoxCTopRim(280 + 1 + 30 + 100, 1 + 475 + 2);
const QByteArray kStoredPosition("[tavrint]\r\nFormTop=100\r\nFormLeft=200\r\n");
} // namespace

class TestWaylandEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void closeSavesTheLetterAndKeepsThePosition();
    void signalClosesOnWaylandToo();

private:
    bool startOnWayland(PrivateWayland &wayland, ProgramRunner &app);
};

void TestWaylandEndToEnd::init()
{
    QString reason = ProgramRunner::unavailableReason();
    if (reason.isEmpty())
        reason = PrivateWayland::unavailableReason();
    if (!reason.isEmpty())
        SKIP_MISSING_RIG(qPrintable(reason));
}

bool TestWaylandEndToEnd::startOnWayland(PrivateWayland &wayland, ProgramRunner &app)
{
    if (!wayland.start() || !app.runAsUnprivileged().isEmpty())
        return false;
    app.writeFile(QStringLiteral("Init/tavrint38.ini"), kStoredPosition);
    app.setDisplay(wayland.xDisplay()); // for xdotool; the program takes Wayland
    app.setEnvironment(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    app.setEnvironment(QStringLiteral("WAYLAND_DISPLAY"), wayland.socketPath());
    app.setEnvironment(QStringLiteral("WAYLAND_DEBUG"), QStringLiteral("1"));
    // Under the leak checker: what Qt's Wayland plugin keeps of Mesa's EGL
    // is told by name only with full stacks (the plugin's own frames have
    // none to walk fast).
    if (!qEnvironmentVariableIsEmpty("LSAN_OPTIONS"))
        app.setEnvironment(QStringLiteral("LSAN_OPTIONS"),
                           qEnvironmentVariable("LSAN_OPTIONS") +
                               QStringLiteral(":fast_unwind_on_malloc=0"));
    app.setWaylandWindow(PrivateWayland::windowOrigin(kWindow), kWindow.height());
    return app.start();
}

void TestWaylandEndToEnd::closeSavesTheLetterAndKeepsThePosition()
{
    PrivateWayland wayland;
    ProgramRunner app;
    QVERIFY(startOnWayland(wayland, app));
    // The compositor knows the window by the desktop entry.
    QVERIFY(app.standardError().contains("set_app_id(\"io.github.tavrint.Tavrint\")"));

    QVERIFY(app.click(kIntoBoxA));
    QVERIFY(app.typeText(QStringLiteral("wayland")));
    QVERIFY(app.drag(kBoxCTopRim, kBoxCTopRim + QPoint(20, 10)));
    QTRY_VERIFY_WITH_TIMEOUT(
        app.readFile(QStringLiteral("Init/.recovery/tavrint.copy")).contains("wayland"), 5000);
    QVERIFY(app.closeByButton());
    QCOMPARE(app.waitForExit(), 0);

    QCOMPARE(app.readFile(QStringLiteral("Data/1本文.txt")), QByteArray("wayland"));
    const QByteArray settings = app.readFile(QStringLiteral("Init/tavrint38.ini"));
    QVERIFY2(settings.startsWith(kStoredPosition), settings.left(60).constData());
    QVERIFY(settings.contains("mm3Left=50\r\n") && settings.contains("mm3Top=485\r\n"));
}

void TestWaylandEndToEnd::signalClosesOnWaylandToo()
{
    PrivateWayland wayland;
    ProgramRunner app;
    QVERIFY(startOnWayland(wayland, app));
    QVERIFY(app.click(kIntoBoxA));
    QVERIFY(app.typeText(QStringLiteral("logout")));
    QTRY_VERIFY_WITH_TIMEOUT(
        app.readFile(QStringLiteral("Init/.recovery/tavrint.copy")).contains("logout"), 5000);
    // A Wayland session's logout ends the program with SIGTERM.
    app.sendSignal(SIGTERM);
    QCOMPARE(app.waitForExit(), 0);
    QCOMPARE(app.readFile(QStringLiteral("Data/1本文.txt")), QByteArray("logout"));
    QVERIFY(app.readFile(QStringLiteral("Init/tavrint38.ini")).startsWith(kStoredPosition));
}

QTEST_GUILESS_MAIN(TestWaylandEndToEnd)
#include "tst_waylandendtoend.moc"
