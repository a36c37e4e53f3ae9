// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/windowmodule.h"

#include "platform/lazylibrary.h"
#include "shell/singleinstance.h"
#include "shell/windowentry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace windowmodule {

namespace {

QString ownExecutable(char **argv)
{
    // The kernel's word for it: argv[0] may be a bare name found on the PATH.
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length > 0)
        return QFile::decodeName(QByteArray(path, length));
    return argv && argv[0] ? QFileInfo(QFile::decodeName(argv[0])).absoluteFilePath() : QString();
}

} // namespace

QStringList candidates(const QString &executablePath)
{
    QStringList places;
    if (!executablePath.isEmpty())
        places.append(QFileInfo(executablePath).absolutePath() + QLatin1Char('/') +
                      QLatin1String(windowentry::kModuleFileName));
    const QString built = QStringLiteral(TAVRINT_WINDOW_MODULE_BUILT);
    if (!places.contains(built))
        places.append(built);
    return places;
}

int run(int argc, char **argv, const SingleInstanceLock &lock)
{
    QStringList tried;
    for (const QString &place : candidates(ownExecutable(argv))) {
        if (!QFileInfo::exists(place))
            continue;
        // The library stays open for the rest of the run, as the window's
        // code lives in it; the object that opened it need not.
        LazyLibrary module(QFile::encodeName(place).constData());
        windowentry::Stamp stamp = nullptr;
        windowentry::Main windowMain = nullptr;
        if (const Result<void> loaded = module.load(); !loaded) {
            tried.append(place + QStringLiteral(" (") + loaded.error() + QLatin1Char(')'));
            continue;
        }
        if (!module.resolve(windowentry::kStampSymbol, stamp) ||
            !module.resolve(windowentry::kMainSymbol, windowMain)) {
            tried.append(place + QStringLiteral(" (no window entry)"));
            continue;
        }
        if (std::strcmp(stamp(), TAVRINT_BUILD_STAMP) != 0) {
            tried.append(place + QStringLiteral(" (of another build)"));
            continue; // left loaded: unloading code that may have run is unsafe
        }
        return windowMain(argc, argv, QFile::encodeName(lock.directory()).constData(),
                          QFile::encodeName(lock.socketPath()).constData());
    }
    std::fprintf(stderr, "tavrint: the window module %s of this build is missing%s%s\n",
                 windowentry::kModuleFileName, tried.isEmpty() ? "" : "; passed over: ",
                 qUtf8Printable(tried.join(QStringLiteral(", "))));
    return 1;
}

} // namespace windowmodule
