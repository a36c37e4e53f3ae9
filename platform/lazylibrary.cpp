// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/lazylibrary.h"

#include <dlfcn.h>

Result<void> LazyLibrary::load()
{
    if (m_handle)
        return {};
    // Local: the program's own code reaches the library only through the
    // functions resolved here.
    m_handle = ::dlopen(m_soname.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char *reason = ::dlerror();
        return fail(QString::fromLocal8Bit(reason ? reason : m_soname.constData()));
    }
    return {};
}

void *LazyLibrary::address(const char *symbol)
{
    if (!m_handle)
        return nullptr;
    return ::dlsym(m_handle, symbol);
}
