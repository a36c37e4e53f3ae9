// SPDX-License-Identifier: GPL-3.0-or-later
// The second-start path of the real executable without its widget
// libraries: hands argument 1 to the running instance. Exit status as the
// real second start (0 delivered, 1 not), and 2 when no instance held the
// lock (this would have been a first start).
//
// usage: handoff_sender [text] [retry window ms]

#include "shell/handoffclient.h"
#include "shell/handoffmessage.h"
#include "shell/singleinstance.h"

#include <QByteArray>

int main(int argc, char *argv[])
{
    SingleInstanceLock lock;
    if (lock.acquire())
        return 2;
    const QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const auto window = argc > 2 ? std::chrono::milliseconds(QByteArray(argv[2]).toInt())
                                 : handoffclient::kRetryWindow;
    return handoffclient::deliver(lock.socketPath(), handoff::marker(),
                                  handoff::handOffText(argument), window);
}
