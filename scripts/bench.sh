#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark on a Release build and prints one table: benchmark,
# median, min-max, target, and the ratio to the floor where the row has one.
# Starts the test printer for the print job benchmark, an Xvfb for the
# benchmarks that start the real program, and generates the workbooks the
# reader benchmark reads.
#
#   scripts/bench.sh
#
# How a benchmark reports: each measurement is one line on standard output,
#   BENCHROW<tab>name<tab>median ms<tab>min ms<tab>max ms<tab>runs<tab>target<tab>floor
# (bench/benchrow.h prints it). `floor` names a row of the same benchmark run
# whose median divides this row's median in the ratio column, or is "-".
# Every other output line is printed under the table as a note. A new
# benchmark is an executable bench/bench_*; give it its arguments in the
# `case` below if it needs any.
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

# An X server like the tests' for the benchmarks that start the program.
. "$root/scripts/xvfb.sh"
start_xvfb 200 250 "$work/xvfb.log"
export TAVRINT_BENCH_DISPLAY="$display"
# bench_pdfcommand measures the X case on it too.
export DISPLAY="$display"
# No session bus: Qt would start dbus-launch in every process.
export DBUS_SESSION_BUS_ADDRESS=disabled:

echo "load before: $(uptime)" >"$work/notes"
: >"$work/rows"
for b in "$build"/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  name=$(basename "$b")
  case $name in
    bench_startup)
      args=("$build/shell/tavrint" "$build/bench/floor_window"
            "$build/bench/floor_window_printsupport" "$build/bench/floor_window_libs"
            "$build/bench/floor_window_text") ;;
    bench_secondstart|bench_handoffbusy|bench_pdfcommand|bench_mergedletters) args=("$build/shell/tavrint") ;;
    bench_workbookreader) args=("$work/books") ;;
    *) args=() ;;
  esac
  echo "running $name" >&2
  # Offscreen unless the benchmark starts programs on the X server itself.
  if ! QT_QPA_PLATFORM=offscreen "$b" "${args[@]}" >"$work/out" 2>"$work/err"; then
    echo "$name FAILED: $(tail -3 "$work/err" | tr '\n' ' ')" >>"$work/notes"
  fi
  grep -P '^BENCHROW\t' "$work/out" | sed "s/^BENCHROW\t/$name\t/" >>"$work/rows" || true
  grep -vP '^BENCHROW\t' "$work/out" | sed "s/^/$name: /" >>"$work/notes" || true
done
echo "load after: $(uptime)" >>"$work/notes"

# The table; a floor is looked up among the rows of the same benchmark.
awk -F'\t' '
  { bench[NR] = $1; name[NR] = $2; med[NR] = $3; lo[NR] = $4; hi[NR] = $5; runs[NR] = $6
    target[NR] = $7; floor[NR] = $8; key[$1 "\t" $2] = $3 }
  END {
    fmt = "| %-52s | %10s | %-21s | %-26s | %-7s |\n"
    printf fmt, "benchmark", "median ms", "min-max ms (runs)", "target", "x floor"
    printf "|%s|%s|%s|%s|%s|\n", "------------------------------------------------------",
      "------------", "-----------------------", "----------------------------", "---------"
    for (i = 1; i <= NR; i++) {
      ratio = "-"
      if (floor[i] != "-" && (bench[i] "\t" floor[i]) in key && key[bench[i] "\t" floor[i]] > 0)
        ratio = sprintf("%.2f", med[i] / key[bench[i] "\t" floor[i]])
      printf fmt, name[i], med[i], sprintf("%s-%s (%s)", lo[i], hi[i], runs[i]), target[i], ratio
    }
  }' "$work/rows"
echo
cat "$work/notes"
