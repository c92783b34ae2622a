#!/usr/bin/env bash
# A long fuzzing campaign: builds the fuzz preset (clang-14) and runs every harness for SECONDS
# (600 by default), as many at a time as there are cores. The corpora grow in
# build/fuzz/fuzz/corpus/ from run to run; a failing input is kept in build/fuzz/fuzz/findings/
# (reproduce it with `build/fuzz/fuzz/fuzz_NAME FILE`, then make it a unit test).
#   scripts/fuzz.sh [SECONDS] [ctest arguments, e.g. -R news_rtf]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
BREVIO_FUZZ_SECONDS=$seconds ctest --preset fuzz -j "$(nproc)" --timeout $((seconds + 600)) "$@"
