#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of many points against the floors measured in the same run on the same files:
#   geofill-convert --picture against the same file converted to /dev/null (target: within 3x),
#   its peak memory against the picture of a file without waypoints at the same size, which
#   holds the program and the image (target: within 64 MiB more),
#   geofill-db picture against listing the same POIs to /dev/null, and its peak memory likewise;
#   the window's reading of a file for its map beside a category of as many POIs, half of them
#   the file's waypoints, against converting the file and listing the category (target: within
#   1.5x of the two together), and its peak memory against the same reading of an empty file.
# Usage: bench/map/bench-map.sh [BUILD_DIR]   (COUNT, DB_COUNT, RUNS, SIZE to change)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
gen="$build/bench/convert/geofill-gpx-generate"
conv="$build/app/geofill-convert/geofill-convert"
db="$build/app/geofill-db/geofill-db"
preview="$build/bench/map/geofill-preview-read"
count=${COUNT:-1000000}
db_count=${DB_COUNT:-$count}
runs=${RUNS:-3}
size=${SIZE:-1024x768}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# best COMMAND… and ratio A B
source "$root/bench/timing.sh"
peak_kib() {
    if [[ -x /usr/bin/time ]]; then
        /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null 2>&1 && cat "$work/peak"
    else
        echo 0
    fi
}
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

"$gen" "$count" "$work/many.gpx"
echo '<gpx></gpx>' >"$work/none.gpx"
cat "$work/many.gpx" >/dev/null # into the page cache for both contenders

echo "geofill-convert, $count waypoints, $size, best of $runs:"
t_conv=$(best "$conv" "$work/many.gpx")
t_pic=$(best "$conv" --picture "$work/many.png" --size "$size" "$work/many.gpx")
echo "  converted to /dev/null   ${t_conv} s"
echo "  --picture                ${t_pic} s"
echo "  picture against conversion: $(ratio "$t_pic" "$t_conv") (target at most 3.00)"
base=$(peak_kib "$conv" --picture "$work/none.png" --size "$size" "$work/none.gpx")
peak=$(peak_kib "$conv" --picture "$work/many.png" --size "$size" "$work/many.gpx")
echo "  peak memory: $(mib "$peak") MiB; without waypoints (program and image) $(mib "$base") MiB;"
echo "  the points add $(mib $((peak - base))) MiB (target at most 64.0)"

if ((db_count > 0)); then
    "$gen" "$db_count" "$work/load.gpx"
    "$conv" --create-database "$work/poi.db" >/dev/null
    sqlite3 "$work/poi.db" "insert into category(label, desc, enabled) values
        ('one', '', 1), ('two', '', 1), ('three', '', 0);"
    "$conv" --database "$work/poi.db" "$work/load.gpx" >/dev/null
    # Spread over the three categories, the third disabled.
    sqlite3 "$work/poi.db" "update poi set cat_id = 1 + poi_id % 3;"
    "$conv" --create-database "$work/empty.db" >/dev/null
    echo "geofill-db, $db_count POIs in 3 categories, $size, best of $runs:"
    t_list=$(best "$db" pois "$work/poi.db")
    t_dbpic=$(best "$db" picture "$work/poi.db" "$work/db.png" --size "$size")
    echo "  pois listed to /dev/null ${t_list} s"
    echo "  picture                  ${t_dbpic} s"
    echo "  picture against listing: $(ratio "$t_dbpic" "$t_list")"
    base=$(peak_kib "$db" picture "$work/empty.db" "$work/none.png" --size "$size")
    peak=$(peak_kib "$db" picture "$work/poi.db" "$work/db.png" --size "$size")
    echo "  peak memory: $(mib "$peak") MiB; without POIs $(mib "$base") MiB;"
    echo "  the POIs add $(mib $((peak - base))) MiB"
fi

if ((db_count > 0)); then
    # Category 1 holds every third POI: a third of the load file's waypoints.
    echo "Show GPX File on Map, $db_count waypoints beside category 1, best of $runs:"
    t_read=$(best "$preview" "$work/load.gpx" "$work/poi.db" 1)
    t_conv=$(best "$conv" "$work/load.gpx")
    t_list=$(best "$db" pois "$work/poi.db" --category 1)
    "$preview" "$work/load.gpx" "$work/poi.db" 1 | sed 's/^/  /'
    echo "  converted ${t_conv} s + category listed ${t_list} s"
    echo "  read for the map         ${t_read} s"
    echo "  reading against both: $(ratio "$t_read" "$(awk -v a="$t_conv" -v b="$t_list" 'BEGIN { print a + b }')") (target at most 1.50)"
    base=$(peak_kib "$preview" "$work/none.gpx" "$work/empty.db" 1)
    peak=$(peak_kib "$preview" "$work/load.gpx" "$work/poi.db" 1)
    echo "  peak memory: $(mib "$peak") MiB; empty file and database $(mib "$base") MiB;"
    echo "  the points add $(mib $((peak - base))) MiB"
fi
