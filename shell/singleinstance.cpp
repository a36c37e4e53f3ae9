#include "shell/singleinstance.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const char kBaseName[] = "_qelvo";

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

QString privateTempDir(const QByteArray &parent)
{
    const QByteArray path = parent + "/tavrint-" + QByteArray::number(qulonglong(geteuid()));
    if (!socketPathFits(path))
        return {};
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    // lstat: a symlink planted by someone else must not redirect us.
    struct stat st;
    if (::lstat(path.constData(), &st) != 0 || S_ISLNK(st.st_mode) || !isPrivateDirectory(st))
        return {};
    return QFile::decodeName(path);
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
    return runtimeDirectory(std::getenv("XDG_RUNTIME_DIR"), QByteArrayLiteral("/tmp"));
}

QString SingleInstanceLock::runtimeDirectory(const char *xdgRuntimeDir,
                                             const QByteArray &fallbackParent)
{
    const QString xdg = usableXdgRuntimeDir(xdgRuntimeDir);
    return xdg.isEmpty() ? privateTempDir(fallbackParent) : xdg;
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
