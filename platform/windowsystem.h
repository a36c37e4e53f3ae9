// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Facts about the window system the program runs on that change what it
// may store.
namespace windowsystem {

// False where the window system neither places windows at the program's
// wish nor tells a window where it is (Wayland): a position read back
// there is no position, and storing it would put the window off the screen
// at the next start on X11.
bool reportsWindowPosition();

} // namespace windowsystem
