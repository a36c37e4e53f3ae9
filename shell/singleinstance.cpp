// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/singleinstance.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const char kBaseName[] = "_qelvo";
const char kFallbackName[] = ".tavrint";

// Room for "<dir>/_qelvo.socket" in a sockaddr_un, with its NUL.
bool socketPathFits(const QByteArray &directory)
{
    const qsizetype needed = directory.size() + qsizetype(sizeof("/_qelvo.socket"));
    return needed <= qsizetype(sizeof(sockaddr_un::sun_path));
}

// A directory of ours that nobody else can enter or write.
bool isPrivateDirectory(const struct stat &st)
{
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

QString usableXdgRuntimeDir(const char *value)
{
    if (!value || value[0] != '/')
        return {};
    const QByteArray path(value);
    struct stat st;
    if (!socketPathFits(path) || ::stat(path.constData(), &st) != 0 || !isPrivateDirectory(st))
        return {};
    return QFile::decodeName(path);
}

// A folder where nobody but us can create, rename or remove entries: ours
// or root's, writable by nobody else unless it is sticky (as /tmp is).
bool isSafeParent(const QByteArray &parent)
{
    struct stat st;
    if (::stat(parent.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    if (st.st_uid != geteuid() && st.st_uid != 0)
        return false;
    return (st.st_mode & (S_IWGRP | S_IWOTH)) == 0 || (st.st_mode & S_ISVTX) != 0;
}

QString privateHomeDir(const QByteArray &home)
{
    if (home.isEmpty() || home[0] != '/')
        return {};
    const QByteArray path = home + "/" + kFallbackName;
    if (!socketPathFits(path) || !isSafeParent(home))
        return {};
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    // lstat: a symlink planted by someone else must not redirect us, and a
    // folder left open to others is not ours to trust.
    struct stat st;
    if (::lstat(path.constData(), &st) != 0 || S_ISLNK(st.st_mode) || !isPrivateDirectory(st))
        return {};
    return QFile::decodeName(path);
}

QByteArray homeDirectory()
{
    if (const char *home = std::getenv("HOME"); home && home[0] == '/')
        return QByteArray(home);
    if (const passwd *entry = ::getpwuid(geteuid()); entry && entry->pw_dir)
        return QByteArray(entry->pw_dir);
    return {};
}

} // namespace

SingleInstanceLock::SingleInstanceLock(const QString &directory) : m_directory(directory) {}

SingleInstanceLock::~SingleInstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString SingleInstanceLock::runtimeDirectory()
{
    return runtimeDirectory(std::getenv("XDG_RUNTIME_DIR"), homeDirectory());
}

QString SingleInstanceLock::runtimeDirectory(const char *xdgRuntimeDir, const QByteArray &home)
{
    const QString xdg = usableXdgRuntimeDir(xdgRuntimeDir);
    return xdg.isEmpty() ? privateHomeDir(home) : xdg;
}

QString SingleInstanceLock::noSafePlaceMessage()
{
    return QStringLiteral("起動できません: 二重起動を防ぐロックを置ける安全なフォルダーがありません"
                          " (XDG_RUNTIME_DIR も ~/%1 も、本人だけが使えるフォルダーではありません)")
        .arg(QLatin1String(kFallbackName));
}

QString SingleInstanceLock::lockFilePath() const
{
    if (m_directory.isEmpty())
        return {};
    return m_directory + u'/' + QLatin1String(kBaseName) + QLatin1String(".lock");
}

QString SingleInstanceLock::socketPath() const
{
    if (m_directory.isEmpty())
        return {};
    return m_directory + u'/' + QLatin1String(kBaseName) + QLatin1String(".socket");
}

bool SingleInstanceLock::acquire()
{
    if (m_fd >= 0)
        return true;
    if (m_directory.isEmpty())
        return true;
    // O_CLOEXEC: a child we start (the desktop opener) must not inherit the
    // lock and keep it alive after we end.
    const QByteArray path = QFile::encodeName(lockFilePath());
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool heldByOther = errno == EWOULDBLOCK;
        ::close(fd);
        return !heldByOther;
    }
    m_fd = fd;
    return true;
}

void SingleInstanceLock::lendDirectoryToQt(const QString &directory)
{
    if (!directory.isEmpty() && qEnvironmentVariable("XDG_RUNTIME_DIR") != directory)
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(directory));
}
