// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class OutputFile;

// One waypoint as it goes out: coordinates as plain decimal numbers, texts as they are stored.
struct GpxPoint
{
    QString lat;
    QString lon;
    QString name;
    QString desc;
    QString type;
};

// What the file says of a category beyond the label its waypoints carry as <type>.
struct GpxCategoryInfo
{
    QString label;
    QString desc;
    bool enabled = true;
};

// Writes a GPX 1.1 document of waypoints to an open output file: the header, one <wpt> per point,
// the closing tag. Texts are escaped so that they read back unchanged, line breaks and tabs
// included.
class GpxWriter
{
public:
    explicit GpxWriter(OutputFile& out);

    bool begin();
    bool write(const GpxPoint& point);
    // The categories' descriptions and enabled flags, in the document's extensions in
    // Geofill's own namespace, which other programs pass over; after the last point.
    bool writeCategories(const QList<GpxCategoryInfo>& categories);
    bool end();

    // The first character of `text` that an XML document cannot carry (a control character
    // other than tab and line breaks, an unpaired surrogate, U+FFFE or U+FFFF), or -1.
    static qsizetype unwritableAt(QStringView text);
    // `text` as XML character data that a reader gives back exactly: markup escaped, and
    // tabs and line breaks as character references, since readers fold them otherwise.
    static QString escaped(QStringView text);

private:
    bool put(const QByteArray& bytes);

    OutputFile& m_out;
};
