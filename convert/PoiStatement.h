// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GpxScanner.h"

#include <Outcome.h>

#include <QByteArray>
#include <QString>

#include <string>

// The INSERT statement of one waypoint, for example
//   INSERT INTO poi(lat,lon,label,desc,cat_id) VALUES(51.500000,-0.120000,'Old Mill','',3);
// lat and lon as written in the file, label and desc as SQL string literals.
class PoiStatement
{
public:
    explicit PoiStatement(const QString& table = QStringLiteral("poi"), qint64 category = 1);

    // The category number of the statements built from here on.
    void setCategory(qint64 category);

    // A table name goes into the statement as it stands, unquoted, so only plain SQL names
    // that are no SQL keyword are taken; a problem says why `table` is refused.
    static Outcome<> checkTableName(const QString& table);

    // Replaces `out` with the statement (UTF-8, no line end); reusing `out` saves allocations.
    void build(const Waypoint& waypoint, std::string& out) const;
    QByteArray build(const Waypoint& waypoint) const;

    // Appends 'text' with every ' doubled and line breaks spelled out: SqlText::literal on
    // UTF-8 bytes, without a round trip through QString for each of a million waypoints.
    static void appendLiteral(std::string& out, QByteArrayView utf8);

private:
    std::string m_prefix;
    std::string m_suffix;
    qint64 m_category;
};
