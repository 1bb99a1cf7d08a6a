-- SPDX-License-Identifier: GPL-3.0-or-later
-- The POI database as the map application uses it: points of interest and their categories.
CREATE TABLE category (
    cat_id  INTEGER PRIMARY KEY,
    label   TEXT,
    desc    TEXT,
    enabled INTEGER
);
CREATE TABLE poi (
    poi_id INTEGER PRIMARY KEY,
    lat    REAL,
    lon    REAL,
    label  TEXT,
    desc   TEXT,
    cat_id INTEGER
);
INSERT INTO category(label, desc, enabled) VALUES('Cafe', 'Food and drink', 1);
INSERT INTO category(label, desc, enabled) VALUES('Fuel', 'Petrol stations', 1);
INSERT INTO category(label, desc, enabled) VALUES('Camping', 'Camp sites and caravan parks', 1);
INSERT INTO category(label, desc, enabled) VALUES('Museum', 'Museums and galleries', 0);
