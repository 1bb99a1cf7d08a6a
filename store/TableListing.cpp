#include "TableListing.h"

#include <algorithm>
#include <array>

namespace {

struct Layout
{
    const char16_t* statement;
    // Widths of the shown fields; 0 marks a column measured from the data.
    std::array<int, 6> widths;
    int shownFields;
    int labelField;
    int descriptionField;
    // Least value of the measured lengths before the rows are seen.
    int measuredStart;
};

constexpr Layout kPoi{u"select * from poi ;", {5, 12, 12, 0, 0, 5}, 6, 3, 4, 0};
constexpr Layout kCategory{u"select * from category ;", {4, 0, 0, 3, 0, 0}, 4, 1, 2, 1};

const Layout& layoutOf(TableListing::Table table)
{
    return table == TableListing::Table::Poi ? kPoi : kCategory;
}

qsizetype fieldLength(const QStringList& row, int field)
{
    return field < row.size() ? row[field].size() : 0;
}

} // namespace

TableListing::TableListing(Table table) : m_table(table) {}

QString TableListing::statement() const
{
    return QString::fromUtf16(layoutOf(m_table).statement);
}

QStringList TableListing::format(const QList<QStringList>& rows) const
{
    const Layout& layout = layoutOf(m_table);
    qsizetype longestLabel = layout.measuredStart;
    qsizetype longestDescription = layout.measuredStart;
    for (const QStringList& row : rows) {
        longestLabel = std::max(longestLabel, fieldLength(row, layout.labelField));
        longestDescription =
            std::max(longestDescription, fieldLength(row, layout.descriptionField));
    }
    std::array<int, 6> widths = layout.widths;
    widths[layout.labelField] = int(longestLabel + 1);
    widths[layout.descriptionField] = int(longestDescription + 1);

    QStringList lines;
    lines.reserve(rows.size());
    for (const QStringList& row : rows) {
        QString line;
        for (int field = 0; field < layout.shownFields; ++field) {
            if (field > 0)
                line += u'|';
            line += Pad_Col(widths[field], field < row.size() ? row[field] : QString());
        }
        lines << std::move(line);
    }
    return lines;
}

QStringList TableListing::run(const QString& dbPath, ShellResult* result) const
{
    ShellResult shell = DatabaseShell::runStatement(dbPath, statement());
    QStringList lines = shell.ok ? format(shell.rows) : QStringList();
    shell.rows.clear();
    if (result)
        *result = std::move(shell);
    return lines;
}
