#!/usr/bin/env bash
# Runs one harness for $BREVIO_FUZZ_SECONDS (15 by default) on its seeds and on what earlier
# runs in this build folder found. A crash, a leak, undefined behaviour, a broken property or a
# slow input fails the run and leaves the input in findings/.
#   run_harness.sh HARNESS NAME SOURCE_DIR WORK_DIR [MORE_SEED_FOLDERS...]
set -euo pipefail
harness=$1 name=$2 source_dir=$3 work_dir=$4
shift 4
seconds=${BREVIO_FUZZ_SECONDS:-15}
corpus=$work_dir/corpus/$name
mkdir -p "$corpus" "$work_dir/findings"
args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
      -artifact_prefix="$work_dir/findings/$name-")
if [[ -f $source_dir/dict/$name.dict ]]; then
  args+=(-dict="$source_dir/dict/$name.dict")
fi
exec "$harness" "${args[@]}" "$corpus" "$source_dir/corpus/$name" "$@"
