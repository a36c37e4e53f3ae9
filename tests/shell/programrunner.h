// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

#include "../testfiles.h"

// Starts the real program the way a user does: the executable copied into a
// program directory of its own, shown on the test X server, with a private
// runtime directory (so each test has its own single-instance lock) and the
// test printer. Drives it with xdotool.
class ProgramRunner : public ProgramDir
{
public:
    ProgramRunner();
    ~ProgramRunner();

    // Empty when the end-to-end tests can run; otherwise why not.
    static QString unavailableReason();

    // A first start; true once its window is on the screen.
    bool start();
    // Another start of the same executable with one argument (or none);
    // the process, not yet finished.
    std::unique_ptr<QProcess> launch(const QStringList &arguments);
    // Runs a start to its end; its exit code, or -1 when it did not end
    // within `timeoutMs`.
    int runToEnd(const QStringList &arguments, int timeoutMs = 10000, qint64 *elapsedMs = nullptr);

    // From now on the program runs as an ordinary user: as root (CI), as
    // "nobody", with the program and runtime folders handed to that user.
    // Empty when that works; otherwise why not.
    QString runAsUnprivileged();
    // The X server the program is shown on, instead of the test display.
    void setDisplay(const QString &display) { m_display = display; }
    // The program is a Wayland client of a compositor shown on that X
    // server, which puts its window at `origin` of the screen (a kiosk
    // shell centres it); `clientHeight` is the window's height. Pointer and
    // keys then go to the screen, and the start waits for the first frame.
    void setWaylandWindow(QPoint origin, int clientHeight)
    {
        m_screenOrigin = origin;
        m_clientHeight = clientHeight;
    }
    // Everything the program wrote to standard error so far.
    QByteArray standardError();

    // Clicks at a point of the window's client area.
    bool click(QPoint at);
    // The same with the right button: a context menu.
    bool rightClick(QPoint at);
    // Presses the left button at `from` and lets it go at `to`, both in the
    // window's client area: moves or resizes the frame under `from`.
    bool drag(QPoint from, QPoint to);
    // Types into whatever has the keyboard focus (click into a box first).
    bool typeText(const QString &text);
    // Sends a key combination ("ctrl+shift+s") to the window.
    bool key(const QString &keys);
    // Returns once the program has handled the input sent so far (clicks,
    // keys and drags are queued, and a later key or click is handled after
    // them; this is for what comes by another way, a second start's text).
    bool waitUntilHandled();
    // Sends a signal to the program.
    void sendSignal(int signalNumber);
    // Waits for the program to end; its exit code, or -1 when it did not
    // end normally within `timeoutMs`.
    int waitForExit(int timeoutMs = 10000);
    // Presses the close button "X" and waits for the process to end.
    bool closeByButton(int timeoutMs = 10000);
    void killHard();
    bool isRunning() const;
    // Windows titled "Tavrint" on the test display.
    int windowCount() const;
    // Waits until `count` of them show at once; false after `timeoutMs`.
    // (A search can miss a window while another one is destroyed: a count
    // seen once is what happened.)
    bool waitForWindowCount(int count, int timeoutMs = 10000) const;
    // Waits until a window of the program titled `title` is shown (a dialog
    // it opened); false after `timeoutMs`.
    bool waitForWindow(const QString &title, int timeoutMs = 10000) const;
    // The main window's title ("Tavrint", or "<letter> — Tavrint").
    QString windowTitle() const;
    // The window's size on the screen, in the screen's pixels.
    QSize windowSize() const;

    QProcess &process() { return *m_process; }
    // An environment variable for the starts that follow.
    void setEnvironment(const QString &name, const QString &value)
    {
        m_extraEnv.insert(name, value);
    }

private:
    bool startOnce();
    void releaseEscape() const;
    void handOverFolders();
    bool isShown() const;
    QStringList pointerTo(QPoint at) const; // xdotool's words for a client point
    QProcessEnvironment environment() const;
    QString windowId() const;
    static QString xdotool(const QStringList &arguments, const QProcessEnvironment &env);

    QTemporaryDir m_runtime;
    std::unique_ptr<QProcess> m_process;
    QProcessEnvironment m_extraEnv;
    QString m_display;
    bool m_unprivileged = false;
    std::optional<QPoint> m_screenOrigin;
    int m_clientHeight = 0;
    QByteArray m_standardError;
};
