#pragma once

#include <QString>

#include <functional>

// Has the desktop open a document in its own application, without waiting
// for it. Tests put a recorder in place of the desktop.
namespace desktopopener {

void open(const QString &path);

using Opener = std::function<void(const QString &path)>;
Opener setOpener(Opener opener); // an empty opener restores the desktop's

} // namespace desktopopener
