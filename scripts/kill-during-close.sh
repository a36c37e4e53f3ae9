#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Kills the program with SIGKILL while it closes, again and again, and checks
# that every box text and the settings file is always whole (the old content
# or the new, never empty or cut short), and that the next start removes the
# temporary files the killed saves left behind.
#
#   scripts/kill-during-close.sh [tries] [path to tavrint]
#
# Starts an X server of its own (needs Xvfb and xdotool).
set -euo pipefail
cd "$(dirname "$0")/.."
tries=${1:-100}
exe=$(realpath "${2:-build/shell/tavrint}")

work=$(mktemp -d /tmp/tavrint-kill.XXXXXX)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

. scripts/xvfb.sh
start_xvfb 150 199 "$work/xvfb.log"

export DISPLAY=$display QT_QPA_PLATFORM=xcb QT_FONT_DPI=96 DBUS_SESSION_BUS_ADDRESS=disabled:
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
prog=$work/program
mkdir -p "$prog/Data"
cp "$exe" "$prog/tavrint"

# Box texts large enough that a save takes a while: 2,000 lines of
# code-page-932 text each (the bytes of "山田商事" and ASCII).
line=$(printf 'line %%04d \x8e\x52\x93\x63\x8f\xa4\x8e\x96 0123456789 abcdefghij\r\n')
for name in 1本文 3署名 5標題 6記書き 7記 8結; do
  for i in $(seq 1 2000); do printf "$line" "$i"; done >"$prog/Data/$name.txt"
done

pid="" id=""
start() { # sets pid and id (the window)
  "$prog/tavrint" >/dev/null 2>&1 &
  pid=$!
  id=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" --name '^Tavrint$' 2>/dev/null | head -1)
  # Not shown (the X server refused the start): try once more.
  if [ -z "$id" ]; then
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    "$prog/tavrint" >/dev/null 2>&1 &
    pid=$!
    id=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" --name '^Tavrint$' 2>/dev/null | head -1)
  fi
}
close_button() { # the "X" button, 32 above the client area's bottom
  local id=$1 height
  height=$(xdotool getwindowgeometry "$id" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
  xdotool mousemove --window "$id" 218 $((height - 19)) click 1
}

# One clean run writes the settings file; its files are the reference.
start
close_button "$id"
wait "$pid"
mkdir -p "$work/reference"
cp -a "$prog/Data" "$prog/Init" "$work/reference/"

broken=0 landed=0 strays=0
for try in $(seq 1 "$tries"); do
  start
  close_button "$id"
  sleep "0.0$(printf '%02d' $((RANDOM % 60)))"
  if kill -9 "$pid" 2>/dev/null; then landed=$((landed + 1)); fi
  wait "$pid" 2>/dev/null || true
  for dir in Data Init; do
    for ref in "$work/reference/$dir"/*; do
      file="$prog/$dir/$(basename "$ref")"
      if ! cmp -s "$ref" "$file"; then
        broken=$((broken + 1))
        echo "try $try: $dir/$(basename "$ref") differs ($(stat -c %s "$file" 2>/dev/null || echo missing) bytes)"
      fi
    done
  done
  strays=$((strays + $(find "$prog/Data" "$prog/Init" -name '.*.tmp' | wc -l)))
done

# The next start clears what the killed saves left.
before=$(find "$prog/Data" "$prog/Init" -name '.*.tmp' | wc -l)
start
left=$(find "$prog/Data" "$prog/Init" -name '.*.tmp' | wc -l)
close_button "$id"
wait "$pid" || true

echo "tries: $tries, killed while still running: $landed"
echo "files not whole: $broken"
echo "temporary files left by killed saves: $strays seen, $before before the next start, $left after it"
[ "$broken" -eq 0 ] && [ "$left" -eq 0 ]
