#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# geofill-convert against the floors measured in the same run on the same files:
#   scanning (standard output to /dev/null, and the scanner alone) against `wc -l`, and a
#   realistic file (letters outside ASCII, entities, CDATA, CR LF) against the plain ASCII one,
#   --database against sqlite3 running the same one-row statements in one transaction, at
#   each of LOAD_COUNTS (BEFORE_CONV names an older geofill-convert to time alongside),
#   peak memory of the standard-output mode at two file sizes,
#   a Direct load with the window's duplicate check against the load alone, both on a table
#   that already holds DUP_COUNT rows, with a file of DUP_COUNT waypoints: what the check adds,
#   a load of TYPE_COUNT waypoints over 50 types into their categories (--category-from type)
#   against the same load into one category.
# Usage: bench/convert/bench-convert.sh [BUILD_DIR]
#   (SCAN_COUNT, LOAD_COUNTS, DUP_COUNT, TYPE_COUNT, RUNS, BEFORE_CONV, BEFORE_SCAN to change)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
gen="$build/bench/convert/geofill-gpx-generate"
conv="$build/app/geofill-convert/geofill-convert"
scan_count=${SCAN_COUNT:-1000000}
load_counts=${LOAD_COUNTS-100000 1000000} # empty: no loads
dup_count=${DUP_COUNT:-1000000}
type_count=${TYPE_COUNT:-1000000}
count="$build/bench/convert/geofill-duplicate-count"
scanner="$build/bench/convert/geofill-gpx-scan"
runs=${RUNS:-3}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# best COMMAND… and ratio A B
source "$root/bench/timing.sh"
mib() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }
peak_kib() {
    if [[ -x /usr/bin/time ]]; then
        /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null && cat "$work/peak"
    else
        echo "n/a"
    fi
}

"$gen" "$scan_count" "$work/scan.gpx"
"$gen" --realistic "$scan_count" "$work/real.gpx"
"$gen" "$((scan_count / 10))" "$work/tenth.gpx"
cat "$work/scan.gpx" "$work/real.gpx" >/dev/null # into the page cache for every contender
size=$(stat -c %s "$work/scan.gpx")
real_size=$(stat -c %s "$work/real.gpx")

speed() { awk -v s="$1" -v t="$2" 'BEGIN { printf "%.0f", s / t / 1048576 }'; }
per() { awk -v a="$1" -v ta="$2" -v b="$3" -v tb="$4" 'BEGIN { printf "%.2f", (a / ta) / (b / tb) }'; }
# The scan measured twice: the whole conversion (statements to /dev/null), and the scanner alone
# (geofill-gpx-scan). BEFORE_CONV and BEFORE_SCAN name older builds to time alongside.
echo "Scanning $scan_count waypoints, best of $runs:"
t_wc=$(best wc -l "$work/scan.gpx")
t_scan=$(best "$conv" "$work/scan.gpx")
t_real=$(best "$conv" "$work/real.gpx")
t_alone=$(best "$scanner" "$work/scan.gpx")
t_alone_real=$(best "$scanner" "$work/real.gpx")
echo "  wc -l, ASCII file              ${t_wc} s  ($(speed "$size" "$t_wc") MiB/s, $(mib "$size") MiB)"
echo "  geofill-convert, ASCII file    ${t_scan} s  ($(speed "$size" "$t_scan") MiB/s)"
echo "  geofill-convert, realistic     ${t_real} s  ($(speed "$real_size" "$t_real") MiB/s, $(mib "$real_size") MiB)"
echo "  scanner alone, ASCII file      ${t_alone} s  ($(speed "$size" "$t_alone") MiB/s)"
echo "  scanner alone, realistic       ${t_alone_real} s  ($(speed "$real_size" "$t_alone_real") MiB/s)"
for before in ${BEFORE_CONV:-} ${BEFORE_SCAN:-}; do
    t_b=$(best "$before" "$work/scan.gpx")
    t_br=$(best "$before" "$work/real.gpx")
    echo "  $before: ASCII ${t_b} s ($(speed "$size" "$t_b") MiB/s), realistic ${t_br} s ($(speed "$real_size" "$t_br") MiB/s)"
done
echo "  ASCII throughput against wc -l: $(ratio "$t_wc" "$t_scan") (target at least 0.20), scanner alone $(ratio "$t_wc" "$t_alone")"
echo "  realistic against ASCII throughput: $(per "$real_size" "$t_real" "$size" "$t_scan") (target at least 0.80), scanner alone $(per "$real_size" "$t_alone_real" "$size" "$t_alone")"

# The floor: the shell running the one-row statements of --output in one transaction.
for n in $load_counts; do
    "$gen" "$n" "$work/load.gpx"
    echo "Loading $n waypoints, best of $runs:"
    "$conv" --output "$work/load.sql" "$work/load.gpx"
    { echo "BEGIN;"; cat "$work/load.sql"; echo "COMMIT;"; } >"$work/batch.sql"
    fresh="rm -f '$work/load.db'; sqlite3 '$work/load.db' < '$root/samples/schema.sql'"
    BEFORE_EACH="$fresh"
    t_shell=$(best sh -c "sqlite3 -bail '$work/load.db' < '$work/batch.sql'")
    t_load=$(best "$conv" --database "$work/load.db" "$work/load.gpx")
    rows=$(sqlite3 "$work/load.db" "select count(*) from poi;")
    [[ -n "${BEFORE_CONV:-}" ]] && t_before=$(best "$BEFORE_CONV" --database "$work/load.db" "$work/load.gpx")
    unset BEFORE_EACH
    echo "  sqlite3 < one-row statements in one transaction  ${t_shell} s"
    echo "  geofill-convert --database                       ${t_load} s  ($rows rows)"
    if [[ -n "${BEFORE_CONV:-}" ]]; then
        echo "  $BEFORE_CONV --database  ${t_before} s"
        echo "  before against the shell: $(ratio "$t_before" "$t_shell")"
    fi
    echo "  load time against the shell: $(ratio "$t_load" "$t_shell") (target at most 0.50)"
done
rm -f "$work/load.sql" "$work/batch.sql" "$work/load.db"

echo "Peak memory of geofill-convert (target within 65536 KiB):"
echo "  standard output, $((scan_count / 10)) waypoints: $(peak_kib "$conv" "$work/tenth.gpx") KiB"
echo "  standard output, $scan_count waypoints: $(peak_kib "$conv" "$work/scan.gpx") KiB"
echo "  standard output, $scan_count realistic: $(peak_kib "$conv" "$work/real.gpx") KiB"
echo "  --output, $scan_count waypoints: $(peak_kib "$conv" --output "$work/peak.sql" "$work/scan.gpx") KiB"
rm -f "$work/peak.sql" "$work/peak.db"
sqlite3 "$work/peak.db" <"$root/samples/schema.sql"
echo "  --database, $scan_count waypoints: $(peak_kib "$conv" --database "$work/peak.db" "$work/scan.gpx") KiB"
rm -f "$work/peak.db"

echo "Duplicate check, $dup_count waypoints against a table of $dup_count rows, best of $runs:"
"$gen" "$dup_count" "$work/dup.gpx"
rm -f "$work/full.db"
"$conv" --create-database "$work/full.db" >/dev/null
# A load needs its category to exist.
sqlite3 "$work/full.db" "insert into category(label, desc, enabled) values ('one', '', 1), ('two', '', 1);"
"$conv" --database "$work/full.db" --category 1 "$work/dup.gpx" >/dev/null
# Half the file is already there in category 1; the other half goes to category 2.
sqlite3 "$work/full.db" "update poi set cat_id = 2 where poi_id % 2 = 0;"
BEFORE_EACH="cp '$work/full.db' '$work/dups.db'"
t_plain=$(best "$conv" --database "$work/dups.db" --category 1 "$work/dup.gpx")
t_check=$(best "$count" "$work/dups.db" "$work/dup.gpx" 1)
t_skip=$(best "$conv" --database "$work/dups.db" --category 1 --skip-duplicates "$work/dup.gpx")
unset BEFORE_EACH
cp "$work/full.db" "$work/dups.db"
echo "  load alone (--database)                   ${t_plain} s"
echo "  checked, then all loaded (the window)     ${t_check} s  ($("$count" "$work/dups.db" "$work/dup.gpx" 1) already there)"
echo "  load leaving them out (--skip-duplicates) ${t_skip} s"
added=$(awk -v c="$t_check" -v p="$t_plain" 'BEGIN { printf "%.4f", c - p }')
echo "  the check adds ${added} s; against the load: $(ratio "$added" "$t_plain") (target at most 1.00)"
echo "  peak memory of --export, $dup_count POIs: $(peak_kib "$conv" --export "$work/full.db" --output "$work/back.gpx") KiB"

echo "Load by type, $type_count waypoints over 50 types, best of $runs:"
"$gen" --types 50 "$type_count" "$work/types.gpx"
rm -f "$work/types.db"
"$conv" --create-database "$work/types.db" >/dev/null
sqlite3 "$work/types.db" "with recursive n(i) as (select 0 union all select i + 1 from n where i < 49)
    insert into category(label, desc, enabled) select 'type ' || i, '', 1 from n;"
BEFORE_EACH="cp '$work/types.db' '$work/typed.db'"
t_one=$(best "$conv" --database "$work/typed.db" --category 1 "$work/types.gpx")
t_typed=$(best "$conv" --database "$work/typed.db" --category-from type "$work/types.gpx")
unset BEFORE_EACH
cp "$work/types.db" "$work/typed.db"
"$conv" --database "$work/typed.db" --category-from type "$work/types.gpx" >/dev/null
used=$(sqlite3 "$work/typed.db" "select count(distinct cat_id) from poi;")
echo "  into one category (--category 1)      ${t_one} s"
echo "  into their categories (--category-from type)  ${t_typed} s  ($used categories)"
echo "  by type against one category: $(ratio "$t_typed" "$t_one") (target at most 1.30)"
