#!/usr/bin/env bash
# brevio-publish as users run it: options, exit codes, the tree it writes, and nothing
# written when anything is wrong.
# Usage: publish_test.sh BREVIO_PUBLISH XMLTV_SAMPLES_DIR
set -euo pipefail
publish=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export TZ=Europe/Moscow

# day_of FILE LINE: the day block (1 Monday .. 7 Sunday) that holds LINE (UTF-8), 0 if none.
day_of() {
  iconv -f cp1251 -t utf-8 "$1" | tr -d '\r' |
    awk -v want="$2" '$0 == "" || $0 == " " { day++ } $0 == want { print day; found = 1 } END { if (!found) print 0 }'
}

# Wrong use: status 2, the usage on stderr, nothing written.
bad_uses=(
  ""
  "--out $work/o"
  "$data/week.xml"
  "--out $work/o --timezone Europe/Atlantis $data/week.xml"
  "--out $work/o --day-start 25:00 $data/week.xml"
  "--out $work/o --day-start soon $data/week.xml"
  "--out $work/o --weeks 2026-13-01 $data/week.xml"
  "--out $work/o --weeks , $data/week.xml"
  "--out $work/o --lang , $data/week.xml"
  "--out $work/o --colour red $data/week.xml"
)
for args in "${bad_uses[@]}"; do
  status=0
  # shellcheck disable=SC2086
  "$publish" $args >"$work/stdout" 2>"$work/stderr" || status=$?
  [ "$status" -eq 2 ] || fail "'$args' gave status $status, want 2"
  grep -q '^usage: brevio-publish' "$work/stderr" || fail "'$args' printed no usage"
  [ ! -e "$work/o" ] || fail "'$args' wrote $work/o"
done

# Faulty input: status 1, the file and line named, nothing written (also not the good file's).
printf '<?xml version="1.0"?>\n<tv>\n  <programme channel="x.y"><title>A</title></programme>\n</tv>\n' >"$work/broken.xml"
mkfifo "$work/pipe.xml" # no writer: a read of it would wait for ever
declare -A faults=(
  ["$work/missing.xml"]="$work/missing.xml: File not found"
  ["$work/pipe.xml"]="$work/pipe.xml: not a regular file"
  ["$data/week.xml $work/broken.xml"]="broken.xml, line 3: <programme> has no 'start' attribute"
  ["--weeks 2030-01-01 $data/week.xml"]="no programmes in the chosen weeks"
)
for args in "${!faults[@]}"; do
  status=0
  # shellcheck disable=SC2086
  timeout 10 "$publish" --out "$work/o" $args >/dev/null 2>"$work/stderr" || status=$?
  [ "$status" -eq 1 ] || fail "'$args' gave status $status, want 1"
  grep -qF "${faults[$args]}" "$work/stderr" || fail "'$args' said: $(cat "$work/stderr")"
  [ ! -e "$work/o" ] || fail "'$args' wrote $work/o"
done

# The whole listing, with what it says on both outputs.
"$publish" --out "$work/all" "$data/week.xml" >"$work/stdout" 2>"$work/stderr"
[ "$(cat "$work/stdout")" = "wrote 2 weeks (07.12.2026 to 14.12.2026) with 6 channel files and 20 shows into $work/all" ] ||
  fail "summary: $(cat "$work/stdout")"
grep -qF "2 characters have no windows-1251 equivalent and became '?' (the first, U+4E2D, in the programme at line 69)" \
  "$work/stderr" || fail "no warning for the characters lost: $(cat "$work/stderr")"
[ "$(cat "$work/all/datas.dat")" = $'07.12.2026\r\n14.12.2026\r' ] || fail "datas.dat"
[ "$(cat "$work/all/14122026/data.dat")" = "14.12.2026" ] || fail "data.dat"
[ "$(day_of "$work/all/07122026/first.example.ru.txt" "01:30 После полуночи")" = 1 ] || fail "after midnight"
[ "$(day_of "$work/all/07122026/first.example.ru.txt" "05:00 Ровно пять")" = 2 ] || fail "at the day start"

# Programmes of a channel without a <channel> element go under the channel id, with a warning.
printf '<?xml version="1.0"?>\n<tv>\n  <programme start="20261207100000 BST" channel="bare.example"><title>A</title></programme>\n  <programme start="20261208100000 +0300" channel="bare.example"><title>B</title></programme>\n</tv>\n' >"$work/bare.xml"
"$publish" --out "$work/bare" "$work/bare.xml" >/dev/null 2>"$work/stderr"
grep -qF "warning: 2 programmes of 1 channel without a <channel> element were published under its channel id" \
  "$work/stderr" || fail "no warning for the channel without an element: $(cat "$work/stderr")"
[ "$(head -c 12 "$work/bare/07122026/bare.example.txt")" = "bare.example" ] || fail "not named by its id"
[ "$(day_of "$work/bare/07122026/bare.example.txt" "12:00 A")" = 1 ] || fail "BST is not one hour east"

# gzip input gives the same tree.
gzip -c "$data/week.xml" >"$work/week.xml.gz"
"$publish" --out "$work/gz" "$work/week.xml.gz" >/dev/null 2>&1
diff -r "$work/all" "$work/gz" >/dev/null || fail "gzip input gave another tree"

# Options.
"$publish" --out "$work/o1" --day-start 00:00 "$data/week.xml" >/dev/null 2>&1
[ "$(day_of "$work/o1/07122026/first.example.ru.txt" "01:30 После полуночи")" = 2 ] || fail "--day-start 00:00"
"$publish" --out "$work/o2" --timezone UTC "$data/week.xml" >/dev/null 2>&1
[ "$(day_of "$work/o2/07122026/first.example.ru.txt" "06:00 Сериал. Серия первая (S01E01)")" = 1 ] ||
  fail "--timezone UTC"
"$publish" --out "$work/o3" --lang en,ru "$data/week.xml" >/dev/null 2>&1
iconv -f cp1251 -t utf-8 "$work/o3/07122026/files.dat" | grep -q '^First:first.example.ru.txt:' || fail "--lang en"
"$publish" --out "$work/o4" --weeks 2026-12-15 "$data/week.xml" >/dev/null 2>&1
[ "$(cat "$work/o4/datas.dat")" = $'14.12.2026\r' ] && [ ! -e "$work/o4/07122026" ] || fail "--weeks one date"
"$publish" --out "$work/o4" --weeks 07.12.2026,2026-12-14 "$data/week.xml" >/dev/null 2>&1
[ "$(cat "$work/o4/datas.dat")" = $'07.12.2026\r\n14.12.2026\r' ] || fail "--weeks two dates, published again"
diff -r "$work/all" "$work/o4" >/dev/null || fail "publishing again gave another tree"
echo "publish: all checks passed"
