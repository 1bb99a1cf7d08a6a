// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableListing.h"

#include "PadColumn.h"

#include <ShellRows.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

struct Layout
{
    // Widths of the shown fields; 0 marks a column measured from the data.
    std::array<int, 6> widths;
    int shownFields;
    int labelField;
    int descriptionField;
    // Least value of the measured lengths before the rows are seen.
    int measuredStart;
};

constexpr Layout kPoi{{5, 12, 12, 0, 0, 5}, 6, 3, 4, 0};
constexpr Layout kCategory{{4, 0, 0, 3, 0, 0}, 4, 1, 2, 1};

const Layout& layoutOf(TableListing::Table table)
{
    return table == TableListing::Table::Poi ? kPoi : kCategory;
}

qsizetype fieldLength(std::span<const QStringView> row, int field)
{
    return field < qsizetype(row.size()) ? row[field].size() : 0;
}

using RowVisitor = std::function<void(std::span<const QStringView>)>;

// Two passes over the rows: the first measures the columns, the second lays out the lines.
// `forEachRow` hands every row to its visitor, in order.
LineStore layOut(const Layout& layout, const std::function<void(const RowVisitor&)>& forEachRow)
{
    // Every column is as wide as its widest value, and at least its own width; the label and
    // description columns are one wider than their widest value, so they always end in a blank.
    std::array<qsizetype, 6> longest{};
    longest[layout.labelField] = layout.measuredStart;
    longest[layout.descriptionField] = layout.measuredStart;
    forEachRow([&](std::span<const QStringView> row) {
        for (int field = 0; field < layout.shownFields; ++field)
            longest[field] = std::max(longest[field], fieldLength(row, field));
    });
    std::array<int, 6> widths = layout.widths;
    for (int field = 0; field < layout.shownFields; ++field)
        widths[field] = widths[field] == 0 ? int(longest[field] + 1)
                                           : std::max(widths[field], int(longest[field]));

    LineStore lines;
    QByteArray line;
    forEachRow([&](std::span<const QStringView> row) {
        line.resize(0); // keeps its room for the next line
        for (int field = 0; field < layout.shownFields; ++field) {
            if (field > 0)
                line += '|';
            appendPadded(line, widths[field],
                         field < qsizetype(row.size()) ? row[field] : QStringView());
        }
        lines.append(QByteArrayView(line));
    });
    return lines;
}

} // namespace

TableListing::TableListing(Table table) : m_table(table) {}

LineStore TableListing::format(const QList<QStringList>& rows) const
{
    const auto forEachRow = [&rows](const RowVisitor& visit) {
        std::vector<QStringView> fields;
        for (const QStringList& row : rows) {
            fields.assign(row.begin(), row.end());
            visit(fields);
        }
    };
    return layOut(layoutOf(m_table), forEachRow);
}

LineStore TableListing::format(QStringView shellOutput) const
{
    const auto forEachRow = [shellOutput](const RowVisitor& visit) {
        ShellRows::forEach(shellOutput, visit);
    };
    return layOut(layoutOf(m_table), forEachRow);
}

Outcome<LineStore> TableListing::run(const QString& dbPath, const StopCheck& stop,
                                     const ShellOptions& shell) const
{
    const Outcome<QString> read = TableReader::readAll(m_table, dbPath, stop, shell);
    if (!read)
        return read.problem();
    return format(*read);
}
