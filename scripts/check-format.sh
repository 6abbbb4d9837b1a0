#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what clang-format makes of it (.clang-format).
#   scripts/check-format.sh          check, list the files that differ
#   scripts/check-format.sh --fix    format them in place
set -euo pipefail
cd "$(dirname "$0")/.."
format="$(command -v clang-format-14 || command -v clang-format)"
mapfile -t files < <(git ls-files '*.cpp' '*.h' | grep -v '^third_party/')
if [ "${1:-}" = "--fix" ]; then
  "$format" -i "${files[@]}"
  exit 0
fi
bad=0
for f in "${files[@]}"; do
  if ! "$format" "$f" | cmp -s - "$f"; then
    echo "not formatted: $f   (scripts/check-format.sh --fix)"
    bad=1
  fi
done
exit "$bad"
