// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSize>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <csignal>

// An X server of the test's own, for what the shared test display cannot
// take: screens of other sizes, or a server the test kills under the
// program. Xvfb on the first free display number from 300, as the test
// scripts start theirs.
class PrivateXServer
{
public:
    ~PrivateXServer() { stop(); }

    static bool available()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty();
    }

    // One screen per size, ":N.0", ":N.1", ...; true once it accepts clients.
    bool start(const QList<QSize> &screens = {QSize(1366, 768)})
    {
        for (int n = 300; n < 400; ++n) {
            // Xvfb itself replaces a lock whose server is gone.
            if (lockHolder(n) > 0)
                continue;
            m_display = QStringLiteral(":%1").arg(n);
            QStringList args = {m_display,
                                QStringLiteral("-nolisten"),
                                QStringLiteral("tcp"),
                                QStringLiteral("-noreset"),
                                QStringLiteral("-dpi"),
                                QStringLiteral("96")};
            for (int i = 0; i < screens.size(); ++i)
                args +=
                    {QStringLiteral("-screen"), QString::number(i),
                     QStringLiteral("%1x%2x24").arg(screens[i].width()).arg(screens[i].height())};
            m_server.start(QStringLiteral("Xvfb"), args);
            if (!m_server.waitForStarted(5000))
                return false;
            QElapsedTimer t;
            t.start();
            const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
            while (t.elapsed() < 10000) {
                if (QFile::exists(socket))
                    return true;
                if (m_server.state() == QProcess::NotRunning)
                    break; // another server took the number meanwhile
                m_server.waitForFinished(50);
            }
            stop();
        }
        return false;
    }

    QString display() const { return m_display; }

    // Kills the server, as a crashed desktop would end it, and clears what a
    // killed server leaves: its lock file and socket, which would otherwise
    // keep its display number taken.
    void stop()
    {
        if (m_server.state() == QProcess::NotRunning)
            return;
        const qint64 pid = m_server.processId();
        m_server.kill();
        m_server.waitForFinished(5000);
        const int n = m_display.mid(1).toInt();
        if (lockPid(n) == pid) {
            QFile::remove(QStringLiteral("/tmp/.X%1-lock").arg(n));
            QFile::remove(QStringLiteral("/tmp/.X11-unix/X%1").arg(n));
        }
    }

    // The process named in display `n`'s lock file; 0 when there is none.
    static qint64 lockPid(int n)
    {
        QFile lock(QStringLiteral("/tmp/.X%1-lock").arg(n));
        if (!lock.open(QIODevice::ReadOnly))
            return 0;
        return std::max<qint64>(0, lock.readAll().trimmed().toLongLong());
    }

    // That process, if it still runs; 0 when the display is free.
    static qint64 lockHolder(int n)
    {
        const qint64 pid = lockPid(n);
        return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM) ? pid : 0;
    }

private:
    QProcess m_server;
    QString m_display;
};
