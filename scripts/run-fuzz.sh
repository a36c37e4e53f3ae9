#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the customer-data fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in a build directory of their own and runs each
# for a while, seeded with the generated test workbooks. Fails on any crash,
# leak, time-out or broken promise of a reader.
#
#   scripts/run-fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
#
# SECONDS_PER_TARGET defaults to 30; the targets default to all of them.
# FUZZ_BUILD_DIR overrides the build directory (default build-fuzz).
set -eu

seconds=${1:-30}
[ $# -gt 0 ] && shift
targets=${*:-"fuzz_workbookreader fuzz_sheetreport fuzz_textcustomerreader fuzz_officesheet"}

root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
sanitize="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$sanitize" \
    -DENABLE_FUZZERS=ON -DBUILD_BENCHMARKS=OFF >/dev/null
# shellcheck disable=SC2086
ninja -C "$build" -j2 $targets

work="$build/fuzz"
rm -rf "$work/seeds-workbook" "$work/seeds-report" "$work/seeds-text" "$work/seeds-office"
mkdir -p "$work/seeds-workbook" "$work/seeds-report" "$work/seeds-text" "$work/seeds-office" "$work/artifacts"
perl "$root/scripts/make-test-workbooks.pl" "$work/seeds-workbook"
# What the child process reports for the sound workbooks.
TAVRINT_WRITE_REPORTS="$work/seeds-report" \
    "$build/tests/customers/fuzz_sheetreport" "$work/seeds-workbook"/*.xls
# The .xlsx and .ods workbooks, without the large hostile ones (the tests
# cover those; as seeds they would only be cut at max_len).
perl "$root/scripts/make-test-office-workbooks.pl" "$work/seeds-office"
rm -f "$work/seeds-office"/bomb.* "$work/seeds-office"/strings-bomb.* "$work/seeds-office"/deep.*
# One that FreeXL itself cannot survive.
cp "$root/tests/data/workbook-freexl-segv.xls" "$work/seeds-workbook/"
printf 'a,b,c\r\n"x,y",z\n"open\r\n' >"$work/seeds-text/plain.txt"
printf '\203\134\225\134,\224\134\r\n\201\100a b\tc\r' >"$work/seeds-text/sjis.txt"

export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for target in $targets; do
    case $target in
        fuzz_workbookreader) seeds="$work/seeds-workbook"; maxlen=131072 ;;
        fuzz_sheetreport) seeds="$work/seeds-report"; maxlen=131072 ;;
        fuzz_officesheet) seeds="$work/seeds-office"; maxlen=131072 ;;
        *) seeds="$work/seeds-text"; maxlen=65536 ;;
    esac
    corpus="$work/corpus-$target"
    mkdir -p "$corpus"
    echo "== $target: $seconds s"
    if ! "$build/tests/customers/$target" "$corpus" "$seeds" \
        -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 -max_len="$maxlen" \
        -artifact_prefix="$work/artifacts/$target-" -print_final_stats=1; then
        echo "$target FAILED; reproducer in $work/artifacts/" >&2
        status=1
    fi
done
exit $status
