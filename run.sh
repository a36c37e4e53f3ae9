#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, installs the program into a folder of its
# own and starts it from there. The program keeps its files (Init/, Data/,
# smpl1.txt, smpl2.xls, smpl3.xls) beside its executable, so that folder,
# not the build tree, holds the user's letter: a clean build never wipes it.
# Works for a normal user (missing packages through sudo) and for root.
#
#   ./run.sh                      installs into ~/Tavrint and starts
#   TAVRINT_HOME=/some/dir ./run.sh   another folder
#   ./run.sh "宛名;;二行目"         with the program running: hands the text over
#   TAVRINT_PLACE_ONLY=1 ./run.sh   builds and installs, starts nothing
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh runtime

# The build folder must be the user's own: one left by root (or a checkout
# the user cannot write) would stop CMake, so such a user builds in a
# folder under the cache directory instead.
build=${BUILD_DIR:-build-release}
if { [ -e "$build" ] && [ ! -w "$build" ]; } || { [ -e "$build/CMakeCache.txt" ] && [ ! -w "$build/CMakeCache.txt" ]; } ||
   { [ ! -e "$build" ] && [ ! -w . ]; }; then
  build=${XDG_CACHE_HOME:-$HOME/.cache}/tavrint/build-release
  echo "Building in $build (the checkout's build folder is not yours)."
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
ninja -C "$build" -j"$(nproc)"

# The launcher places the executable and the missing sample files in the
# program folder, then starts the program from there.
export TAVRINT_PROGRAM="$PWD/$build/shell/tavrint"
case "$build" in /*) TAVRINT_PROGRAM="$build/shell/tavrint" ;; esac
export TAVRINT_EXAMPLES="$PWD/examples"
if [ -z "${TAVRINT_PLACE_ONLY:-}" ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  TAVRINT_PLACE_ONLY=1 sh desktop/tavrint.in
  echo "Installed into ${TAVRINT_HOME:-$HOME/Tavrint}." >&2
  echo "No display: set DISPLAY (for example start Xvfb) to see the window." >&2
  exit 1
fi
exec sh desktop/tavrint.in "$@"
