// SPDX-License-Identifier: GPL-3.0-or-later
#include "RowFormat.h"

#include <OutputFile.h>

#include <QUtf8StringView>

#include <cstdio>

std::optional<RowFormat::Kind> RowFormat::named(const QString& name)
{
    if (name == QLatin1String("text"))
        return Kind::Text;
    if (name == QLatin1String("csv"))
        return Kind::Csv;
    if (name == QLatin1String("json"))
        return Kind::Json;
    return std::nullopt;
}

RowFormat::RowFormat(OutputFile& file, Kind kind, const QStringList& columns)
    : m_file(file), m_kind(kind), m_columns(columns)
{
}

namespace {

void appendCsv(QByteArray& line, QByteArrayView text)
{
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r')) {
        line += text;
        return;
    }
    line += '"';
    for (const char c : text) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

// Letters outside ASCII stay as their UTF-8 bytes, which JSON takes as they are; a text that
// is not UTF-8 (the database holds what it was given) gets U+FFFD for its stray bytes, as JSON
// must be UTF-8.
void appendJson(QByteArray& line, const StoredBytes& given)
{
    StoredBytes value = given;
    QByteArray repaired;
    if (!QUtf8StringView(value.text).isValidUtf8()) {
        repaired = QString::fromUtf8(value.text).toUtf8();
        value.text = repaired;
    }
    if (value.kind == StoredValue::Kind::Null) {
        line += "null";
        return;
    }
    if (value.kind == StoredValue::Kind::Number) {
        line += value.text;
        return;
    }
    line += '"';
    for (const char c : value.text) {
        switch (c) {
        case '"':
            line += "\\\"";
            break;
        case '\\':
            line += "\\\\";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        case '\t':
            line += "\\t";
            break;
        default:
            if (uchar(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(uchar(c)));
                line += escaped;
            } else {
                line += c;
            }
        }
    }
    line += '"';
}

} // namespace

bool RowFormat::begin()
{
    if (m_kind == Kind::Json)
        return m_file.write("[");
    QList<QByteArray> names;
    QList<StoredBytes> header;
    for (const QString& column : std::as_const(m_columns))
        names << column.toUtf8();
    for (const QByteArray& name : std::as_const(names))
        header.append(StoredBytes::ofText(name));
    const bool written = row(header);
    m_rows = 0;
    return written;
}

bool RowFormat::row(std::span<const StoredBytes> values)
{
    m_line.clear();
    for (size_t i = 0; i < values.size(); ++i) {
        const QByteArrayView text = values[i].text;
        switch (m_kind) {
        case Kind::Text:
            if (i > 0)
                m_line += '\t';
            for (const char c : text)
                m_line += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
            break;
        case Kind::Csv:
            if (i > 0)
                m_line += ',';
            appendCsv(m_line, text);
            break;
        case Kind::Json:
            m_line += i == 0 ? (m_rows == 0 ? "\n{\"" : ",\n{\"") : ", \"";
            m_line += m_columns.value(qsizetype(i)).toLatin1();
            m_line += "\": ";
            appendJson(m_line, values[i]);
            break;
        }
    }
    m_line += m_kind == Kind::Text ? "\n" : m_kind == Kind::Csv ? "\r\n" : "}";
    ++m_rows;
    return m_file.write(m_line);
}

bool RowFormat::end()
{
    if (m_kind == Kind::Json)
        return m_file.write(m_rows == 0 ? "]\n" : "\n]\n");
    return true;
}
