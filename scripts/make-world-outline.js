#!/usr/bin/env node
// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the Natural Earth 1:110m land and country borders carried by the npm package
// world-atlas into resources/map/world-110m.bin, the outline the offline map draws.
// Run once by hand, never by the build:
//   cd /tmp && npm install world-atlas@2.0.2 topojson-client@3.1.0
//   node scripts/make-world-outline.js /tmp/node_modules resources/map/world-110m.bin
//
// The file, all numbers little-endian:
//   "GFWO", u8 version (1)
//   then layers until the end: u8 kind (1 land rings, 2 country borders), u32 line count,
//   and per line a u32 point count followed by its points as i16 longitude, i16 latitude
//   in hundredths of a degree.
'use strict';
const fs = require('fs');
const path = require('path');

const [modules, out] = process.argv.slice(2);
if (!modules || !out) {
    console.error('Usage: make-world-outline.js NODE_MODULES_DIR OUTPUT.bin');
    process.exit(2);
}
const topojson = require(path.resolve(modules, 'topojson-client'));
const atlas = (name) => JSON.parse(fs.readFileSync(path.resolve(modules, 'world-atlas', name)));

const land = atlas('land-110m.json');
const countries = atlas('countries-110m.json');

// Rings of the land polygons; borders as lines shared by two countries (coasts come from land).
const landShape = topojson.feature(land, land.objects.land);
const geometries = landShape.features ? landShape.features.map((f) => f.geometry) : [landShape.geometry];
const landRings = geometries.flatMap((g) => (g.type === 'Polygon' ? g.coordinates : g.coordinates.flat(1)));
const borders = topojson.mesh(countries, countries.objects.countries, (a, b) => a !== b).coordinates;

const chunks = [Buffer.from('GFWO'), Buffer.from([1])];
function layer(kind, lines) {
    const head = Buffer.alloc(5);
    head.writeUInt8(kind, 0);
    head.writeUInt32LE(lines.length, 1);
    chunks.push(head);
    let points = 0;
    for (const line of lines) {
        // Neighbouring points that round to the same hundredth add nothing.
        const kept = [];
        for (const [lon, lat] of line) {
            const p = [Math.round(lon * 100), Math.round(lat * 100)];
            const last = kept[kept.length - 1];
            if (!last || last[0] !== p[0] || last[1] !== p[1])
                kept.push(p);
        }
        const body = Buffer.alloc(4 + kept.length * 4);
        body.writeUInt32LE(kept.length, 0);
        kept.forEach(([lon, lat], i) => {
            body.writeInt16LE(lon, 4 + i * 4);
            body.writeInt16LE(lat, 6 + i * 4);
        });
        chunks.push(body);
        points += kept.length;
    }
    console.log(`layer ${kind}: ${lines.length} lines, ${points} points`);
}
layer(1, landRings);
layer(2, borders);
fs.writeFileSync(out, Buffer.concat(chunks));
console.log(`${out}: ${fs.statSync(out).size} bytes`);
