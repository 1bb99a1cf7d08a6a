#!/usr/bin/env bash
# Builds Geofill's Debian package into build/ and, with --install, installs it with apt-get,
# which brings in the packages it depends on (Qt 6, sqlite3, the fonts).
# Usage: scripts/package.sh [--install]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --package
BUILD_DIR=build scripts/build.sh
rm -f build/geofill_*.deb
(cd build && cpack -G DEB)
deb=$(ls "$PWD"/build/geofill_*.deb)
echo "Package: $deb"
if [[ "${1:-}" == "--install" ]]; then
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get -o DPkg::Lock::Timeout=300 install -y "$deb"
fi
