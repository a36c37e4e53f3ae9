// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include <QByteArray>

// A shared library opened the first time it is needed, not at start. The
// workbook libraries serve the "XLS" data sources alone; linked to the
// program, they would be loaded, and their symbols bound, at every start
// before the first window shows.
class LazyLibrary
{
public:
    // The exact file name the loader looks for, with the version the
    // headers were built against: "libfreexl.so.1", never a bare
    // "libfreexl.so" that may be another version.
    explicit LazyLibrary(const char *soname) : m_soname(soname) {}
    LazyLibrary(const LazyLibrary &) = delete;
    LazyLibrary &operator=(const LazyLibrary &) = delete;

    // Opens the library, or says why it cannot be. It stays open for the
    // rest of the run.
    Result<void> load();

    // Sets `slot` to the library's function `symbol`, of the type its header
    // declares; false (and a null slot) when the library has no such
    // function or is not open.
    template <typename Function> bool resolve(const char *symbol, Function &slot)
    {
        slot = reinterpret_cast<Function>(address(symbol));
        return slot != nullptr;
    }

private:
    void *address(const char *symbol);

    QByteArray m_soname;
    void *m_handle = nullptr;
};
