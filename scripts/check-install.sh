#!/usr/bin/env bash
# Installs a built tree (default: build) into a staging folder and checks what a desktop gets:
# the programs, the menu entry, the icon in every size, a manual page that parses, and the
# Debian package with its dependencies.
# Usage: scripts/check-install.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$stage/usr" >/dev/null
cd "$stage/usr"
for f in bin/geofill bin/geofill-convert share/applications/geofill.desktop \
         share/icons/hicolor/scalable/apps/geofill.svg share/man/man1/geofill-convert.1.gz; do
    [[ -s $f ]] || fail "$f is not installed"
done
for size in 16 32 48 64 128 256; do
    png=share/icons/hicolor/${size}x${size}/apps/geofill.png
    file "$png" | grep -q "PNG image data, $size x $size," || fail "$png is not a $size x $size PNG"
done
desktop-file-validate share/applications/geofill.desktop || fail "the desktop entry is not valid"
grep -qx 'MimeType=application/gpx+xml;' share/applications/geofill.desktop ||
    fail "the desktop entry does not open GPX files"

page=share/man/man1/geofill-convert.1.gz
warnings=$(LC_ALL=C.UTF-8 man --warnings -l -Tutf8 "$page" 2>&1 >/dev/null) || fail "man cannot read $page"
[[ -z $warnings ]] || fail "$page: $warnings"
zcat "$page" | grep -q "Geofill $version" || fail "$page does not show version $version"
[[ $(bin/geofill-convert --version) == "geofill-convert $version" ]] || fail "--version is not $version"
cd - >/dev/null

rm -f "$build"/geofill_*.deb
log=$(cd "$build" && cpack -G DEB 2>&1) || fail "cpack could not make the package: $log"
deb=$(ls "$build"/geofill_"$version"_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6svg6 sqlite3 fonts-liberation2 fonts-comic-neue; do
    [[ $depends == *"$p"* ]] || fail "the package does not depend on $p: $depends"
done
diff <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort) \
     <(cd "$stage" && find . -type f | sed 's|^\./||' | sort) || fail "the package holds other files"
echo "Installed files, desktop entry, manual page and package are in order: $deb"
echo "  $(du -k "$deb" | cut -f1) KiB; Depends: $depends"
