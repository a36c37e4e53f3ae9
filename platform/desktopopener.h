// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

// Has the desktop open a document in its own application, without waiting
// for it. Tests put a recorder in place of the desktop.
namespace desktopopener {

void open(const QString &path);

// Stands another opener in for the desktop's until resetInstance().
using Opener = std::function<void(const QString &path)>;
void setInstance(Opener opener);
void resetInstance();

} // namespace desktopopener
