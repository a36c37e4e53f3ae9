// SPDX-License-Identifier: GPL-3.0-or-later
// Saves one file the way the program does, as whichever user runs it; the
// permission tests run it as an unprivileged user.
//   atomicfile_probe <path> <content>
// Exit 0 when saved; 1 with the error text on standard output.

#include "platform/atomicfile.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    const Result<void> written = atomicfile::write(QString::fromUtf8(argv[1]), QByteArray(argv[2]));
    if (written)
        return 0;
    std::fputs(written.error().toUtf8().constData(), stdout);
    return 1;
}
