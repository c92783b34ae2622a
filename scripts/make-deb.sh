#!/usr/bin/env bash
# Builds Brevio's Debian package from this checkout: installs what the build needs, builds the
# `package` preset (release, no tests) into build/package and prints the package's path.
# Install it with:  sudo apt-get install ./build/package/package/brevio_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset package >/dev/null
cmake --build --preset package -j "$(nproc)"
cpack --preset package >/dev/null
ls "$PWD"/build/package/package/brevio_*.deb
