// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Starting a fresh process for the benchmarks that time what a user waits
// for from a launch: posix_spawn with an environment of our own, the clock
// read just before the launch.

#include <string>
#include <vector>

namespace benchprocess {

// CLOCK_MONOTONIC in milliseconds.
double nowMs();

// The current environment with `overrides` ("NAME=value") replacing or
// adding variables; an override "NAME" alone removes the variable.
std::vector<std::string> environment(const std::vector<std::string> &overrides);

// The environment a benchmark starts the program in on the X server
// `display` ("DISPLAY" value): the xcb platform, `runtimeDir` as the private
// runtime folder, and neither a session bus nor a session manager, as in the
// test runs.
std::vector<std::string> programEnvironment(const std::string &display,
                                            const std::string &runtimeDir);

// Runs `args` to its end; the milliseconds from launch to exit, or a negative
// value when it could not start or did not exit with status 0. With
// `exitStatus`, any exit counts and its status (-1 for a signal) goes there.
double runToExit(const std::vector<std::string> &args, const std::vector<std::string> &env,
                 int *exitStatus = nullptr);

// Launches `args` with descriptor 3 writing into a pipe and the environment
// variable TAVRINT_FIRST_FRAME_FD=3; waits for the first-frame line, then
// ends the process. The milliseconds from launch to that line, or a negative
// value when none came within `timeoutMs`.
double runToFirstFrame(const std::vector<std::string> &args, std::vector<std::string> env,
                       int timeoutMs = 30000);

// The same, but the process keeps running: its id goes to `pid` (0 when it
// did not start), and the caller ends it.
double launchToFirstFrame(const std::vector<std::string> &args, std::vector<std::string> env,
                          int *pid, int timeoutMs = 30000);

// Ends a process started by launchToFirstFrame and waits for it.
void stop(int pid);

} // namespace benchprocess
