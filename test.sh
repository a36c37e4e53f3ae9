#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test through CTest: once
# in a Debug build, once under AddressSanitizer + UBSan, the end-to-end,
# printing and window tests once more in a Release build (the one users
# run), then the fuzzers briefly. Starts its own CUPS scheduler (a PDF queue
# as default printer) and Xvfb for the end-to-end tests, and stops them at
# the end, and a HylaFAX server without a modem for the fax tests. Warnings
# are errors here; a test whose rig is missing fails.
#
#   ./test.sh                 everything
#   TAVRINT_QUICK=1 ./test.sh the Debug build's tests only
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

./scripts/install-deps.sh test

# The format is a check, not a hope: a file off .clang-format fails the run.
scripts/check-format.sh
# So is the licence: every file of code names it in its first lines.
scripts/check-licence.sh

jobs=$(nproc)
build=${BUILD_DIR:-$root/build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRINT_DEVELOPER=ON >/dev/null
ninja -C "$build" -j"$jobs"

work=$(mktemp -d /tmp/tavrint-test.XXXXXX)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  scripts/cups-test-printer.sh stop "$work/cups" >/dev/null 2>&1 || true
  scripts/hylafax-test-server.sh stop "$work/hylafax" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# A PDF printer as the default printer, on a scheduler of our own.
eval "$(scripts/cups-test-printer.sh start "$work/cups")"
# A fax server of our own, with no modem: faxes wait in its queue.
eval "$(scripts/hylafax-test-server.sh start "$work/hylafax")"

# An X server with a 1366 x 768 screen for the tests that start the program.
. "$root/scripts/xvfb.sh"
start_xvfb 90 140 "$work/xvfb.log"
export TAVRINT_TEST_DISPLAY="$display"
# No session bus for anything the tests start: Qt would otherwise start
# dbus-launch in every process that shows a window.
export DBUS_SESSION_BUS_ADDRESS=disabled:
# Every rig is here (as root, also the unprivileged user the permission
# tests switch to): a test that finds one missing fails instead of skipping.
if [ "$(id -u)" = 0 ]; then
  export TAVRINT_REQUIRE_RIGS=1
else
  echo "Not root: the tests that run the program as another user are skipped." >&2
fi

ctest --test-dir "$build" --output-on-failure -j"$jobs"

# ---- installing: the desktop entry, metainfo and man page validated, the
# .deb built and its file list checked; as root, ./run.sh in a fresh clone
# and the installed package's `tavrint` each started as an ordinary user.
DISPLAY="$display" scripts/check-install.sh "$build" "$work/install"
# ---- end of installing

if [ -n "${TAVRINT_QUICK:-}" ]; then
  exit 0
fi

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan=${ASAN_BUILD_DIR:-$root/build-asan}
cmake -S . -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRINT_DEVELOPER=ON \
  -DENABLE_SANITIZERS=ON -DBUILD_BENCHMARKS=OFF >/dev/null
ninja -C "$asan" -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp" \
  ctest --test-dir "$asan" --output-on-failure -j"$jobs"

# The Release build users run: its optimiser has shown faults the Debug
# build hides. The suites that drive the program, the printer and the window.
release=${RELEASE_BUILD_DIR:-$root/build-release-tests}
cmake -S . -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINT_DEVELOPER=ON \
  -DBUILD_BENCHMARKS=OFF >/dev/null
ninja -C "$release" -j"$jobs"
ctest --test-dir "$release" --output-on-failure -j"$jobs" -L 'e2e|cups|gui'

# The readers against mutated input, briefly.
scripts/run-fuzz.sh "${TAVRINT_FUZZ_SECONDS:-20}"
