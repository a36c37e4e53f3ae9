#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every file of code git tracks (C++, shell and Perl scripts,
# CMake files, the launcher) names the program's licence in its first lines:
#   // SPDX-License-Identifier: GPL-3.0-or-later    (C++)
#   # SPDX-License-Identifier: GPL-3.0-or-later     (the rest; after a #! line)
# Names the files that do not and fails; `scripts/check-licence.sh --fix`
# adds the line to them instead. Test data and the samples are no code.
set -eu
cd "$(dirname "$0")/.."

tag="SPDX-License-Identifier: GPL-3.0-or-later"
files=$(git ls-files '*.cpp' '*.h' '*.sh' '*.pl' '*.cmake' CMakeLists.txt '*/CMakeLists.txt' \
  .ci/run desktop/tavrint.in ':!:tests/data/*' ':!:examples/*')

bad=""
for f in $files; do
  if ! head -n 5 "$f" | grep -qF "$tag"; then
    bad="$bad $f"
  fi
done
[ -z "$bad" ] && exit 0

if [ "${1:-}" = "--fix" ]; then
  tmp=$(mktemp)
  trap 'rm -f "$tmp"' EXIT
  for f in $bad; do
    case $f in
      *.cpp | *.h) line="// $tag" ;;
      *) line="# $tag" ;;
    esac
    if head -n 1 "$f" | grep -q '^#!'; then
      { head -n 1 "$f"; echo "$line"; tail -n +2 "$f"; } >"$tmp"
    else
      { echo "$line"; cat "$f"; } >"$tmp"
    fi
    cat "$tmp" >"$f" # in place: the file keeps its mode
    echo "added the licence line to $f"
  done
  exit 0
fi

echo "No \"$tag\" in the first lines (run scripts/check-licence.sh --fix):" >&2
for f in $bad; do echo "  $f" >&2; done
exit 1
