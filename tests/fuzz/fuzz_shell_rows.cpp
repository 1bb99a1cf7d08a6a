// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the shell's output: both readers must see the same rows, the rows put back
// together with the separators must give the output up to its last row separator and parse
// again to the same rows, and every field must come back whole from its SQL literal.

#include "FuzzChecks.h"

#include "ShellRows.h"
#include "SqlText.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <span>
#include <string>

namespace {

constexpr QChar kField(0x1F);
constexpr QChar kRow(0x1E);

// The shell's list mode with the separators the gateway sets.
QString printRows(const QList<QStringList>& rows)
{
    QString text;
    for (const QStringList& fields : rows) {
        text += fields.join(kField);
        text += kRow;
    }
    return text;
}

void checkLiteral(const QString& value)
{
    const QByteArray literal = SqlText::literal(value).toUtf8();
    const std::string_view text(literal.constData(), size_t(literal.size()));
    size_t at = 0;
    std::string read;
    FUZZ_CHECK(readSqlLiteral(text, &at, &read) && at == text.size());
    FUZZ_CHECK(utf8Text(read) == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    // As the command runner decodes what the shell printed.
    const QString output = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QStringList> rows = ShellRows::parse(output);

    // The listings' copy-free reading sees the same rows, as views into the output itself.
    qsizetype visited = 0;
    ShellRows::forEach(output, [&](std::span<const QStringView> fields) {
        FUZZ_CHECK(visited < rows.size() && qsizetype(fields.size()) == rows[visited].size());
        for (size_t i = 0; i < fields.size(); ++i) {
            const QStringView field = fields[i];
            FUZZ_CHECK(field.data() >= output.data() &&
                       field.data() + field.size() <= output.data() + output.size());
            FUZZ_CHECK(field == rows[visited][qsizetype(i)]);
        }
        ++visited;
    });
    FUZZ_CHECK(visited == rows.size());

    FUZZ_CHECK(rows.size() == output.count(kRow));
    for (const QStringList& fields : rows) {
        FUZZ_CHECK(!fields.isEmpty());
        for (const QString& field : fields) {
            FUZZ_CHECK(!field.contains(kField) && !field.contains(kRow));
            checkLiteral(field);
        }
    }
    const QString printed = printRows(rows);
    FUZZ_CHECK(printed == output.first(output.lastIndexOf(kRow) + 1));
    FUZZ_CHECK(ShellRows::parse(printed) == rows);
    // A piece after the last separator is no row, whatever it holds.
    FUZZ_CHECK(ShellRows::parse(output + QStringLiteral("tail\x1Fpiece")) == rows);
    return 0;
}
