// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-in for a running instance: takes the single-instance lock of
// $XDG_RUNTIME_DIR (or the fallback directory), serves the hand-off socket
// and writes each received message to <output file> as
// "<count>\n<marker>\n<addressee>" in UTF-8. Prints "ready" once listening.
// Exit status 3 when another instance already holds the lock.
//
// usage: handoff_receiver <output file> [client time-out ms]

#include "shell/handoffserver.h"
#include "shell/singleinstance.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    SingleInstanceLock lock;
    if (!lock.acquire() || !lock.isHeld())
        return 3;
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString outputPath = QString::fromLocal8Bit(argv[1]);

    int count = 0;
    HandOffServer server([&](const QString &marker, const QString &addressee) {
        // A plain write, no fsync: the bench times the hand-off, not the disk.
        QFile file(outputPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        file.write(QByteArray::number(++count) + '\n' + marker.toUtf8() + '\n' +
                   addressee.toUtf8());
    });
    if (argc > 2)
        server.setClientTimeout(QByteArray(argv[2]).toInt());
    if (!server.listen(lock.socketPath()))
        return 4;
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return app.exec();
}
