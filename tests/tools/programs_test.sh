#!/usr/bin/env bash
# The two demo programs as scripts use them: arguments, the generated tree on disk, the
# port file, answers over the loopback, and a clean stop on SIGTERM and SIGINT.
# Usage: programs_test.sh BREVIO_SERVER BREVIO_DEMO_DATA
set -euo pipefail
server=$1
generator=$2
work=$(mktemp -d)
server_pid=
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Generator: good and bad arguments.
"$generator" --out "$work/tree" --today 2004-01-14 --channels 3 >/dev/null || fail "generator failed"
[ "$(cat "$work/tree/datas.dat")" = $'12.01.2004\r\n19.01.2004\r' ] || fail "datas.dat"
[ "$(find "$work/tree/12012004" -type f | wc -l)" -eq 5 ] || fail "3 channel files + data.dat + files.dat expected"
for bad in "--today 2004-13-01" "--channels 0" "--channels x" "--colour red" ""; do
  status=0
  # shellcheck disable=SC2086
  "$generator" --out "$work/bad" $bad >/dev/null 2>&1 || status=$?
  if [ -z "$bad" ]; then
    [ "$status" -eq 0 ] || fail "defaults refused"
    [ "$(find "$work/bad" -mindepth 1 -type d | wc -l)" -eq 2 ] || fail "two weeks by default"
  else
    [ "$status" -eq 2 ] || fail "'$bad' gave $status, want 2"
  fi
done
status=0; "$generator" --today 2004-01-14 >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "missing --out gave $status"

status=0; "$server" --root "$work/nothing-here" >/dev/null 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "missing root gave $status"

# fetch PORT PATH: the body of an HTTP/1.0 GET, read to the end of the connection.
fetch() {
  exec 3<>"/dev/tcp/127.0.0.1/$1"
  printf 'GET %s HTTP/1.0\r\n\r\n' "$2" >&3
  LC_ALL=C sed '1,/^\r$/d' <&3
  exec 3<&-
}

for signal in TERM INT; do
  rm -f "$work/port" "$work/log"
  "$server" --root "$work/tree" --port-file "$work/port" >"$work/log" 2>&1 &
  server_pid=$!
  for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
  [ -s "$work/port" ] || fail "no port file"
  port=$(cat "$work/port")
  grep -qx "listening on http://127.0.0.1:$port/" "$work/log" || fail "no listening line: $(cat "$work/log")"
  fetch "$port" /12012004/perviy.txt >"$work/got"
  cmp -s "$work/got" "$work/tree/12012004/perviy.txt" || fail "body differs from the file"
  kill -s "$signal" "$server_pid"
  status=0; wait "$server_pid" || status=$?
  server_pid=
  [ "$status" -eq 0 ] || fail "SIG$signal: exit status $status"
  [ ! -e "$work/port" ] || fail "port file left behind"
done

# A fixed port that is taken is an error, not a silent other port.
"$server" --root "$work/tree" --port-file "$work/port" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
status=0; timeout 10 "$server" --root "$work/tree" --port "$(cat "$work/port")" >/dev/null 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "busy port gave $status"
echo "programs: all checks passed"
