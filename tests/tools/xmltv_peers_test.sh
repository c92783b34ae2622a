#!/usr/bin/env bash
# The format's own toolkit checks our side: every listing the tests read is valid XMLTV to
# tv_validate_file, and listings sorted by tv_sort or merged by tv_cat publish to the same tree.
# Usage: xmltv_peers_test.sh BREVIO_PUBLISH BREVIO_DEMO_DATA XMLTV_SAMPLES_DIR
set -euo pipefail
publish=$1
generator=$2
data=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export TZ=Europe/Moscow XMLTV_SUPPLEMENT=/usr/share/xmltv
for tool in tv_validate_file tv_sort tv_cat; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs xmltv-util)"
done

# The generated listings the end-to-end and window tests read.
"$generator" --xmltv "$work/generated-small.xml" --today 2026-12-09 --channels 5 --days 7 >/dev/null
"$generator" --xmltv "$work/generated.xml" --today 2026-12-09 --channels 10 --days 14 --detail 2 >/dev/null
# Sorted and merged copies (tv_sort warns about the sample's overlapping shows on stderr).
tv_sort "$data/week.xml" >"$work/sorted.xml" 2>/dev/null
tv_sort "$work/generated-small.xml" >"$work/generated-sorted.xml" 2>/dev/null
tv_cat "$data/week.xml" "$data/extra.xml" >"$work/merged.xml"
tv_cat "$data/extra.xml" "$data/week.xml" | tv_sort >"$work/merged-sorted.xml" 2>/dev/null

for listing in "$data"/*.xml "$work"/*.xml; do
  verdict=$(tv_validate_file "$listing" 2>&1) || fail "$(basename "$listing") is no valid XMLTV: $verdict"
done

tree() { # DIR FILE...: publish FILEs into DIR
  local dir=$1
  shift
  "$publish" --out "$work/$dir" "$@" >/dev/null 2>&1 || fail "publishing $* failed"
}
tree plain "$data/week.xml"
tree sorted "$work/sorted.xml"
tree two "$data/week.xml" "$data/extra.xml"
tree merged "$work/merged.xml"
tree merged-sorted "$work/merged-sorted.xml"
tree generated "$work/generated-small.xml"
tree generated-sorted "$work/generated-sorted.xml"
for pair in "plain sorted" "two merged" "two merged-sorted" "generated generated-sorted"; do
  set -- $pair
  diff -r "$work/$1" "$work/$2" >/dev/null || fail "$2 publishes other files than $1"
done
echo "peers: all checks passed"
