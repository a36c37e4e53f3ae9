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
        const boxtextfile::LoadResult result = boxtextfile::loadBoxText(path);
        if (result.ok)
            return 0;
        message = result.errorMessage;
    } else if (std::strcmp(argv[1], "save") == 0 && argc == 4) {
        if (boxtextfile::saveBoxText(path, QString::fromUtf8(argv[3]), &message))
            return 0;
    } else {
        return 2;
    }
    std::fputs(message.toUtf8().constData(), stdout);
    return 1;
}
