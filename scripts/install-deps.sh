#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Geofill needs to build, run and test; skips what is there.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
          qt6-tools-dev qt6-l10n-tools qt6-translations-l10n sqlite3 fonts-liberation2
          fonts-comic-neue)
# --package: what dpkg-buildpackage needs for debian/ (its Build-Depends and the tools);
# --test: that, and the test tools, lintian among them.
packaging=(build-essential debhelper dpkg-dev bash-completion)
case "${1:-}" in
--package) packages+=("${packaging[@]}") ;;
--test) packages+=("${packaging[@]}" lintian file clang libclang-rt-14-dev time desktop-file-utils
                   man-db) ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get -o DPkg::Lock::Timeout=300 update -qq
$sudo apt-get -o DPkg::Lock::Timeout=300 install -y -qq --no-install-recommends "${missing[@]}"
