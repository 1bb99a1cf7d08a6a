#include "PoiStatement.h"

#include "ByteSearch.h"

#include <cstring>

PoiStatement::PoiStatement(const QString& table, int category)
    : m_prefix(
          ("INSERT INTO " + table.toUtf8() + "(lat,lon,label,desc,cat_id) VALUES(").toStdString()),
      m_suffix(("," + QByteArray::number(category) + ");").toStdString())
{
}

bool PoiStatement::isValidTableName(const QString& table)
{
    if (table.isEmpty() || table.front().isDigit())
        return false;
    for (const QChar c : table) {
        if (!(c == u'_' || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
              (c >= u'0' && c <= u'9')))
            return false;
    }
    return true;
}

namespace {

constexpr char kCarriageReturn[] = "'||char(13)||'";
constexpr qsizetype kCarriageReturnSize = sizeof kCarriageReturn - 1;

char* copy(char* to, const char* from, qsizetype size)
{
    std::memcpy(to, from, size_t(size));
    return to + size;
}

// Writes the literal at `to`, which has room for literalBound(text.size()) bytes.
char* writeLiteral(char* to, QByteArrayView text)
{
    *to++ = '\'';
    const char* p = text.data();
    const char* end = p + text.size();
    while (p != end) {
        const char* special = findAny<'\'', '\r'>(p, end);
        to = copy(to, p, special - p);
        if (special == end)
            break;
        // The shell drops a carriage return before a line feed, so it is spelled out.
        if (*special == '\r') {
            to = copy(to, kCarriageReturn, kCarriageReturnSize);
        } else {
            *to++ = '\'';
            *to++ = '\'';
        }
        p = special + 1;
    }
    *to++ = '\'';
    return to;
}

qsizetype literalBound(qsizetype size)
{
    return size * kCarriageReturnSize + 2;
}

} // namespace

void PoiStatement::appendLiteral(std::string& out, QByteArrayView utf8)
{
    const size_t old = out.size();
    out.resize(old + size_t(literalBound(utf8.size())));
    out.resize(size_t(writeLiteral(out.data() + old, utf8) - out.data()));
}

// One pass into a buffer sized for the worst case: a million statements, so no append calls.
void PoiStatement::build(const Waypoint& w, std::string& out) const
{
    const qsizetype bound = qsizetype(m_prefix.size() + m_suffix.size()) + w.lat.size() +
                            w.lon.size() + literalBound(w.name.size()) +
                            literalBound(w.desc.size()) + 3;
    if (out.size() < size_t(bound))
        out.resize(size_t(bound));
    char* to = out.data();
    to = copy(to, m_prefix.data(), qsizetype(m_prefix.size()));
    to = copy(to, w.lat.data(), w.lat.size());
    *to++ = ',';
    to = copy(to, w.lon.data(), w.lon.size());
    *to++ = ',';
    to = writeLiteral(to, w.name);
    *to++ = ',';
    to = writeLiteral(to, w.desc);
    to = copy(to, m_suffix.data(), qsizetype(m_suffix.size()));
    out.resize(size_t(to - out.data()));
}

QByteArray PoiStatement::build(const Waypoint& waypoint) const
{
    std::string out;
    build(waypoint, out);
    return QByteArray(out.data(), qsizetype(out.size()));
}
