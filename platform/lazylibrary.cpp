#include "platform/lazylibrary.h"

#include <dlfcn.h>

bool LazyLibrary::load()
{
    if (m_handle)
        return true;
    // Local: the program's own code reaches the library only through the
    // functions resolved here.
    m_handle = ::dlopen(m_soname.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char *reason = ::dlerror();
        m_error = QString::fromLocal8Bit(reason ? reason : m_soname.constData());
    }
    return m_handle != nullptr;
}

void *LazyLibrary::address(const char *symbol)
{
    if (!m_handle)
        return nullptr;
    ::dlerror();
    void *found = ::dlsym(m_handle, symbol);
    if (!found) {
        const char *reason = ::dlerror();
        m_error = QString::fromLocal8Bit(reason ? reason : symbol);
    }
    return found;
}
