#include "PoiStatement.h"

#include "ByteSearch.h"

PoiStatement::PoiStatement(const QString& table, int category)
    : m_prefix(("INSERT INTO " + table.toUtf8() + "(lat,lon,label,desc,cat_id) VALUES(").toStdString())
    , m_suffix(("," + QByteArray::number(category) + ");").toStdString())
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

void PoiStatement::appendLiteral(std::string& out, QByteArrayView utf8)
{
    out.push_back('\'');
    const char* p = utf8.data();
    const char* end = p + utf8.size();
    while (p != end) {
        const char* special = findAny<'\'', '\r'>(p, end);
        out.append(p, special - p);
        if (special == end)
            break;
        // The shell drops a carriage return before a line feed, so it is spelled out.
        out.append(*special == '\r' ? "'||char(13)||'" : "''");
        p = special + 1;
    }
    out.push_back('\'');
}

void PoiStatement::build(const Waypoint& w, std::string& out) const
{
    out.assign(m_prefix);
    out.append(w.lat.data(), w.lat.size());
    out.push_back(',');
    out.append(w.lon.data(), w.lon.size());
    out.push_back(',');
    appendLiteral(out, w.name);
    out.push_back(',');
    appendLiteral(out, w.desc);
    out.append(m_suffix);
}

QByteArray PoiStatement::build(const Waypoint& waypoint) const
{
    std::string out;
    build(waypoint, out);
    return QByteArray(out.data(), qsizetype(out.size()));
}
