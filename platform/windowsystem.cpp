// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windowsystem.h"

#include <QGuiApplication>

namespace windowsystem {

bool reportsWindowPosition()
{
    // "wayland", "wayland-egl", "wayland-xcomposite-glx", ...
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace windowsystem
