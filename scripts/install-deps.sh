#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs, from Debian's packages, what the machine lacks for one purpose:
#
#   install-deps.sh runtime   building and running the program (./run.sh)
#   install-deps.sh test      that, plus the test tools (./test.sh)
#   install-deps.sh           the same as "test"
#
# Runs apt only when something is missing. As root it installs at once; as
# another user it asks sudo, and where sudo cannot help it prints the exact
# command to run as root and fails.
set -eu

BUILD="
  g++ cmake ninja-build pkg-config make
  qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
  libfreexl-dev libzip-dev libqpdf-dev libcups2-dev
"
RUNTIME="
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core
  xdg-utils cups-client qt6-translations-l10n hylafax-client
"
TEST="
  cups cups-bsd hylafax-server
  xvfb xauth x11-utils xdotool imagemagick poppler-utils weston qt6-wayland
  libspreadsheet-writeexcel-perl libole-storage-lite-perl libexcel-writer-xlsx-perl
  clang clang-format libclang-rt-14-dev
  util-linux procps psmisc sudo dbus
  desktop-file-utils appstream man-db dpkg-dev file lintian
  libreoffice-calc-nogui
"

case "${1:-test}" in
  runtime) PACKAGES="$BUILD $RUNTIME" ;;
  test) PACKAGES="$BUILD $RUNTIME $TEST" ;;
  *) echo "usage: $0 [runtime|test]" >&2; exit 2 ;;
esac

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && exit 0

command="apt-get update && apt-get install -y --no-install-recommends$missing"
if [ "$(id -u)" -eq 0 ]; then
  as_root=""
elif command -v sudo >/dev/null 2>&1 && { [ -t 0 ] || sudo -n true 2>/dev/null; }; then
  as_root="sudo"
else
  echo "Missing packages:$missing" >&2
  echo "Install them as root, then run this again:" >&2
  echo "  su -c '$command'" >&2
  exit 1
fi

echo "Installing:$missing"
# shellcheck disable=SC2086
if ! $as_root env DEBIAN_FRONTEND=noninteractive sh -c "apt-get update -qq && apt-get install -y -qq --no-install-recommends$missing >/dev/null"; then
  echo "Installing failed. Run this as root, then run this again:" >&2
  echo "  su -c '$command'" >&2
  exit 1
fi
