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

Opener setOpener(Opener opener)
{
    Opener previous = std::move(current());
    current() = std::move(opener);
    return previous;
}

} // namespace desktopopener
