// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktopopener.h"

#include <QDesktopServices>
#include <QUrl>

namespace desktopopener {

namespace {
Opener &current()
{
    static Opener opener;
    return opener;
}
} // namespace

void open(const QString &path)
{
    if (current()) {
        current()(path);
        return;
    }
    // xdg-open is started detached; its result is not examined.
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setInstance(Opener opener)
{
    current() = std::move(opener);
}

void resetInstance()
{
    current() = nullptr;
}

} // namespace desktopopener
