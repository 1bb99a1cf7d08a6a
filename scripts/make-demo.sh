#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes demo/poi.db from the schema (anew each time) and puts the demo GPX file beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p demo
rm -f demo/poi.db
sqlite3 demo/poi.db < samples/schema.sql
cp samples/demo.gpx demo/demo.gpx
echo "Demo database: $PWD/demo/poi.db"
echo "Demo GPX file: $PWD/demo/demo.gpx"
