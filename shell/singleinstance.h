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
    // `directory` is the per-user directory of the lock and the socket; an
    // empty one (no usable directory) makes every start a first start.
    explicit SingleInstanceLock(const QString &directory = runtimeDirectory());
    ~SingleInstanceLock();

    SingleInstanceLock(const SingleInstanceLock &) = delete;
    SingleInstanceLock &operator=(const SingleInstanceLock &) = delete;

    // False exactly when another process holds the lock (this is a second
    // start). True when the lock was taken, and also when it could not be
    // created at all: then this start runs as the first instance without it.
    bool acquire();
    // True while this object holds the lock.
    bool isHeld() const { return m_fd >= 0; }

    QString directory() const { return m_directory; }
    QString lockFilePath() const;
    // Full path of the hand-off socket; empty without a directory.
    QString socketPath() const;

    // The user's private directory for the lock and the socket:
    // $XDG_RUNTIME_DIR when it is a directory of ours closed to others,
    // otherwise /tmp/tavrint-<uid>, created with mode 0700 and refused when
    // it is a symlink, belongs to someone else or is open to others. Empty
    // when neither can be used.
    static QString runtimeDirectory();
    // The same choice for a given $XDG_RUNTIME_DIR value (null when unset)
    // and parent of the fallback directory.
    static QString runtimeDirectory(const char *xdgRuntimeDir, const QByteArray &fallbackParent);

private:
    QString m_directory;
    int m_fd = -1;
};
