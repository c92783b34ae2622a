#!/usr/bin/env bash
# Builds Brevio and runs it against a demo schedule server on this machine.
#
#   scripts/run-demo.sh           with a display: Brevio opens its window; closing it ends the demo
#                                 without one: Brevio runs on a virtual display, a screenshot is
#                                 saved to demo/brevio-window.png, and the demo ends
#   scripts/run-demo.sh --keep    without a display: keep Brevio running until Ctrl-C
#
# Everything lives in demo/ of the checkout: demo/server (the server's files, written afresh
# each run so that its weeks are the current ones, and the same listings as listings.xml.gz, a
# listing source), demo/work (Brevio's working folder) and demo/config (Brevio's settings, so the
# user's own stay untouched).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
demo=$repo/demo
build=$repo/build/demo
brevio=$build/brevio

usage() {
  sed -n '2,12s/^# \{0,1\}//p' "${BASH_SOURCE[0]}"
}

say() { echo "run-demo: $*"; }
die() {
  echo "run-demo: $*" >&2
  exit 1
}

keep=0
for arg in "$@"; do
  case $arg in
  --keep) keep=1 ;;
  -h | --help)
    usage
    exit 0
    ;;
  *)
    echo "run-demo: unknown argument '$arg'" >&2
    usage >&2
    exit 2
    ;;
  esac
done

# A window of a mapped, viewable size on the display: Brevio's main window is up.
window_is_up() {
  local id size
  while read -r id size; do
    if [ "${size%x*}" -ge 200 ] && [ "${size#*x}" -ge 150 ] &&
      xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
      return 0
    fi
  done < <(xwininfo -root -children 2>/dev/null |
    sed -n 's/^ *\(0x[0-9a-f]*\) .* \([0-9]*x[0-9]*\)+-\{0,1\}[0-9]*+-\{0,1\}[0-9]*  .*/\1 \2/p')
  return 1
}

# Second stage, inside the virtual display and its own D-Bus session: start Brevio, wait for
# its window, take the screenshot, then end Brevio (or wait for Ctrl-C with --keep).
if [ "${BREVIO_DEMO_STAGE:-}" = headless ]; then
  cd "$demo/work"
  XDG_CONFIG_HOME=$demo/config "$brevio" >"$demo/brevio.log" 2>&1 &
  brevio_pid=$!
  trap 'kill -TERM "$brevio_pid" 2>/dev/null || true; wait "$brevio_pid" 2>/dev/null || true' EXIT
  trap 'exit 130' INT TERM

  for _ in $(seq 150); do
    kill -0 "$brevio_pid" 2>/dev/null || die "Brevio ended before its window appeared; see $demo/brevio.log"
    window_is_up && break
    sleep 0.2
  done
  window_is_up || die "no Brevio window after 30 seconds; see $demo/brevio.log"
  sleep 2 # let it finish painting

  shot=$demo/brevio-window.png
  import -window root "$shot.full.png"
  # Without a window manager the window sits on the bare black root, often at 0,0: a black
  # frame first makes sure -trim takes black, not the window's own corner, as background.
  convert "$shot.full.png" -bordercolor black -border 1 -trim +repage "$shot"
  rm -f "$shot.full.png"
  echo "Screenshot: $shot"

  if [ "$keep" = 1 ]; then
    say "Brevio keeps running on the virtual display $DISPLAY; press Ctrl-C to stop it."
    wait "$brevio_pid" || true
  fi
  exit 0
fi

say "checking the packages Brevio needs"
"$repo/scripts/install-deps.sh"

say "building (preset demo, into build/demo)"
(cd "$repo" && cmake --preset demo >/dev/null)
(cd "$repo" && cmake --build --preset demo -j "$(nproc)")
[ -x "$brevio" ] || die "the build made no $brevio"

mkdir -p "$demo/work" "$demo/config/Morvane"
# The road users take: listings as an XMLTV file, published as a schedule server's files.
rm -rf "$demo/server"
"$build/tools/brevio-demo-data" --xmltv "$demo/listings.xml"
"$build/tools/brevio-publish" --out "$demo/server" "$demo/listings.xml"

# Serve it on a free loopback port; the server names the port in a file once it listens.
port_file=$demo/server.port
rm -f "$port_file"
"$build/tools/brevio-server" --root "$demo/server" --port-file "$port_file" >"$demo/server.log" 2>&1 &
server_pid=$!
stop_server() {
  kill -TERM "$server_pid" 2>/dev/null || true
  wait "$server_pid" 2>/dev/null || true
}
trap stop_server EXIT
trap 'exit 130' INT TERM
for _ in $(seq 100); do
  [ -s "$port_file" ] && break
  kill -0 "$server_pid" 2>/dev/null || die "the demo server did not start; see $demo/server.log"
  sleep 0.1
done
[ -s "$port_file" ] || die "the demo server did not report its port; see $demo/server.log"
url="http://127.0.0.1:$(cat "$port_file")/"
say "schedule server at $url serving $demo/server"

# Point Brevio at it: [Server] url in its settings file, every other line kept as it is, but
# for the listing sources of an earlier run (their address named an earlier port).
# The file can hold a proxy password, so it is the owner's alone, from its first byte.
settings=$demo/config/Morvane/brevio.conf
new_settings=$(mktemp "$settings.XXXXXX")
awk -v section='[Server]' -v line="url=$url" -v dropped='[ListingSources]' '
  /^\[.*\][ \t\r]*$/ {
    inside = ($0 == section)
    skipping = ($0 == dropped)
    if (!skipping) print
    if (inside && !done) { print line; done = 1 }
    next
  }
  skipping { next }
  inside && /^url[ \t]*=/ { next }
  { print }
  END { if (!done) { if (NR > 0) print ""; print section; print line } }
' "$([ -f "$settings" ] && echo "$settings" || echo /dev/null)" >"$new_settings"
chmod 600 "$new_settings"
mv "$new_settings" "$settings"

# The same listings as a listing source: gzip-compressed, served with an ETag, refreshed by the
# window on its first start (and by 'brevio --refresh' from a terminal).
gzip -c "$demo/listings.xml" >"$demo/server/listings.xml.gz"
XDG_CONFIG_HOME=$demo/config "$brevio" --workdir "$demo/work" \
  --add-source "${url}listings.xml.gz" --name "Demo listings" >/dev/null

[ -e "$demo/work/links" ] || cp "$repo/tools/demo/links" "$demo/work/links"

if [ -n "${DISPLAY:-}" ]; then
  say "starting Brevio in $demo/work; close its window to end the demo"
  status=0
  (cd "$demo/work" && XDG_CONFIG_HOME=$demo/config "$brevio") || status=$?
  exit "$status"
fi

say "no display: running Brevio on a virtual one"
BREVIO_DEMO_STAGE=headless xvfb-run -a -s "-screen 0 1024x768x24" \
  dbus-run-session -- "$repo/scripts/run-demo.sh" "$@"
