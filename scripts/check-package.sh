#!/usr/bin/env bash
# Builds the Debian package of an existing build folder and checks it as a user would meet it:
# lintian finds no error; the desktop entry and the AppStream data validate; installed with
# apt-get, the program answers --version and starts headless from a temporary folder, both as
# started from a terminal and as started by its desktop entry. The package is removed again
# afterwards, so that later runs see the machine as before.
#
#   scripts/check-package.sh BUILD_DIR
#
# Installing needs root or password-less sudo; without either those steps are skipped, said so.
set -euo pipefail
build=$(cd "${1:?usage: check-package.sh BUILD_DIR}" && pwd)
app_id=org.morvane.Brevio

say() { echo "check-package: $*"; }
die() {
  echo "check-package: $*" >&2
  exit 1
}

work=$(mktemp -d)
installed_here=0
cleanup() {
  if [ "$installed_here" = 1 ]; then
    say "removing the package again"
    "${sudo_cmd[@]}" apt-get remove -y -qq -o DPkg::Lock::Timeout=600 brevio >/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

rm -rf "$build/package"
(cd "$build" && cpack -G DEB >/dev/null 2>&1) || die "cpack failed in $build"
debs=("$build"/package/brevio_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || die "cpack made no package in $build/package"
say "built $deb"

say "lintian"
lintian --fail-on error "$deb" 2> >(grep -v 'running with root privileges' >&2)

# The installed files themselves, also where the package cannot be installed.
dpkg-deb -x "$deb" "$work/root"
validate() {
  desktop-file-validate "$1/usr/share/applications/$app_id.desktop"
  appstreamcli validate --no-net --no-color "$1/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null
}
validate "$work/root"

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if sudo -n true 2>/dev/null; then
    sudo_cmd=(sudo -n)
  else
    say "SKIPPED installing the package: run as root or with password-less sudo to check it installed"
    exit 0
  fi
fi

if dpkg-query -W -f='${Status}' brevio 2>/dev/null | grep -q 'install ok installed'; then
  say "note: a brevio package was installed before; it is replaced and removed after the check"
fi
say "apt-get install $deb"
installed_here=1
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq -o DPkg::Lock::Timeout=600 "$deb" >/dev/null
validate /

version=$(/usr/bin/brevio --version)
[[ $version == "brevio "* ]] || die "brevio --version said '$version'"
say "installed: $version"
# The web engine's module, where a build has one, loads with every library it needs.
module=$(dpkg -L brevio | grep '/libbrevio_web\.so$' || true)
if [[ -n $module ]]; then
  missing=$(ldd "$module" | grep 'not found' || true)
  [[ -z $missing ]] || die "the web engine module lacks libraries: $missing"
  say "web engine module: $module"
fi

# A start without a display in a session of its own; the first-run files show it got going.
start_in() {
  local folder=$1 expect=$2
  shift 2
  mkdir -p "$folder"
  mkdir -p -m 700 "$work/run"
  (cd "$folder" && exec env -u DISPLAY -u WAYLAND_DISPLAY HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
    XDG_RUNTIME_DIR="$work/run" XDG_DATA_HOME= QT_QPA_PLATFORM=offscreen "$@" >"$work/brevio.log" 2>&1) &
  local pid=$!
  for _ in $(seq 100); do
    [ -f "$expect/dats.dat" ] && [ -f "$expect/ag_news.dat" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  sleep 1 # the window is up and takes SIGTERM as a logout: it stores its settings and ends
  kill -TERM "$pid" 2>/dev/null || true
  local status=0
  wait "$pid" || status=$?
  [ -f "$expect/ag_news.dat" ] || die "'$*' made no files in $expect: $(cat "$work/brevio.log")"
  [ "$status" = 0 ] || die "'$*' ended with status $status: $(cat "$work/brevio.log")"
}
start_in "$work/terminal" "$work/terminal" /usr/bin/brevio
say "started from a terminal in a temporary folder"
# The desktop entry's own command, as the applications menu runs it.
exec_line=$(sed -n 's/^Exec=//p' "/usr/share/applications/$app_id.desktop")
read -r -a exec_words <<<"$exec_line"
start_in "$work/menu" "$work/home/.local/share/Brevio" "${exec_words[@]}"
say "started as the desktop entry says ($exec_line): files in ~/.local/share/Brevio"
say "passed"
