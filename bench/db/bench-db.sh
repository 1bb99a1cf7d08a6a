#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# geofill-db and the store's changes against the sqlite3 shell doing the same in the same run:
#   listing POI_COUNT POIs as CSV against `sqlite3 -csv` printing the same columns,
#   deleting and moving PICK_COUNT POIs picked by number (every tenth) against the shell
#   running the same change as one statement in one transaction: through geofill-db, and
#   through the store keeping the rows an undo needs, as the manager window does.
# Usage: bench/db/bench-db.sh [BUILD_DIR]   (POI_COUNT, PICK_COUNT, RUNS to change)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
db_tool="$build/app/geofill-db/geofill-db"
store_change="$build/bench/db/geofill-store-change"
poi_count=${POI_COUNT:-1000000}
pick_count=${PICK_COUNT:-100000}
runs=${RUNS:-3}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# best COMMAND… and ratio A B
source "$root/bench/timing.sh"

# POIs as GPX files give them: coordinates with six decimals, texts with letters outside ASCII
# and a comma now and then for CSV to quote.
sqlite3 "$work/full.db" <"$root/samples/schema.sql"
sqlite3 "$work/full.db" "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n
    WHERE i < $poi_count) INSERT INTO poi(lat, lon, label, desc, cat_id)
    SELECT round(47 + (i % 9000) / 1000.0, 6), round(7 + (i % 7000) / 997.0, 6), 'Café Nr. ' || i,
           CASE WHEN i % 5 = 0 THEN 'Öffnungszeiten: Mo, Di' ELSE 'Wanderweg ' || i END,
           1 + i % 4 FROM n;"
cat "$work/full.db" >/dev/null # into the page cache for both

echo "Listing $poi_count POIs as CSV, best of $runs:"
select="SELECT rowid AS id, lat, lon, label, desc AS description, cat_id AS category FROM poi ORDER BY rowid;"
t_shell=$(best sqlite3 -csv -header "$work/full.db" "$select")
t_db=$(best "$db_tool" pois "$work/full.db" --format csv)
rows=$("$db_tool" pois "$work/full.db" --format csv | wc -l)
echo "  sqlite3 -csv                ${t_shell} s"
echo "  geofill-db pois --format csv ${t_db} s  ($((rows - 1)) rows)"
echo "  against the shell: $(ratio "$t_db" "$t_shell") (target at most 1.50)"

# Every tenth POI, as a window's selection or a script's list would pick them.
step=$((poi_count / pick_count))
seq 1 "$step" $((step * pick_count)) >"$work/ids"
ids=$(paste -sd, "$work/ids")
BEFORE_EACH="cp '$work/full.db' '$work/pick.db'"
for change in delete move; do
    if [[ $change == delete ]]; then
        statement="DELETE FROM poi WHERE rowid IN ($ids);"
    else
        statement="UPDATE poi SET cat_id = 2 WHERE rowid IN ($ids);"
    fi
    printf 'BEGIN IMMEDIATE;\n%s\nCOMMIT;\n' "$statement" >"$work/change.sql"
    echo "${change^} $pick_count POIs of $poi_count, best of $runs:"
    t_shell=$(best sh -c "sqlite3 -bail '$work/pick.db' < '$work/change.sql'")
    # geofill-db takes the numbers as arguments, all in one command line, as a script gives them.
    target=$([[ $change == move ]] && echo 2 || true)
    t_db=$(best "$db_tool" "$change-pois" "$work/pick.db" $target $(cat "$work/ids"))
    t_store=$(best "$store_change" "$work/pick.db" "$change" 2 "$work/ids")
    eval "$BEFORE_EACH"
    "$db_tool" "$change-pois" "$work/pick.db" $target $(cat "$work/ids") >/dev/null
    echo "  sqlite3, one statement in one transaction  ${t_shell} s"
    echo "  geofill-db $change-pois                    ${t_db} s  ($(sqlite3 "$work/pick.db" \
        "SELECT count(*) FROM poi WHERE cat_id = 2;") POIs in category 2 after it)"
    echo "  store, keeping the rows for undo           ${t_store} s"
    echo "  geofill-db against the shell: $(ratio "$t_db" "$t_shell") (target at most 1.50);" \
         "with undo kept: $(ratio "$t_store" "$t_shell")"
done
