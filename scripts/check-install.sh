#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a built tree (default: build) into a staging folder and checks what a desktop gets:
# the programs, the menu entry, the icon in every size, the window's translations, and for every
# program a manual page that parses and a bash completion that bash-completion finds and that
# completes the right files.
# Then builds the Debian package as the README says (scripts/package.sh, without running the
# tests again) and checks its files, its relations, its hardening and lintian's verdict.
# Usage: scripts/check-install.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build}
fail() { echo "check-install: $*" >&2; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
completions=$(sed -n 's/^GEOFILL_COMPLETIONS_DIR:STRING=//p' "$build/CMakeCache.txt")
[[ $(dpkg-parsechangelog -S Version) == "$version" ]] ||
    fail "debian/changelog is not at version $version, the version CMakeLists.txt gives"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
stage=$scratch/stage

cmake --install "$build" --prefix "$stage/usr" >/dev/null
cd "$stage/usr"
for f in bin/geofill bin/geofill-convert bin/geofill-db share/applications/geofill.desktop \
         share/icons/hicolor/scalable/apps/geofill.svg; do
    [[ -s $f ]] || fail "$f is not installed"
done
for size in 16 32 48 64 128 256; do
    png=share/icons/hicolor/${size}x${size}/apps/geofill.png
    file "$png" | grep -q "PNG image data, $size x $size," || fail "$png is not a $size x $size PNG"
done
desktop-file-validate share/applications/geofill.desktop || fail "the desktop entry is not valid"
grep -qx 'MimeType=application/gpx+xml;' share/applications/geofill.desktop ||
    fail "the desktop entry does not open GPX files"
for program in geofill-convert geofill-db; do
    [[ $(bin/$program --version) == "$program $version" ]] || fail "$program --version is not $version"
done

# Every translation, compiled, where the window looks for it, with every text of its source.
lconvert=$(qtpaths6 --query QT_HOST_BINS)/lconvert
for ts in "$root"/translations/*.ts; do
    qm=share/geofill/translations/$(basename "${ts%.ts}").qm
    [[ -s $qm ]] || fail "$qm is not installed"
    held=$("$lconvert" -i "$qm" -of ts -o - | grep -c '<message>' || true)
    wanted=$(grep -c '<message>' "$ts" || true)
    [[ $held -eq $wanted ]] || fail "$qm holds $held translations, $(basename "$ts") has $wanted texts"
done

# complete PROGRAM WORD...: what bash offers for the last word of "PROGRAM WORD...", one line,
# with the completion loaded the way bash-completion loads it, from the staged share folder.
complete_line() {
    PATH="$stage/usr/bin:$PATH" XDG_DATA_DIRS="$stage/usr/share" XDG_DATA_HOME="$scratch/none" \
        bash -c '
        source /usr/share/bash-completion/bash_completion
        __load_completion "$1" || { echo "bash-completion finds no completion for $1"; exit; }
        COMP_WORDS=("$@") COMP_CWORD=$(($# - 1))
        COMP_LINE="$*" COMP_POINT=${#COMP_LINE}
        registered=$(complete -p "$1") || { echo "no complete -p $1"; exit; }
        [[ $registered =~ -F\ ([^ ]+) ]] || { echo "not a function: $registered"; exit; }
        "${BASH_REMATCH[1]}" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
        printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd" "' _ "$@"
}

for program in bin/*; do
    program=${program#bin/}
    page=share/man/man1/$program.1.gz
    [[ -s $page ]] || fail "$program has no manual page $page"
    warnings=$(LC_ALL=C.UTF-8 man --warnings -l -Tutf8 "$page" 2>&1 >/dev/null) ||
        fail "man cannot read $page"
    [[ -z $warnings ]] || fail "$page: $warnings"
    zcat "$page" | grep -q "Geofill $version" || fail "$page does not show version $version"
    lexgrog "$page" >/dev/null || fail "$page has no NAME section that whatis reads"

    [[ -s $completions/$program ]] || fail "$program has no bash completion in $completions"
    # The completion offers exactly the long options the manual page lists.
    offered=$(complete_line "$program" --)
    listed=$(zcat "$page" | sed 's/\\-/-/g; s/\\f[BIRP]//g' |
             grep -oE '(^|[^A-Za-z0-9_-])--[A-Za-z0-9][-A-Za-z0-9]*' | grep -oE -- '--.*' |
             LC_ALL=C sort -u | paste -sd' ')
    [[ $offered == "$listed" ]] || fail "$program completes '$offered' for --, its page lists '$listed'"
done

# File names by what the word before asks for, in a folder with one file of each kind.
files=$scratch/files
mkdir -p "$files/folder"
touch "$files"/{walk.gpx,POI.DB,old.sqlite,walk.sql,notes.txt}
while IFS='|' read -r line expected; do
    read -ra words <<<"$line"
    [[ $line == *" " ]] && words+=("")
    offered=$(cd "$files" && complete_line "${words[@]}")
    [[ $offered == "$expected" ]] || fail "completing '$line' offers '$offered', not '$expected'"
done <<'EOF'
geofill-convert |folder walk.gpx
geofill-convert --category 3 |folder walk.gpx
geofill-convert --database |POI.DB folder old.sqlite
geofill-convert --create-database |POI.DB folder old.sqlite
geofill-convert --export |POI.DB folder old.sqlite
geofill-convert --output |folder walk.sql
geofill-convert --export POI.DB --output |folder walk.gpx
geofill-convert --category |
geofill-convert --skip-d|--skip-duplicates
geofill-convert --category-f|--category-from
geofill-convert --category-from |sym type
geofill-db |add-category categories delete-category delete-pois disable-category edit-poi enable-category move-pois picture pois rename-category
geofill-db pois |POI.DB folder old.sqlite
geofill-db pois POI.DB --f|--format
geofill-db pois POI.DB --format |csv json text
geofill-db delete-category POI.DB 3 --|--move-pois-to --with-pois
geofill |POI.DB folder old.sqlite walk.gpx
geofill --v|--version
EOF
cd - >/dev/null

# The package, built as the README says; the tests ran already. Without a maintainer of one's
# own, a placeholder at a reserved domain lets lintian judge everything else strictly.
if [[ -z ${DEBEMAIL:-} ]]; then
    export DEBFULLNAME="Geofill package check" DEBEMAIL="package-check@geofill.invalid"
fi
log=$scratch/package.log
DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}" scripts/package.sh >"$log" 2>&1 ||
    fail "scripts/package.sh could not build the package: $(tail -n 30 "$log")"
deb=$(ls build/geofill_"$version"_*.deb)
changes=$(ls build/deb/geofill_"$version"_*.changes)

maintainer=$(dpkg-deb -f "$deb" Maintainer)
[[ $maintainer == *"<${DEBEMAIL#*<}"* ]] || fail "the package's maintainer is $maintainer, not $DEBEMAIL"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6svg6 sqlite3 fonts-liberation2 fonts-comic-neue; do
    [[ $depends == *"$p"* ]] || fail "the package does not depend on $p: $depends"
done
[[ $(dpkg-deb -f "$deb" Suggests) == *gpsbabel-gui* ]] || fail "the package does not suggest gpsbabel-gui"
recommends=$(dpkg-deb -f "$deb" Recommends)
for p in xdg-utils qt6-translations-l10n; do
    [[ $recommends == *"$p"* ]] || fail "the package does not recommend $p: $recommends"
done

# The staged files, and Debian's copyright and changelog.
diff <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort) \
     <({ (cd "$stage" && find . -type f | sed 's|^\./||')
         printf '%s\n' usr/share/doc/geofill/copyright usr/share/doc/geofill/changelog.gz; } | sort) ||
    fail "the package holds other files than the install"

unpacked=$scratch/unpacked
dpkg-deb -x "$deb" "$unpacked"
for program in "$unpacked"/usr/bin/*; do
    dynamic=$(readelf -d "$program")
    [[ $dynamic == *BIND_NOW* && $dynamic == *PIE* ]] ||
        fail "${program##*/} is not linked with -z now as a position-independent executable"
done

# Errors and warnings fail; information tags do not (hardening-no-fortify-functions, say, is
# given for a program that calls no function the fortify headers replace; readelf checks above).
lintian_log=$scratch/lintian.log
lintian -I "$changes" >"$lintian_log" 2>&1 || true
if grep -E '^[EW]: ' "$lintian_log"; then
    fail "lintian finds errors or warnings in $changes"
fi
echo "Installed files, desktop entry, manual pages, completion and package are in order: $deb"
echo "  $(($(stat -c %s "$deb") / 1024)) KiB; Depends: $depends"
echo "  lintian: $(grep -cE '^[A-Z]: ' "$lintian_log" || true) tags, none an error or a warning"
