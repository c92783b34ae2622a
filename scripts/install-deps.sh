#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Brevio needs.
# Idempotent: prints nothing and touches nothing when all packages are present.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools libcurl4-openssl-dev libjpeg62-turbo-dev
  libcpp-httplib-dev libgtest-dev libgmock-dev libbenchmark-dev
  # the browser sources' pages (a text browser stands in with -DBREVIO_WEBENGINE=OFF)
  qt6-webengine-dev
  # the fuzz harnesses: clang with libFuzzer and the sanitizers' runtime
  clang-14 libclang-rt-14-dev
  # run: Qt's own Russian texts, fonts, a virtual display for headless machines
  qt6-translations-l10n fonts-dejavu-core fonts-liberation2 xvfb xauth dbus x11-utils
  # look at the window and the printed pages; a real proxy for the network tests
  imagemagick poppler-utils tinyproxy-bin
  # drive the real window by hand or from scripts (clicks and keys on the virtual display)
  xdotool
  # XMLTV listings: the streaming reader and gzip; the format's own toolkit and a real web
  # server for the tests; /usr/bin/time for the benchmark
  libxml2-dev zlib1g-dev xmltv-util nginx-light time
  # listing sources publish their guides xz-compressed as often as gzip-compressed
  liblzma-dev
  # JTV archives are zip files; an outside reader checks the calendar export in the tests
  libzip-dev python3-icalendar
  # the Debian package: dependencies by dpkg-shlibdeps, checked by lintian and the validators
  dpkg-dev file lintian appstream desktop-file-utils
  # a screen reader's view of the window: the accessibility bus and its Python client
  at-spi2-core python3-pyatspi
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
