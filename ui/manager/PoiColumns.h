// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <PoiListing.h>

#include <QByteArray>
#include <QHash>
#include <QString>

#include <array>
#include <atomic>
#include <limits>
#include <optional>
#include <vector>

// Every POI of a database held column by column, compactly enough for a million rows: numbers
// in arrays, texts one after another in one block of UTF-8, and beside them the label and
// description case-folded, where a search looks for its text in one pass. Read-only once
// filled, so that workers may sort and filter it while the window shows it.
class PoiColumns
{
public:
    enum Column
    {
        Id,
        Lat,
        Lon,
        Label,
        Description,
        Category,
        ColumnCount
    };
    using Rows = std::vector<quint32>; // row positions, in the order they are shown

    void reserve(qsizetype rows);
    void append(const PrintedPoi& poi);
    // Adds the rows of `later`, which all come after these by number.
    void append(PoiColumns&& later);

    qsizetype size() const { return qsizetype(m_id.size()); }
    qint64 id(quint32 row) const { return m_id[row]; }
    // The category number; nothing when cat_id holds no whole number.
    std::optional<qint64> category(quint32 row) const;
    // The value as stored, for showing and editing: a number's shortest digits, or the text.
    QString text(quint32 row, Column column) const;
    // A coordinate as a number, for sorting; NaN when it is none.
    double number(quint32 row, Column column) const;
    PoiRow row(quint32 row) const;

    // The labels the category column shows, by category number; sorting follows them.
    void setCategoryLabels(QHash<qint64, QString> labels) { m_categoryLabels = std::move(labels); }
    QString categoryLabel(quint32 row) const;

    // All rows ordered by `column`, numbers as numbers, texts ignoring case; rows that compare
    // equal keep the order of their numbers. Descending is the exact reverse.
    Rows sorted(Column column, bool descending) const;
    // The rows of `order` that belong to `category` (all when empty) and whose label or
    // description holds `search`, case ignored; an empty search keeps every row. Stops early,
    // giving nothing, once `generation` no longer equals `wanted`.
    Rows filtered(const Rows& order, std::optional<qint64> category, const QString& search,
                  const std::atomic<int>* generation = nullptr, int wanted = 0) const;
    // Every row, in table order.
    Rows all() const;

private:
    QByteArrayView field(quint32 row, int index) const; // 0 lat, 1 lon, 2 label, 3 description
    QByteArrayView foldedLabel(quint32 row) const;
    void appendFolded(QByteArrayView utf8);

    static constexpr qint64 kNoCategory = std::numeric_limits<qint64>::min();

    std::vector<qint64> m_id;
    std::vector<double> m_lat;
    std::vector<double> m_lon;
    std::vector<qint64> m_category;
    std::vector<quint8> m_kinds; // two bits per coordinate: StoredValue::Kind of lat and lon
    // Per row: lat, lon, label and description one after another; the start of each row and the
    // lengths of its first three fields (the description runs to the next row).
    QByteArray m_texts;
    std::vector<qsizetype> m_textStart;
    std::vector<std::array<quint32, 3>> m_lengths;
    // Per row: folded label, NUL, folded description, NUL.
    QByteArray m_folded;
    std::vector<qsizetype> m_foldedStart;
    QHash<qint64, QString> m_categoryLabels;
};
