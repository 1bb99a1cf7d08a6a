// SPDX-License-Identifier: GPL-3.0-or-later
#include "PoiStatement.h"

#include "ByteSearch.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

PoiStatement::PoiStatement(const QString& table, qint64 category)
    : m_prefix(
          ("INSERT INTO " + table.toUtf8() + "(lat,lon,label,desc,cat_id) VALUES(").toStdString()),
      m_suffix(("," + QByteArray::number(category) + ");").toStdString()), m_category(category)
{
}

void PoiStatement::setCategory(qint64 category)
{
    if (category == m_category)
        return;
    m_category = category;
    m_suffix = ("," + QByteArray::number(category) + ");").toStdString();
}

namespace {

// The shell's keywords, in order; some it would take as a table name, none is taken here.
// clang-format off
constexpr std::array<std::string_view, 147> kKeywords = {
    "ABORT", "ACTION", "ADD", "AFTER", "ALL", "ALTER", "ALWAYS", "ANALYZE", "AND", "AS", "ASC",
    "ATTACH", "AUTOINCREMENT", "BEFORE", "BEGIN", "BETWEEN", "BY", "CASCADE", "CASE", "CAST",
    "CHECK", "COLLATE", "COLUMN", "COMMIT", "CONFLICT", "CONSTRAINT", "CREATE", "CROSS", "CURRENT",
    "CURRENT_DATE", "CURRENT_TIME", "CURRENT_TIMESTAMP", "DATABASE", "DEFAULT", "DEFERRABLE",
    "DEFERRED", "DELETE", "DESC", "DETACH", "DISTINCT", "DO", "DROP", "EACH", "ELSE", "END",
    "ESCAPE", "EXCEPT", "EXCLUDE", "EXCLUSIVE", "EXISTS", "EXPLAIN", "FAIL", "FILTER", "FIRST",
    "FOLLOWING", "FOR", "FOREIGN", "FROM", "FULL", "GENERATED", "GLOB", "GROUP", "GROUPS",
    "HAVING", "IF", "IGNORE", "IMMEDIATE", "IN", "INDEX", "INDEXED", "INITIALLY", "INNER",
    "INSERT", "INSTEAD", "INTERSECT", "INTO", "IS", "ISNULL", "JOIN", "KEY", "LAST", "LEFT",
    "LIKE", "LIMIT", "MATCH", "MATERIALIZED", "NATURAL", "NO", "NOT", "NOTHING", "NOTNULL", "NULL",
    "NULLS", "OF", "OFFSET", "ON", "OR", "ORDER", "OTHERS", "OUTER", "OVER", "PARTITION", "PLAN",
    "PRAGMA", "PRECEDING", "PRIMARY", "QUERY", "RAISE", "RANGE", "RECURSIVE", "REFERENCES",
    "REGEXP", "REINDEX", "RELEASE", "RENAME", "REPLACE", "RESTRICT", "RETURNING", "RIGHT",
    "ROLLBACK", "ROW", "ROWS", "SAVEPOINT", "SELECT", "SET", "TABLE", "TEMP", "TEMPORARY", "THEN",
    "TIES", "TO", "TRANSACTION", "TRIGGER", "UNBOUNDED", "UNION", "UNIQUE", "UPDATE", "USING",
    "VACUUM", "VALUES", "VIEW", "VIRTUAL", "WHEN", "WHERE", "WINDOW", "WITH", "WITHOUT",
};
// clang-format on

} // namespace

Outcome<> PoiStatement::checkTableName(const QString& table)
{
    const auto isPlain = [](QChar c) {
        return c == u'_' || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
               (c >= u'0' && c <= u'9');
    };
    if (table.isEmpty() || table.front().isDigit() ||
        !std::all_of(table.begin(), table.end(), isPlain))
        return Problem{QCoreApplication::translate("PoiStatement", "The table name %1 is not a plain SQL name (letters, digits "
                                      "and _, not starting with a digit).")
                           .arg(table),
                       {},
                       0};
    const std::string upper = table.toUpper().toStdString();
    if (std::binary_search(kKeywords.begin(), kKeywords.end(), upper))
        return Problem{
            QCoreApplication::translate("PoiStatement", "The table name %1 is an SQL keyword; choose another name.").arg(table),
            {},
            0};
    return {};
}

namespace {

// The shell reads its input by lines: a line feed would split the statement's line, and a
// carriage return before one would be dropped, so both are spelled out.
constexpr char kCarriageReturn[] = "'||char(13)||'";
constexpr char kLineFeed[] = "'||char(10)||'";
constexpr qsizetype kBreakSize = sizeof kCarriageReturn - 1;
static_assert(sizeof kLineFeed == sizeof kCarriageReturn);

char* copy(char* to, const char* from, qsizetype size)
{
    std::memcpy(to, from, size_t(size));
    return to + size;
}

// Writes the literal at `to`, which has room for literalSize(text) bytes.
char* writeLiteral(char* to, QByteArrayView text)
{
    *to++ = '\'';
    const char* p = text.data();
    const char* end = p + text.size();
    while (p != end) {
        const char* special = findAny<'\'', '\r', '\n'>(p, end);
        to = copy(to, p, special - p);
        if (special == end)
            break;
        if (*special == '\'') {
            *to++ = '\'';
            *to++ = '\'';
        } else {
            to = copy(to, *special == '\r' ? kCarriageReturn : kLineFeed, kBreakSize);
        }
        p = special + 1;
    }
    *to++ = '\'';
    return to;
}

// The exact length of the literal: a buffer sized for the worst case would cost many times
// the text for one long value.
qsizetype literalSize(QByteArrayView text)
{
    qsizetype size = text.size() + 2;
    const char* end = text.data() + text.size();
    for (const char* p = findAny<'\'', '\r', '\n'>(text.data(), end); p != end;
         p = findAny<'\'', '\r', '\n'>(p + 1, end))
        size += *p == '\'' ? 1 : kBreakSize - 1;
    return size;
}

} // namespace

void PoiStatement::appendLiteral(std::string& out, QByteArrayView utf8)
{
    const size_t old = out.size();
    out.resize(old + size_t(literalSize(utf8)));
    out.resize(size_t(writeLiteral(out.data() + old, utf8) - out.data()));
}

// One pass into a buffer of the exact size: a million statements, so no append calls.
void PoiStatement::build(const Waypoint& w, std::string& out) const
{
    const qsizetype size = qsizetype(m_prefix.size() + m_suffix.size()) + w.lat.size() +
                           w.lon.size() + literalSize(w.name) + literalSize(w.desc) + 3;
    if (out.size() < size_t(size))
        out.resize(size_t(size));
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
