#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Geofill's Debian package from debian/ with dpkg-buildpackage into
# build/geofill_VERSION_ARCH.deb and, with --install, installs it with apt-get, which brings in
# the packages it depends on (Qt 6, sqlite3, the fonts).
# The build runs in a copy of the source under build/deb/, so the tree stays clean; the .changes
# and .buildinfo files stay there too. DEBFULLNAME and DEBEMAIL, when DEBEMAIL is set, name the
# maintainer in that copy. DEB_BUILD_OPTIONS is passed on (nocheck skips building the tests).
# Usage: scripts/package.sh [--install]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --package

version=$(dpkg-parsechangelog -S Version)
work=build/deb
source_copy=$work/geofill-$version
rm -rf "$work"
mkdir -p "$source_copy"
# What a checkout holds, uncommitted changes included, and nothing it ignores (no build folders).
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' f; do [[ -e $f || -L $f ]] && printf '%s\0' "$f"; done |
        tar --null -T - -cf - | tar -xf - -C "$source_copy"
else
    tar --exclude='./build*' --exclude=./demo -cf - . | tar -xf - -C "$source_copy"
fi

if [[ -n ${DEBEMAIL:-} ]]; then
    maintainer=$DEBEMAIL
    if [[ $maintainer != *"<"* ]]; then
        name=${DEBFULLNAME:-$(getent passwd "$(id -un)" | cut -d: -f5 | cut -d, -f1)}
        maintainer="$name <$DEBEMAIL>"
    fi
    quoted=$(printf '%s' "$maintainer" | sed 's/[&|\\]/\\&/g')
    sed -i "s|^Maintainer: .*|Maintainer: $quoted|" "$source_copy/debian/control"
    sed -i "0,/^ -- .* <[^>]*>  /s|^ -- .* <[^>]*>  | -- $quoted  |" "$source_copy/debian/changelog"
fi

(cd "$source_copy" && dpkg-buildpackage -us -uc -b -J"$(nproc)")
rm -rf "$source_copy"
deb=$PWD/build/$(cd "$work" && ls geofill_"$version"_*.deb)
rm -f build/geofill_*.deb
cp "$work/${deb##*/}" "$deb"
echo "Package: $deb"
if [[ "${1:-}" == "--install" ]]; then
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get -o DPkg::Lock::Timeout=300 install -y "$deb"
fi
