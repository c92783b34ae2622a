#!/usr/bin/env bash
# Publishing and importing a generated XMLTV listing: time and peak memory of brevio-publish,
# time of the import in the program and the window's longest pause meanwhile; the same listing
# gzip-compressed as a listing source on loopback, refreshed into an empty store and again
# unchanged, by the core alone and through the window (with the window's longest pause).
#
#   bench/xmltv_bench.sh BUILD_DIR [CHANNELS [DAYS [DETAIL]]]
#
# The defaults (300 channels, 14 days, 8 sentences a description) make about 100 MB.
set -euo pipefail
build=$1
channels=${2:-300}
days=${3:-14}
detail=${4:-8}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/tools/brevio-demo-data" --xmltv "$work/listing.xml" --channels "$channels" --days "$days" \
  --detail "$detail" >/dev/null
echo "listing: $channels channels, $days days, $(($(stat -c %s "$work/listing.xml") / 1000000)) MB"

/usr/bin/time -f "publish: %e s, peak %M KB resident" "$build/tools/brevio-publish" --out "$work/tree" \
  "$work/listing.xml" 2>&1 >/dev/null | grep -v '^brevio-publish: warning' || true
if [ -x "$build/bench/bench_import" ]; then
  "$build/bench/bench_import" "$work/listing.xml" | grep '^import:'
fi
if [ -x "$build/bench/bench_refresh" ]; then
  gzip -c "$work/listing.xml" >"$work/listing.xml.gz"
  "$build/bench/bench_refresh" "$work/listing.xml.gz"
fi
if [ -x "$build/bench/bench_refresh_window" ]; then
  "$build/bench/bench_refresh_window" "$work/listing.xml.gz" | grep -v '^message:'
fi
