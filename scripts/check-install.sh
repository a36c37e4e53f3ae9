#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks what a user installs: the files `cmake --install` places (desktop
# entry, AppStream metainfo, man page), the .deb with its file list, control
# fields and what lintian says of it, and, when run as root on a display, two
# first starts as an ordinary user:
#   - ./run.sh in a fresh clone whose build folder belongs to root,
#   - the installed .deb's `tavrint` from the PATH.
# Each must reach the window with the program folder in that user's home.
#
#   scripts/check-install.sh BUILD_DIR WORK_DIR    (DISPLAY names the X server)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
work=$2
mkdir -p "$work"

fail() { echo "check-install: $*" >&2; exit 1; }
step() { echo "check-install: $*"; }

# ---- the installed files -------------------------------------------------
stage="$work/stage"
rm -rf "$stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
app=io.github.tavrint.Tavrint
for f in usr/bin/tavrint usr/libexec/tavrint/tavrint usr/libexec/tavrint/tavrint-window.so \
         usr/libexec/tavrint/tavrint-sheetdump \
         usr/share/applications/$app.desktop \
         usr/share/icons/hicolor/scalable/apps/$app.svg \
         usr/share/metainfo/$app.metainfo.xml usr/share/man/man1/tavrint.1.gz \
         usr/share/doc/tavrint/copyright usr/share/doc/tavrint/changelog.gz \
         usr/share/doc/tavrint/examples/smpl1.txt usr/share/doc/tavrint/examples/smpl2.xls \
         usr/share/doc/tavrint/examples/smpl3.xls usr/share/lintian/overrides/tavrint \
         "usr/share/doc/tavrint/examples/Letters/見積書送付.ini"; do
  [ -e "$stage/$f" ] || fail "not installed: /$f"
done
step "desktop-file-validate"
out=$(desktop-file-validate "$stage/usr/share/applications/$app.desktop" 2>&1) || fail "$out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
step "appstreamcli validate --no-net"
appstreamcli validate --no-net "$stage/usr/share/metainfo/$app.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  fail "appstreamcli: $(cat "$work/appstream.log")"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$stage/usr/share/metainfo/$app.metainfo.xml" ||
  fail "the metainfo does not name the licence"
step "man -l"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$stage/usr/share/man/man1/tavrint.1.gz" 2>&1 >"$work/man.txt")
[ -z "$warnings" ] || fail "man: $warnings"
for word in --pdf --customers --screen-height --letter --help --version Ctrl+P F5 Ctrl+F Ctrl+Shift+S \
            Ctrl+Shift+E Ctrl+Shift+P smpl1.txt GPL-3.0-or-later; do
  grep -q -- "$word" "$work/man.txt" || fail "the man page does not mention $word"
done
xmllint --noout "$stage/usr/share/icons/hicolor/scalable/apps/$app.svg" 2>/dev/null ||
  file "$stage/usr/share/icons/hicolor/scalable/apps/$app.svg" | grep -q SVG || fail "the icon is no SVG"

# ---- the .deb ------------------------------------------------------------
step "cpack -G DEB"
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || fail "cpack: $(tail -20 "$work/cpack.log")"
deb=$(readlink -f "$(ls -t "$build"/tavrint_*.deb | head -1)")
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/deb.list"
for f in /usr/bin/tavrint /usr/libexec/tavrint/tavrint /usr/libexec/tavrint/tavrint-window.so \
         /usr/libexec/tavrint/tavrint-sheetdump \
         /usr/share/applications/$app.desktop \
         /usr/share/icons/hicolor/scalable/apps/$app.svg /usr/share/metainfo/$app.metainfo.xml \
         /usr/share/man/man1/tavrint.1.gz /usr/share/doc/tavrint/copyright \
         /usr/share/doc/tavrint/changelog.gz /usr/share/doc/tavrint/examples/smpl1.txt \
         /usr/share/doc/tavrint/examples/smpl2.xls /usr/share/doc/tavrint/examples/smpl3.xls \
         /usr/share/lintian/overrides/tavrint "/usr/share/doc/tavrint/examples/Letters/見積書送付.ini"; do
  grep -qx "$f" "$work/deb.list" || fail "$deb lacks $f"
done
# Nothing of the build or the tests goes into the package.
if grep -E 'tst_|bench_|/include/|\.a$' "$work/deb.list"; then fail "$deb holds build files"; fi
dpkg-deb -f "$deb" Depends | grep -q fonts-ipafont || fail "$deb does not depend on the IPA fonts"
# The workbook libraries are opened at run time, so shlibdeps cannot see them.
for lib in libfreexl1 libzip4 qt6-translations-l10n; do
  dpkg-deb -f "$deb" Depends | grep -q "$lib" || fail "$deb does not depend on $lib"
done
# An input method to type Japanese with, either of the two the README names.
dpkg-deb -f "$deb" Recommends | grep -qF "fcitx5-mozc | ibus-mozc" ||
  fail "$deb does not recommend an input method"
# Every program and module in the package is stripped; modules are no programs.
unpacked="$work/deb-root"
rm -rf "$unpacked"
dpkg-deb -x "$deb" "$unpacked"
for f in "$unpacked"/usr/libexec/tavrint/*; do
  what=$(file -b "$f")
  case $what in
    ELF*) ;;
    *) continue ;;
  esac
  case $what in *", stripped"*) ;; *) fail "${f#"$unpacked"} is not stripped: $what" ;; esac
  case $what in
    *"shared object"*) want=644 ;;
    *) want=755 ;;
  esac
  [ "$(stat -c %a "$f")" = "$want" ] || fail "${f#"$unpacked"} is $(stat -c %a "$f"), not $want"
done
version=$(dpkg-deb -f "$deb" Version)
zcat "$unpacked/usr/share/doc/tavrint/changelog.gz" | head -1 | grep -qF "tavrint ($version) " ||
  fail "the changelog's newest entry is not $version"
head -1 "$unpacked/usr/share/doc/tavrint/copyright" |
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not machine-readable"
# Debian's own checks: no error and no warning, but for the one override
# (national-encoding: the code page 932 sample, as the override says).
step "lintian"
lintian --tag-display-limit 0 --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
  fail "lintian: $(grep -E '^[EW]: ' "$work/lintian.log" || cat "$work/lintian.log")"
if grep -E '^[EW]: ' "$work/lintian.log"; then fail "lintian found errors or warnings"; fi

# ---- a missing package, for a user who cannot install it -----------------
# The script must name the exact command for root and fail, not half-build.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  step "install-deps.sh as nobody with a package missing"
  shim=$(mktemp -d /tmp/tavrint-shim.XXXXXX)
  chmod 755 "$shim"
  printf '#!/bin/sh\ncase "$*" in *fonts-ipafont-mincho*) exit 1 ;; esac\nexec /usr/bin/dpkg-query "$@"\n' >"$shim/dpkg-query"
  chmod 755 "$shim/dpkg-query"
  cp "$root/scripts/install-deps.sh" "$shim/" # the checkout may be closed to nobody
  set +e
  said=$(setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i PATH="$shim:/usr/bin:/bin" HOME=/nonexistent sh "$shim/install-deps.sh" runtime 2>&1 </dev/null)
  status=$?
  set -e
  rm -rf "$shim"
  [ "$status" -ne 0 ] || fail "install-deps.sh succeeded with a package missing"
  grep -qF "su -c 'apt-get update && apt-get install -y --no-install-recommends fonts-ipafont-mincho'" <<<"$said" ||
    fail "install-deps.sh did not name the command for root: $said"
fi

if [ "$(id -u)" -ne 0 ] || [ -z "${DISPLAY:-}" ] || ! command -v setpriv >/dev/null; then
  step "the starts as an ordinary user need root, setpriv and DISPLAY: skipped"
  exit 0
fi

# ---- first starts as an ordinary user -------------------------------------
# Run in the background: exec keeps the program's process id in $!, and the
# lock stays with this script.
as_user() { # HOME, then the command
  local home=$1; shift
  exec 9>&- setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$home" USER=nobody LANG=C.UTF-8 \
    DISPLAY="$DISPLAY" DBUS_SESSION_BUS_ADDRESS=disabled: XDG_RUNTIME_DIR="$home/run" "$@"
}
users=$(mktemp -d /tmp/tavrint-users.XXXXXX)
chmod 755 "$users"
trap 'rm -rf "$users"' EXIT
fresh_home() {
  local home="$users/$1"
  rm -rf "$home"; mkdir -p "$home/run"; chmod 700 "$home/run"
  chown -R nobody:nogroup "$home"
  echo "$home"
}
# Waits for the window of `pid`, then ends that process.
expect_window() {
  local pid=$1 what=$2 log=$3
  for _ in $(seq 1 600); do
    if xdotool search --onlyvisible --pid "$pid" --name '^Tavrint$' >/dev/null 2>&1; then
      kill "$pid"; wait "$pid" 2>/dev/null || true
      step "$what reached the window"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || fail "$what ended without a window: $(tail -20 "$log")"
    sleep 0.5
  done
  kill "$pid" 2>/dev/null || true
  fail "$what showed no window in 300 s: $(tail -20 "$log")"
}
expect_program_folder() {
  local folder=$1
  [ -x "$folder/tavrint" ] || fail "no executable in $folder"
  for f in smpl1.txt smpl2.xls smpl3.xls; do
    cmp -s "$root/examples/$f" "$folder/$f" || fail "$folder/$f is not the sample"
  done
  for f in 見積書送付 請求書送付 資料送付 契約書送付; do
    cmp -s "$root/examples/Letters/$f.ini" "$folder/Letters/$f.ini" || fail "$folder/Letters/$f.ini is not the sample"
  done
  [ "$(stat -c %U "$folder/tavrint")" = nobody ] || fail "$folder/tavrint does not belong to the user"
}

# Only one such start at a time on this machine: one user, one instance.
exec 9>/tmp/tavrint-check-install.lock
flock 9

# run.sh in a fresh clone; the clone's build folder is root's, as after a
# first ./run.sh as root.
home=$(fresh_home run-user)
git clone -q "$root" "$home/tavrint"
if ! git -C "$root" diff --quiet HEAD -- run.sh desktop scripts examples; then
  # Uncommitted launcher or script changes are what is being tested.
  cp -r "$root/run.sh" "$root/desktop" "$root/scripts" "$root/examples" "$home/tavrint/"
fi
chown -R nobody:nogroup "$home/tavrint"
mkdir "$home/tavrint/build-release"
# A file of the user's own is never overwritten by the samples.
mkdir -p "$home/Tavrint" && printf 'mine\r\n' >"$home/Tavrint/smpl1.txt" && chown -R nobody:nogroup "$home/Tavrint"
step "./run.sh as nobody in a fresh clone (builds: this takes a while)"
as_user "$home" "$home/tavrint/run.sh" >"$work/run-user.log" 2>&1 &
expect_window $! "./run.sh as an ordinary user" "$work/run-user.log"
[ -x "$home/Tavrint/tavrint" ] || fail "run.sh placed no executable in ~/Tavrint"
[ -f "$home/Tavrint/tavrint-window.so" ] || fail "run.sh placed no window module in ~/Tavrint"
[ -x "$home/Tavrint/tavrint-sheetdump" ] || fail "run.sh placed no workbook reader in ~/Tavrint"
[ "$(cat "$home/Tavrint/smpl1.txt")" = $'mine\r' ] || fail "run.sh overwrote the user's smpl1.txt"
cmp -s "$root/examples/smpl2.xls" "$home/Tavrint/smpl2.xls" || fail "run.sh placed no smpl2.xls"
[ -e "$home/.cache/tavrint/build-release/CMakeCache.txt" ] || fail "run.sh did not build in the user's own folder"
# A user's build is the program alone: no Qt Test looked for, no test built,
# and no warning of a newer compiler stops it.
userbuild="$home/.cache/tavrint/build-release"
! grep -q '^Qt6Test_DIR:' "$userbuild/CMakeCache.txt" || fail "run.sh's build looked for Qt Test"
[ ! -e "$userbuild/tests" ] || fail "run.sh's build has tests"
! grep -q -e '-Werror' "$userbuild/compile_commands.json" || fail "run.sh's build treats warnings as errors"

# The .deb, installed, and `tavrint` from the PATH.
was_installed=$(dpkg-query -W -f='${Status}' tavrint 2>/dev/null | grep -c "install ok installed" || true)
step "installing $deb"
apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=300 "$deb" >"$work/apt.log" 2>&1 || fail "apt-get: $(tail "$work/apt.log")"
[ "$(command -v tavrint)" = /usr/bin/tavrint ] || fail "tavrint is not on the PATH"
man -aw tavrint | grep -qx /usr/share/man/man1/tavrint.1.gz || fail "man tavrint does not find the package's page"
home=$(fresh_home deb-user)
as_user "$home" tavrint >"$work/deb-user.log" 2>&1 &
expect_window $! "tavrint from the PATH" "$work/deb-user.log"
expect_program_folder "$home/Tavrint"
cmp -s /usr/libexec/tavrint/tavrint "$home/Tavrint/tavrint" || fail "the placed executable is not the installed one"
cmp -s /usr/libexec/tavrint/tavrint-window.so "$home/Tavrint/tavrint-window.so" ||
  fail "the placed window module is not the installed one"
cmp -s /usr/libexec/tavrint/tavrint-sheetdump "$home/Tavrint/tavrint-sheetdump" ||
  fail "the placed workbook reader is not the installed one"
if [ "$was_installed" = 0 ]; then
  dpkg -r tavrint >/dev/null
fi
step "all install checks passed"
