#!/usr/bin/env bash
# geofill-convert against the floors measured in the same run on the same files:
#   scanning (standard output to /dev/null) against `wc -l`,
#   --database against sqlite3 running the same statements in one transaction,
#   peak memory of the standard-output mode at two file sizes,
#   the duplicate check before a Direct load against the load itself, both on a table that
#   already holds DUP_COUNT rows, with a file of DUP_COUNT waypoints.
# Usage: bench/convert/bench-convert.sh [BUILD_DIR]
#   (SCAN_COUNT, LOAD_COUNT, DUP_COUNT, RUNS to change)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
gen="$build/bench/convert/geofill-gpx-generate"
conv="$build/app/geofill-convert/geofill-convert"
scan_count=${SCAN_COUNT:-1000000}
load_count=${LOAD_COUNT:-100000}
dup_count=${DUP_COUNT:-1000000}
count="$build/bench/convert/geofill-duplicate-count"
runs=${RUNS:-3}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Best wall-clock time of $runs runs, in seconds; the command's output goes to /dev/null.
best() {
    local best_ns="" t0 t1
    for ((i = 0; i < runs; i++)); do
        [[ -n "${BEFORE_EACH:-}" ]] && eval "$BEFORE_EACH"
        t0=$(date +%s%N)
        "$@" >/dev/null
        t1=$(date +%s%N)
        if [[ -z "$best_ns" || $((t1 - t0)) -lt $best_ns ]]; then best_ns=$((t1 - t0)); fi
    done
    awk -v ns="$best_ns" 'BEGIN { printf "%.4f", ns / 1e9 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
mib() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }
peak_kib() {
    if [[ -x /usr/bin/time ]]; then
        /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null && cat "$work/peak"
    else
        echo "n/a"
    fi
}

"$gen" "$scan_count" "$work/scan.gpx"
"$gen" "$load_count" "$work/load.gpx"
"$gen" "$((scan_count / 10))" "$work/tenth.gpx"
cat "$work/scan.gpx" >/dev/null # into the page cache for both contenders
size=$(stat -c %s "$work/scan.gpx")

echo "Scanning $scan_count waypoints ($(mib "$size") MiB), best of $runs:"
t_wc=$(best wc -l "$work/scan.gpx")
t_scan=$(best "$conv" "$work/scan.gpx")
echo "  wc -l            ${t_wc} s  ($(awk -v s="$size" -v t="$t_wc" 'BEGIN { printf "%.0f", s / t / 1048576 }') MiB/s)"
echo "  geofill-convert  ${t_scan} s  ($(awk -v s="$size" -v t="$t_scan" 'BEGIN { printf "%.0f", s / t / 1048576 }') MiB/s)"
echo "  throughput against wc -l: $(ratio "$t_wc" "$t_scan") (target at least 0.20)"

echo "Loading $load_count waypoints, best of $runs:"
"$conv" --output "$work/load.sql" "$work/load.gpx"
{ echo "BEGIN;"; cat "$work/load.sql"; echo "COMMIT;"; } >"$work/batch.sql"
BEFORE_EACH="rm -f '$work/floor.db'; sqlite3 '$work/floor.db' < '$root/samples/schema.sql'"
t_shell=$(best sh -c "sqlite3 -bail '$work/floor.db' < '$work/batch.sql'")
BEFORE_EACH="rm -f '$work/ours.db'; sqlite3 '$work/ours.db' < '$root/samples/schema.sql'"
t_load=$(best "$conv" --database "$work/ours.db" "$work/load.gpx")
unset BEFORE_EACH
rows=$(sqlite3 "$work/ours.db" "select count(*) from poi;")
echo "  sqlite3 < statements in one transaction  ${t_shell} s"
echo "  geofill-convert --database               ${t_load} s  ($rows rows)"
echo "  load time against the shell: $(ratio "$t_load" "$t_shell") (target at most 1.30)"

echo "Peak memory of the standard-output mode:"
echo "  $((scan_count / 10)) waypoints: $(peak_kib "$conv" "$work/tenth.gpx") KiB"
echo "  $scan_count waypoints: $(peak_kib "$conv" "$work/scan.gpx") KiB (target within 65536)"

echo "Duplicate check, $dup_count waypoints against a table of $dup_count rows, best of $runs:"
"$gen" "$dup_count" "$work/dup.gpx"
rm -f "$work/full.db"
"$conv" --create-database "$work/full.db" >/dev/null
"$conv" --database "$work/full.db" --category 1 "$work/dup.gpx" >/dev/null
# Half the file is already there in category 1; the other half goes to category 2.
sqlite3 "$work/full.db" "update poi set cat_id = 2 where poi_id % 2 = 0;"
BEFORE_EACH="cp '$work/full.db' '$work/dups.db'"
t_plain=$(best "$conv" --database "$work/dups.db" --category 1 "$work/dup.gpx")
t_check=$(best "$count" "$work/dups.db" "$work/dup.gpx" 1)
t_skip=$(best "$conv" --database "$work/dups.db" --category 1 --skip-duplicates "$work/dup.gpx")
unset BEFORE_EACH
echo "  load alone (--database)                   ${t_plain} s"
echo "  the window's check before it              ${t_check} s  ($("$count" "$work/full.db" "$work/dup.gpx" 1))"
echo "  load leaving them out (--skip-duplicates) ${t_skip} s"
echo "  check against the load: $(ratio "$t_check" "$t_plain") (target at most 1.00)"
