// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/companion.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace companion {

QString runningExecutable()
{
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length > 0)
        return QFile::decodeName(QByteArray(path, length));
    return QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
}

QStringList candidates(const QString &fileName, const QString &builtPath)
{
    QStringList places;
    const QString executable = runningExecutable();
    if (!executable.isEmpty())
        places.append(QFileInfo(executable).absolutePath() + QLatin1Char('/') + fileName);
    if (!builtPath.isEmpty() && !places.contains(builtPath))
        places.append(builtPath);
    return places;
}

QString find(const QString &fileName, const QString &builtPath)
{
    for (const QString &place : candidates(fileName, builtPath)) {
        if (QFileInfo(place).isFile())
            return place;
    }
    return QString();
}

} // namespace companion
