// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "privatexserver.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPoint>
#include <QTemporaryDir>

#include <sys/stat.h>

// A real Wayland compositor for the program: weston with its X11 backend on
// an X server of the test's own, so that xdotool's pointer and keys reach
// the Wayland client through the compositor, as a user's would. The kiosk
// shell centres the program's fixed-size window on its output, so the test
// knows where the window is, which Wayland itself never tells a client.
class PrivateWayland
{
public:
    static constexpr QSize kOutput{1366, 768};

    ~PrivateWayland() { stop(); }

    // Empty when weston and Qt's Wayland plugin are there; otherwise why not.
    static QString unavailableReason()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty())
            return QStringLiteral("weston is not installed");
        if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                               QStringLiteral("/platforms/libqwayland-generic.so")))
            return QStringLiteral("Qt's Wayland plugin (qt6-wayland) is not installed");
        return QString();
    }

    bool start()
    {
        if (!m_x.start({kOutput}))
            return false;
        ::chmod(QFile::encodeName(m_runtime.path()).constData(), 0700);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_x.display());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        m_weston.setProcessEnvironment(env);
        m_weston.start(QStringLiteral("weston"),
                       {QStringLiteral("--backend=x11-backend.so"),
                        QStringLiteral("--shell=kiosk-shell.so"), QStringLiteral("--no-config"),
                        QStringLiteral("--idle-time=0"), QStringLiteral("--socket=wayland-tavrint"),
                        QStringLiteral("--width=%1").arg(kOutput.width()),
                        QStringLiteral("--height=%1").arg(kOutput.height())});
        if (!m_weston.waitForStarted(5000))
            return false;
        QElapsedTimer t;
        t.start();
        while (!QFileInfo::exists(socketPath()) && t.elapsed() < 15000) {
            if (m_weston.state() == QProcess::NotRunning)
                return false;
            m_weston.waitForFinished(50);
        }
        // An ordinary user's program connects to root's compositor.
        ::chmod(QFile::encodeName(m_runtime.path()).constData(), 0711);
        ::chmod(QFile::encodeName(socketPath()).constData(), 0777);
        return QFileInfo::exists(socketPath());
    }

    // For WAYLAND_DISPLAY: a full path needs no runtime folder of the client.
    QString socketPath() const { return m_runtime.filePath(QStringLiteral("wayland-tavrint")); }
    // The X server xdotool drives the compositor's window on.
    QString xDisplay() const { return m_x.display(); }

    // Where the kiosk shell puts a window of `size`.
    static QPoint windowOrigin(QSize size)
    {
        return QPoint((kOutput.width() - size.width()) / 2, (kOutput.height() - size.height()) / 2);
    }

    void stop()
    {
        if (m_weston.state() != QProcess::NotRunning) {
            m_weston.terminate();
            if (!m_weston.waitForFinished(5000))
                m_weston.kill();
        }
        m_x.stop();
    }

private:
    PrivateXServer m_x;
    QTemporaryDir m_runtime;
    QProcess m_weston;
};
