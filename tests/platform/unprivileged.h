// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs a helper program as an ordinary user. Permission tests prove nothing
// as root, which may write anything; when the tests run as root, the helper
// runs as "nobody" through setpriv, in directories handed to that user.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <sys/stat.h>
#include <unistd.h>

namespace unprivileged {

inline constexpr uid_t kNobodyUid = 65534;
inline constexpr gid_t kNogroupGid = 65534;

inline bool isRoot()
{
    return ::geteuid() == 0;
}

// Empty when the tests can run the helper as nobody; otherwise why not.
inline QString unavailableReason()
{
    if (!isRoot())
        return QStringLiteral("needs root to switch to an unprivileged user");
    if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        return QStringLiteral("setpriv is not installed");
    return QString();
}

inline bool chownTo(const QString &path, uid_t uid, gid_t gid)
{
    return ::lchown(QFile::encodeName(path).constData(), uid, gid) == 0;
}

inline bool chmodTo(const QString &path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

struct Result
{
    int exitCode = -1;
    QString output; // the helper's standard output, UTF-8
};

// Runs `program` with `arguments` as nobody:nogroup.
inline Result runAsNobody(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QStringList args{QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                     QStringLiteral("--clear-groups"), program};
    args += arguments;
    process.start(QStringLiteral("setpriv"), args);
    Result result;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    result.output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    return result;
}

} // namespace unprivileged
