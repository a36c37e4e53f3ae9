#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every C++ file git tracks is formatted as .clang-format says.
# Names the files that are not and fails; `scripts/check-format.sh --fix`
# formats them in place instead.
set -eu
cd "$(dirname "$0")/.."

files=$(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  # shellcheck disable=SC2086
  clang-format -i $files
  exit 0
fi

bad=""
for f in $files; do
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
    bad="$bad $f"
  fi
done
if [ -n "$bad" ]; then
  echo "Not formatted (run scripts/check-format.sh --fix):" >&2
  for f in $bad; do echo "  $f" >&2; done
  exit 1
fi
