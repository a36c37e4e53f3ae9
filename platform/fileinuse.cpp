// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fileinuse.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fileinuse {

bool isInUse(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    const QString officeLock =
        info.absolutePath() + QStringLiteral("/.~lock.") + info.fileName() + QLatin1Char('#');
    if (QFileInfo::exists(officeLock))
        return true;

    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return true;
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd); // closing releases our own lock at once
    return locked;
}

} // namespace fileinuse
