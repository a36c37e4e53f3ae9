// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/recoverystore.h"

#include "letter/boxtextfile.h"
#include "letter/settingsfile.h"
#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A letter is far smaller; a larger file is no copy of ours.
constexpr qint64 kMaxCopySize = qint64(1) << 30;

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

RecoveryStore::RecoveryStore(const QString &programDir, const QString &executableName)
    : m_programDir(programDir), m_executableName(executableName)
{
}

RecoveryStore::~RecoveryStore()
{
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString RecoveryStore::folder() const
{
    return m_programDir + settingsfile::kInitDirName.toString() + QStringLiteral("/.recovery");
}

QString RecoveryStore::copyPath() const
{
    return folder() + QLatin1Char('/') + m_executableName + QStringLiteral(".copy");
}

Result<void> RecoveryStore::claim()
{
    // The reason is kept: keep() gives it while there is no claim.
    auto refused = [this](const QString &reason) {
        m_claimError = reason;
        return fail(reason);
    };
    if (m_lockFd >= 0)
        return {};
    // The settings folder is made here a moment before start-up would.
    QDir().mkpath(m_programDir + settingsfile::kInitDirName.toString());
    const QByteArray dir = nativePath(folder());
    if (::mkdir(dir.constData(), 0700) != 0 && errno != EEXIST) {
        return refused(qt_error_string(errno));
    }
    // The copy holds the letter: the folder must be a real folder of ours
    // that nobody else may look into.
    struct stat info = {};
    if (::lstat(dir.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid()) {
        return refused(QStringLiteral("%1 is not a folder of this user").arg(folder()));
    }
    if ((info.st_mode & 077) != 0 && ::chmod(dir.constData(), 0700) != 0) {
        return refused(qt_error_string(errno));
    }

    const QByteArray lock =
        nativePath(folder() + QLatin1Char('/') + m_executableName + QStringLiteral(".lock"));
    const int fd = ::open(lock.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return refused(qt_error_string(errno));
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const QString reason =
            errno == EWOULDBLOCK
                ? QStringLiteral("another run of the program keeps its copy in %1").arg(folder())
                : qt_error_string(errno);
        ::close(fd);
        return refused(reason);
    }
    m_lockFd = fd;
    // A copy being written when its run was killed left its temporary file.
    atomicfile::removeStrayTemporaries(folder(), atomicfile::processStartTime());
    return {};
}

RecoveryStore::Leftover RecoveryStore::leftover(recoverycopy::Files *files) const
{
    if (m_lockFd < 0)
        return Leftover::None;
    QFile copy(copyPath());
    if (!copy.exists())
        return Leftover::None;
    if (copy.size() > kMaxCopySize || !copy.open(QIODevice::ReadOnly))
        return Leftover::Damaged;
    std::optional<recoverycopy::Files> decoded = recoverycopy::decode(copy.readAll());
    if (!decoded)
        return Leftover::Damaged;
    if (files)
        *files = std::move(*decoded);
    return Leftover::Intact;
}

Result<void> RecoveryStore::apply(const recoverycopy::Files &files) const
{
    for (const recoverycopy::File &file : files) {
        const QString path = m_programDir + file.relativePath;
        QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
        const Result<void> written = atomicfile::write(path, file.bytes);
        if (written)
            continue;
        return fail(file.relativePath.startsWith(settingsfile::kInitDirName)
                        ? settingsfile::writeErrorMessage(path)
                        : boxtextfile::createErrorMessage(path, written.error()));
    }
    return {};
}

bool RecoveryStore::isOnDisk(const recoverycopy::Files &files) const
{
    for (const recoverycopy::File &file : files) {
        QFile disk(m_programDir + file.relativePath);
        if (!disk.open(QIODevice::ReadOnly) || disk.size() != file.bytes.size() ||
            disk.readAll() != file.bytes)
            return false;
    }
    return true;
}

Result<void> RecoveryStore::keep(const recoverycopy::Files &files)
{
    if (m_lockFd < 0)
        return fail(m_claimError.isEmpty() ? QStringLiteral("no recovery folder was claimed")
                                           : m_claimError);
    return atomicfile::write(copyPath(), recoverycopy::encode(files), 0600);
}

void RecoveryStore::discard()
{
    if (m_lockFd >= 0)
        QFile::remove(copyPath());
}

QString RecoveryStore::setAside()
{
    const QString aside = copyPath() + QStringLiteral(".unapplied");
    QFile::remove(aside);
    QFile::rename(copyPath(), aside);
    return aside;
}

RecoveryStore::Recovery RecoveryStore::recoverLeftover()
{
    Recovery recovery;
    recoverycopy::Files files;
    if (leftover(&files) != Leftover::Intact)
        return recovery;
    if (isOnDisk(files)) {
        discard();
        return recovery;
    }
    const Result<void> applied = apply(files);
    if (applied) {
        discard();
        recovery.outcome = Recovery::Outcome::Restored;
        return recovery;
    }
    const QString aside = setAside();
    recovery.outcome = Recovery::Outcome::NotApplied;
    recovery.errorMessage = QStringLiteral("前回終了時の内容を復元できませんでした: ") +
                            applied.error() + QStringLiteral("\n内容は ") +
                            QDir::toNativeSeparators(aside) + QStringLiteral(" に残してあります");
    return recovery;
}
