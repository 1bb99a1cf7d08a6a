// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <StoredValue.h>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

class OutputFile;

// Rows of a listing as geofill-db prints them:
//   text  a header line, then one line per row, fields separated by a tab; a tab or line
//         break inside a value is shown as a blank
//   csv   RFC 4180: a header row, fields with a comma, quote or line break in double quotes
//         (a quote doubled), CR LF after every row
//   json  one array of objects keyed by the column names; numbers stay numbers, NULL is null
class RowFormat
{
public:
    enum class Kind
    {
        Text,
        Csv,
        Json
    };
    // "text", "csv" or "json"; nothing for another name.
    static std::optional<Kind> named(const QString& name);

    RowFormat(OutputFile& file, Kind kind, const QStringList& columns);

    // False once writing has failed (a full disk, a closed pipe).
    bool begin();
    bool row(std::span<const StoredBytes> values);
    bool end();

private:
    OutputFile& m_file;
    Kind m_kind;
    QStringList m_columns;
    qint64 m_rows = 0;
    QByteArray m_line;
};
