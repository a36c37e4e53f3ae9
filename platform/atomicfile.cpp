// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomicfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace atomicfile {

namespace {
FailureHook &currentHook()
{
    static FailureHook hook;
    return hook;
}

int injected(Step step)
{
    return currentHook() ? currentHook()(step) : 0;
}
} // namespace

void setInstance(FailureHook hook)
{
    currentHook() = std::move(hook);
}

void resetInstance()
{
    currentHook() = nullptr;
}

} // namespace atomicfile

namespace {

using atomicfile::Step;

// The system's description of the failure ("Permission denied").
ErrorText failed(int error)
{
    return fail(qt_error_string(error));
}

int closeFile(int fd)
{
    // close() must not be retried on Linux, even after EINTR.
    const int rc = ::close(fd);
    return (rc == 0 || errno == EINTR) ? 0 : errno;
}

// Writes all bytes; returns 0 or the errno of the failing write.
int writeAll(int fd, const char *data, qsizetype size)
{
    if (const int error = atomicfile::injected(Step::Write))
        return error;
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return ENOSPC;
        data += written;
        size -= written;
    }
    return 0;
}

void syncDirectory(const QByteArray &dir)
{
    // Makes the rename itself durable; a file system that cannot sync a
    // directory has still renamed the file, so failures are not errors.
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QByteArray directoryOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

// Rewrites an existing file through its own inode. The new bytes go over
// the old ones before the length is cut, so a crash leaves the file at least
// as long as the new content instead of empty.
Result<void> writeInPlace(const QByteArray &target, const QByteArray &bytes)
{
    if (int error = atomicfile::injected(Step::InPlace))
        return failed(error);
    const int fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return failed(errno);
    int error = writeAll(fd, bytes.constData(), bytes.size());
    if (!error && ::ftruncate(fd, off_t(bytes.size())) != 0)
        error = errno;
    if (!error) {
        error = atomicfile::injected(Step::Sync);
        if (!error && ::fsync(fd) != 0)
            error = errno;
    }
    const int closeError = closeFile(fd);
    if (!error)
        error = closeError;
    if (error)
        return failed(error);
    return {};
}

bool isDigitOrLowercase(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
}

} // namespace

Result<void> atomicfile::write(const QString &path, const QByteArray &bytes, unsigned newFileMode)
{
    if (path.isEmpty())
        return failed(ENOENT);
    QByteArray target = QFile::encodeName(path);

    struct stat old
    {
    };
    bool exists = ::lstat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return failed(errno);
    if (exists && S_ISLNK(old.st_mode)) {
        // Replace what the link points at, not the link.
        char resolved[PATH_MAX];
        if (::realpath(target.constData(), resolved)) {
            target = QByteArray(resolved);
            exists = ::stat(target.constData(), &old) == 0;
        } else {
            exists = false; // dangling: the link itself is replaced
        }
    }

    if (exists) {
        if (S_ISDIR(old.st_mode))
            return failed(EISDIR);
        if (::access(target.constData(), W_OK) != 0)
            return failed(errno);
        // Root passes access() on anything; a file nobody may write is still
        // read-only to us.
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return failed(EACCES);
    }

    const QByteArray dir = directoryOf(target);
    if (::access(dir.constData(), W_OK | X_OK) != 0) {
        // A folder that forbids new files (shared or locked down) may still
        // hold files we may write: those are rewritten in place, the only
        // save left to us there.
        if (exists && (errno == EACCES || errno == EPERM || errno == EROFS))
            return writeInPlace(target, bytes);
        return failed(errno);
    }

    const qsizetype slash = target.lastIndexOf('/');
    // The temporary name shows which file it belongs to, unless that would
    // make it longer than a file name may be.
    QByteArray base = target.mid(slash + 1);
    if (base.size() > 200)
        base = QByteArrayLiteral("save");
    const QByteArray prefix =
        (slash < 0 ? QByteArray() : target.left(slash + 1)) + '.' + base + '.';

    QByteArray temp;
    int fd = -1;
    if (int error = atomicfile::injected(Step::CreateTemp))
        return failed(error);
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = prefix + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    mode_t(newFileMode & 0777));
        if (fd < 0 && errno != EEXIST)
            return failed(errno);
    }
    if (fd < 0)
        return failed(EEXIST);

    auto abandon = [&](int error) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.constData());
        return failed(error);
    };

    if (exists) {
        // Best effort for the owner (only root may give a file away); the
        // permission bits must match, or a save would widen or narrow access.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // not permitted: the file becomes ours, as any rewrite would
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            return abandon(errno);
    }

    if (int error = writeAll(fd, bytes.constData(), bytes.size()))
        return abandon(error);

    int error = atomicfile::injected(Step::Sync);
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (error)
        return abandon(error);

    error = closeFile(fd);
    fd = -1;
    if (error)
        return abandon(error);

    error = atomicfile::injected(Step::Rename);
    if (!error && ::rename(temp.constData(), target.constData()) != 0)
        error = errno;
    if (error)
        return abandon(error);

    syncDirectory(dir);
    return {};
}

namespace atomicfile {

namespace {
// Taken while the program is being loaded, before any save of this run.
const QDateTime kProcessStart = QDateTime::currentDateTimeUtc();
} // namespace

QDateTime processStartTime()
{
    return kProcessStart;
}

bool isTemporaryName(QStringView name)
{
    // "." + the saved file's name (or "save") + "." + a base-36 number of
    // up to seven digits + ".tmp"
    static const QLatin1StringView kSuffix(".tmp");
    if (name.size() < 8 || !name.startsWith(u'.') || !name.endsWith(kSuffix))
        return false;
    const QStringView stem = name.first(name.size() - kSuffix.size());
    const qsizetype dot = stem.lastIndexOf(u'.');
    if (dot < 2)
        return false;
    const QStringView number = stem.sliced(dot + 1);
    if (number.isEmpty() || number.size() > 7)
        return false;
    for (const QChar c : number) {
        if (c.unicode() > 0x7f || !isDigitOrLowercase(char(c.unicode())))
            return false;
    }
    return true;
}

int removeStrayTemporaries(const QString &directory, const QDateTime &olderThan)
{
    int removed = 0;
    const QFileInfoList entries =
        QDir(directory).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        // Only regular files of our own naming, left before this run began:
        // a save running in another instance right now is younger.
        if (entry.isSymLink() || !isTemporaryName(entry.fileName()))
            continue;
        if (entry.lastModified() >= olderThan)
            continue;
        if (QFile::remove(entry.filePath()))
            ++removed;
    }
    return removed;
}

} // namespace atomicfile
