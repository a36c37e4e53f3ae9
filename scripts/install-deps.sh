#!/bin/sh
# Installs, from Debian's packages, whatever the build, the program and the
# tests need and the machine lacks. Runs apt only when something is missing.
set -eu

PACKAGES="
  g++ cmake ninja-build pkg-config make
  qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
  libfreexl-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core
  xdg-utils
  cups cups-client cups-bsd
  xvfb xauth x11-utils xdotool imagemagick poppler-utils
  libspreadsheet-writeexcel-perl libole-storage-lite-perl
  clang libclang-rt-14-dev
  util-linux procps psmisc
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages:$missing" >&2
  echo "Run this script as root (or install them with sudo apt-get install)." >&2
  exit 1
fi

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $missing >/dev/null
