#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted by its .clang-format.
set -euo pipefail
cd "$1"
bad=0
while IFS= read -r -d '' file; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    echo "not formatted: $file"
    bad=1
  fi
done < <(find core gui app web tools tests bench fuzz \
              -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
exit $bad
