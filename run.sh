#!/bin/bash
# Installs what is missing, builds, installs the program into a folder of its
# own and starts it from there. The program keeps its files (Init/, Data/,
# smpl1.txt, smpl2.xls, smpl3.xls) beside its executable, so that folder,
# not the build tree, holds the user's letter: a clean build never wipes it.
#
#   ./run.sh                      installs into ~/Tavrint and starts
#   TAVRINT_HOME=/some/dir ./run.sh   another folder
#   ./run.sh "宛名;;二行目"         with the program running: hands the text over
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

build=${BUILD_DIR:-build-release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_BENCHMARKS=OFF >/dev/null
ninja -C "$build" -j"$(nproc)" tavrint

home=${TAVRINT_HOME:-$HOME/Tavrint}
mkdir -p "$home"
# Replace the executable atomically; leave every file of the user alone.
cp "$build/shell/tavrint" "$home/.tavrint.new"
mv -f "$home/.tavrint.new" "$home/tavrint"

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: set DISPLAY (for example start Xvfb) to see the window." >&2
  exit 1
fi
exec "$home/tavrint" "$@"
