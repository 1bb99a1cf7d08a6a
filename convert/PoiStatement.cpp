#include "PoiStatement.h"

#include <cstring>

PoiStatement::PoiStatement(const QString& table, int category)
    : m_prefix("INSERT INTO " + table.toUtf8() + "(lat,lon,label,desc,cat_id) VALUES(")
    , m_suffix("," + QByteArray::number(category) + ");")
{
}

bool PoiStatement::isValidTableName(const QString& table)
{
    if (table.isEmpty() || table.front().isDigit())
        return false;
    for (const QChar c : table) {
        if (!(c == u'_' || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')
              || (c >= u'0' && c <= u'9')))
            return false;
    }
    return true;
}

void PoiStatement::appendLiteral(QByteArray& out, QByteArrayView utf8)
{
    out.append('\'');
    const char* p = utf8.data();
    const char* end = p + utf8.size();
    while (p != end) {
        const char* special = p;
        while (special != end && *special != '\'' && *special != '\r')
            ++special;
        out.append(p, special - p);
        if (special == end)
            break;
        // The shell drops a carriage return before a line feed, so it is spelled out.
        if (*special == '\r')
            out.append("'||char(13)||'");
        else
            out.append("''");
        p = special + 1;
    }
    out.append('\'');
}

void PoiStatement::build(const Waypoint& w, QByteArray& out) const
{
    out.resize(0);
    out.append(m_prefix);
    out.append(w.lat);
    out.append(',');
    out.append(w.lon);
    out.append(',');
    appendLiteral(out, w.name);
    out.append(',');
    appendLiteral(out, w.desc);
    out.append(m_suffix);
}

QByteArray PoiStatement::build(const Waypoint& waypoint) const
{
    QByteArray out;
    build(waypoint, out);
    return out;
}
