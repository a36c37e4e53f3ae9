// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in window module: the stamp it was built with, and an entry that
// only says it ran, by its exit status.

#include "shell/windowentry.h"

extern "C" TAVRINT_WINDOW_EXPORT const char *tavrint_window_stamp()
{
    return FAKE_STAMP;
}

extern "C" TAVRINT_WINDOW_EXPORT int tavrint_window_main(int, char **, const char *, const char *)
{
    return 42;
}
