// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the texts of a listed row, as a database may hold them: CSV must read back as
// the same fields (RFC 4180), JSON must parse and give the same texts (stray bytes as U+FFFD),
// and the text form must keep each row on its one line with its fields apart.

#include "FuzzChecks.h"

#include "RowFormat.h"

#include <OutputFile.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QStringList kColumns{"id", "label", "description"};

QByteArray written(RowFormat::Kind kind, const QList<QByteArray>& fields)
{
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* stream = open_memstream(&buffer, &size);
    {
        OutputFile file;
        file.open(stream);
        RowFormat rows(file, kind, kColumns);
        const StoredBytes row[] = {{StoredValue::Kind::Number, "7"},
                                   StoredBytes::ofText(fields.value(0)),
                                   StoredBytes::ofText(fields.value(1))};
        FUZZ_CHECK(rows.begin() && rows.row(row) && rows.end() && file.commit());
    }
    std::fclose(stream);
    const QByteArray bytes(buffer, qsizetype(size));
    std::free(buffer);
    return bytes;
}

// RFC 4180 records: fields in double quotes may hold anything, a quote doubled.
QList<QList<QByteArray>> readCsv(const QByteArray& csv)
{
    QList<QList<QByteArray>> records;
    QList<QByteArray> record;
    QByteArray field;
    qsizetype i = 0;
    bool fieldStarted = false;
    while (i < csv.size()) {
        const char c = csv[i];
        if (!fieldStarted && c == '"') {
            ++i;
            for (;;) {
                FUZZ_CHECK(i < csv.size());
                if (csv[i] == '"') {
                    if (i + 1 < csv.size() && csv[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += csv[i++];
            }
            fieldStarted = true;
            FUZZ_CHECK(i < csv.size() && (csv[i] == ',' || csv[i] == '\r'));
            continue;
        }
        if (c == ',') {
            record << field;
            field.clear();
            fieldStarted = false;
            ++i;
        } else if (c == '\r') {
            FUZZ_CHECK(i + 1 < csv.size() && csv[i + 1] == '\n');
            record << field;
            records << record;
            record.clear();
            field.clear();
            fieldStarted = false;
            i += 2;
        } else {
            FUZZ_CHECK(c != '\n' && c != '"');
            field += c;
            fieldStarted = true;
            ++i;
        }
    }
    FUZZ_CHECK(record.isEmpty() && field.isEmpty());
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QByteArray> fields = input.split('\0').mid(0, 2);

    const QList<QList<QByteArray>> csv = readCsv(written(RowFormat::Kind::Csv, fields));
    FUZZ_CHECK(csv.size() == 2);
    FUZZ_CHECK(csv[0] == (QList<QByteArray>{"id", "label", "description"}));
    FUZZ_CHECK(csv[1] == (QList<QByteArray>{"7", fields.value(0), fields.value(1)}));

    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(written(RowFormat::Kind::Json, fields), &error);
    FUZZ_CHECK(error.error == QJsonParseError::NoError && json.array().size() == 1);
    const QJsonObject object = json.array().at(0).toObject();
    FUZZ_CHECK(object.value("id").toInt() == 7);
    FUZZ_CHECK(object.value("label").toString() == QString::fromUtf8(fields.value(0)));
    FUZZ_CHECK(object.value("description").toString() == QString::fromUtf8(fields.value(1)));

    const QList<QByteArray> lines = written(RowFormat::Kind::Text, fields).split('\n');
    FUZZ_CHECK(lines.size() == 3 && lines[2].isEmpty() && lines[1].count('\t') == 2 &&
               !lines[1].contains('\r'));
    return 0;
}
