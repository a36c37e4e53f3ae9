// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the program and its window module agree on: the module
// "tavrint-window.so" exports these two functions, and the program calls
// the window's entry only when the stamp is its own build's, so that a
// module of another build is never run.
//
//   const char *tavrint_window_stamp();
//   int tavrint_window_main(int argc, char **argv, const char *lockDirectory,
//                           const char *socketPath);
//
// The entry runs the window to its end and returns the exit status; the
// program holds the single-instance lock in `lockDirectory` meanwhile, and
// second starts reach the window through `socketPath`.

#define TAVRINT_WINDOW_EXPORT __attribute__((visibility("default")))

namespace windowentry {

inline constexpr const char *kModuleFileName = "tavrint-window.so";
inline constexpr const char *kStampSymbol = "tavrint_window_stamp";
inline constexpr const char *kMainSymbol = "tavrint_window_main";

using Stamp = const char *(*)();
using Main = int (*)(int argc, char **argv, const char *lockDirectory, const char *socketPath);

} // namespace windowentry
