// SPDX-License-Identifier: GPL-3.0-or-later
// Loads or saves one box text file the way the program does, as whichever
// user runs it; the permission tests run it as an unprivileged user.
//   boxtext_probe load <path>
//   boxtext_probe save <path> <text>
// Exit 0 on success; 1 with the error message on standard output.

#include "letter/boxtextfile.h"

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    const QString path = QString::fromUtf8(argv[2]);
    QString message;
    if (std::strcmp(argv[1], "load") == 0 && argc == 3) {
        const auto loaded = boxtextfile::loadBoxText(path);
        if (loaded)
            return 0;
        message = loaded.error();
    } else if (std::strcmp(argv[1], "save") == 0 && argc == 4) {
        const Result<void> saved = boxtextfile::saveBoxText(path, QString::fromUtf8(argv[3]));
        if (saved)
            return 0;
        message = saved.error();
    } else {
        return 2;
    }
    std::fputs(message.toUtf8().constData(), stdout);
    return 1;
}
