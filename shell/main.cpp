// SPDX-License-Identifier: GPL-3.0-or-later
// The program: its own options, --pdf, the single-instance decision and a
// second start's hand-off need no widget; a first start loads the window
// module for its window.

#include "shell/commandline.h"
#include "shell/handoffclient.h"
#include "shell/handoffmessage.h"
#include "shell/pdfcommand.h"
#include "shell/singleinstance.h"
#include "shell/windowmodule.h"

#include <QStringList>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    // The program's own options come first and never reach a running
    // instance; any other first argument is a hand-off text as always.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine command = CommandLine::parse(arguments);
    switch (command.action) {
    case CommandLine::Action::ShowHelp:
        std::fputs(qUtf8Printable(commandline::helpText()), stdout);
        return 0;
    case CommandLine::Action::ShowVersion:
        std::fputs(qUtf8Printable(commandline::versionText()), stdout);
        return 0;
    case CommandLine::Action::Invalid:
        std::fprintf(stderr, "tavrint: %s\nTry 'tavrint --help'.\n",
                     qUtf8Printable(command.errorText));
        return 2;
    case CommandLine::Action::WritePdf:
    case CommandLine::Action::SendFax:
        return pdfcommand::run(argc > 0 ? argv[0] : nullptr, command);
    case CommandLine::Action::StartWindow:
        break;
    }

    // Held until the process ends; the kernel frees it even after a crash.
    SingleInstanceLock lock;
    if (!lock.acquire()) {
        // A second start: no application object, no window, no output.
        const QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
        std::_Exit(handoffclient::deliver(lock.socketPath(), handoff::marker(),
                                          handoff::handOffText(argument)));
    }

    if (!lock.isHeld()) {
        // Without the lock nothing keeps a second window off the same files.
        std::fprintf(stderr, "tavrint: %s\n",
                     SingleInstanceLock::noSafePlaceMessage().toLocal8Bit().constData());
        return 1;
    }

    // The window, its libraries and everything after this point come with
    // the window module.
    return windowmodule::run(argc, argv, lock);
}
