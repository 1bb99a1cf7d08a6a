#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One command from a fresh Debian 12 machine to a running Geofill with demo files ready.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
scripts/make-demo.sh

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo
    echo "No display is available, so Geofill's window cannot open here."
    echo "Running the demo conversion with the command-line converter instead:"
    echo
    build/app/geofill-convert/geofill-convert --category 1 demo/demo.gpx
    build/app/geofill-convert/geofill-convert --category 1 --database demo/poi.db demo/demo.gpx
    echo
    echo "The poi table of demo/poi.db now holds:"
    sqlite3 -header -column demo/poi.db "select * from poi;"
    exit 0
fi
exec build/app/geofill/geofill
