#include "RowFormat.h"

#include <OutputFile.h>

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

QString RowFormat::csvField(const StoredValue& value)
{
    const QString& text = value.text;
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString RowFormat::jsonValue(const StoredValue& value)
{
    if (value.kind == StoredValue::Kind::Null)
        return QStringLiteral("null");
    if (value.kind == StoredValue::Kind::Number)
        return value.text;
    QString json;
    json.reserve(value.text.size() + 2);
    json += u'"';
    for (const QChar c : value.text) {
        switch (c.unicode()) {
        case '"':
            json += QStringLiteral("\\\"");
            break;
        case '\\':
            json += QStringLiteral("\\\\");
            break;
        case '\n':
            json += QStringLiteral("\\n");
            break;
        case '\r':
            json += QStringLiteral("\\r");
            break;
        case '\t':
            json += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                json += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                json += c;
        }
    }
    json += u'"';
    return json;
}

bool RowFormat::begin()
{
    if (m_kind == Kind::Json)
        return m_file.write("[");
    QList<StoredValue> header;
    for (const QString& column : std::as_const(m_columns))
        header.append({StoredValue::Kind::Text, column});
    const bool written = row(header);
    m_rows = 0;
    return written;
}

bool RowFormat::row(const QList<StoredValue>& values)
{
    m_line.clear();
    switch (m_kind) {
    case Kind::Text:
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (i > 0)
                m_line += u'\t';
            QString text = values[i].text;
            for (QChar& c : text) {
                if (c == u'\t' || c == u'\n' || c == u'\r')
                    c = u' ';
            }
            m_line += text;
        }
        m_line += u'\n';
        break;
    case Kind::Csv:
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (i > 0)
                m_line += u',';
            m_line += csvField(values[i]);
        }
        m_line += QStringLiteral("\r\n");
        break;
    case Kind::Json:
        m_line += m_rows == 0 ? QStringLiteral("\n{") : QStringLiteral(",\n{");
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (i > 0)
                m_line += QStringLiteral(", ");
            m_line += u'"' + m_columns.value(i) + QStringLiteral("\": ") + jsonValue(values[i]);
        }
        m_line += u'}';
        break;
    }
    ++m_rows;
    return m_file.write(m_line.toUtf8());
}

bool RowFormat::end()
{
    if (m_kind == Kind::Json)
        return m_file.write(m_rows == 0 ? "]\n" : "\n]\n");
    return true;
}
