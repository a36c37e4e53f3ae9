# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the test and benchmark scripts: start_xvfb FIRST LAST LOG starts
# an Xvfb like the one the program is measured on (1366 x 768, 96 dpi, no TCP)
# on the first free display number from FIRST to LAST, waits for its socket,
# and sets `display` (":N") and `xvfb_pid`. The caller stops it.
# -noreset: by default the server resets whenever its last client leaves, and
# a program connecting during that reset is refused ("could not connect to
# display"); tests that start the program one after another hit that window.
start_xvfb() {
  display=""
  for n in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
  done
  if [ -z "$display" ]; then
    echo "no free X display number from $1 to $2" >&2
    return 1
  fi
  Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp -noreset -dpi 96 >"$3" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
}
