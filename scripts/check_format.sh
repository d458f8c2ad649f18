#!/usr/bin/env bash
# Fails when a C++ file of the repository is not laid out as .clang-format says;
# prints the files (and, with --diff, the changes clang-format would make).
set -euo pipefail
cd "$(dirname "$0")/.."
formatter="${CLANG_FORMAT:-clang-format}"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
bad=()
for file in "${files[@]}"; do
  if ! "$formatter" --dry-run --Werror "$file" >/dev/null 2>&1; then
    bad+=("$file")
    [[ "${1:-}" == --diff ]] && diff -u "$file" <("$formatter" "$file") || true
  fi
done
if ((${#bad[@]})); then
  printf 'not formatted (run clang-format -i): %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "${#files[@]} files formatted as .clang-format says"
