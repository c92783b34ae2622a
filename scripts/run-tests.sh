#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test; checks the
# Debian package of that build; then runs the Qt-free core's tests again under AddressSanitizer
# and UBSan; then runs every fuzz harness for a short while (15 s each) on top of its seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs" "$@"
# The Debian package of the same build: lintian, validators, installed and started, removed.
scripts/check-package.sh build/ci
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs" -E '^format$'
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
ctest --preset fuzz -j "$jobs"
