#!/bin/bash
# Runs every benchmark on a Release build and prints their medians.
# Starts the test printer for the print job benchmark and generates the
# workbooks the reader benchmark reads.
#
#   scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

./scripts/install-deps.sh
build=${BENCH_BUILD_DIR:-$root/build-bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build" -j"$(nproc)"

work=$(mktemp -d /tmp/tavrint-bench.XXXXXX)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  scripts/cups-test-printer.sh stop "$work/cups" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
eval "$(scripts/cups-test-printer.sh start "$work/cups")"
mkdir -p "$work/books"
for script in make-test-workbooks.pl make-test-office-workbooks.pl; do
  perl "scripts/$script" "$work/books"
  perl "scripts/$script" --bench "$work/books"
done

# A real X server for the benchmarks that measure the X case too.
display=""
for n in $(seq 141 160); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
if [ -n "$display" ]; then
  Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp -dpi 96 >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
fi

export QT_QPA_PLATFORM=offscreen
for b in "$build"/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  name=$(basename "$b")
  case $name in
    bench_workbookreader) "$b" "$work/books" ;;
    bench_secondstart|bench_handoffbusy|bench_mergedletters) "$b" "$build/shell/tavrint" ;;
    bench_pdfcommand) DISPLAY=$display "$b" "$build/shell/tavrint" ;;
    *) "$b" ;;
  esac
done
