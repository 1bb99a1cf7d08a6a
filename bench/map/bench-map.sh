#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of many points against the floors measured in the same run on the same files:
#   geofill-convert --picture against the same file converted to /dev/null (target: within 3x),
#   its peak memory against the picture of a file without waypoints at the same size, which
#   holds the program and the image (target: within 64 MiB more),
#   geofill-db picture against listing the same POIs to /dev/null, and its peak memory likewise.
# Usage: bench/map/bench-map.sh [BUILD_DIR]   (COUNT, DB_COUNT, RUNS, SIZE to change)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
gen="$build/bench/convert/geofill-gpx-generate"
conv="$build/app/geofill-convert/geofill-convert"
db="$build/app/geofill-db/geofill-db"
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
