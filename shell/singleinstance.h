// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// One running instance per user. The first start holds an exclusive flock on
// a lock file in the user's private runtime directory for its whole life; the
// kernel drops the lock when the process ends, also after a crash or kill -9,
// so a later start never finds a stale lock. The hand-off socket lives in the
// same directory.
class SingleInstanceLock
{
public:
    // `directory` is the per-user directory of the lock and the socket;
    // empty when no safe one exists, and then no lock can be held.
    explicit SingleInstanceLock(const QString &directory = runtimeDirectory());
    ~SingleInstanceLock();

    SingleInstanceLock(const SingleInstanceLock &) = delete;
    SingleInstanceLock &operator=(const SingleInstanceLock &) = delete;

    // False exactly when another process holds the lock (this is a second
    // start). True when the lock was taken, and also when it could not be
    // created at all (see isHeld()): the program must then not run, since
    // nothing would keep a second instance off the same files.
    bool acquire();
    // True while this object holds the lock.
    bool isHeld() const { return m_fd >= 0; }

    QString directory() const { return m_directory; }
    QString lockFilePath() const;
    // Full path of the hand-off socket; empty without a directory.
    QString socketPath() const;

    // The user's private directory for the lock and the socket:
    // $XDG_RUNTIME_DIR when it is a directory of ours closed to others,
    // otherwise ~/.tavrint, created with mode 0700 and refused when it is a
    // symlink, belongs to someone else or is open to others, or when the
    // home folder itself lets others replace it. Never a folder in /tmp,
    // where another user could take the name first. Empty when neither can
    // be used.
    static QString runtimeDirectory();
    // The same choice for a given $XDG_RUNTIME_DIR value (null when unset)
    // and home folder.
    static QString runtimeDirectory(const char *xdgRuntimeDir, const QByteArray &home);

    // What a start without any safe directory tells the user before it ends.
    static QString noSafePlaceMessage();

    // Qt wants a private runtime folder of its own and warns on the terminal
    // when XDG_RUNTIME_DIR names none; the lock's folder is one. Call before
    // the application object exists.
    static void lendDirectoryToQt(const QString &directory);

private:
    QString m_directory;
    int m_fd = -1;
};
