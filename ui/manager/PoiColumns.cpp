// SPDX-License-Identifier: GPL-3.0-or-later
#include "PoiColumns.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

#if defined(__GLIBC__)
#include <string.h> // memmem
#endif

namespace {

using Kind = StoredValue::Kind;

double numberOf(const StoredBytes& value)
{
    if (value.kind != Kind::Number)
        return std::nan("");
    bool ok = false;
    const double number = QByteArray::fromRawData(value.text.data(), value.text.size()).toDouble(&ok);
    return ok ? number : std::nan("");
}

const char* find(const char* from, const char* end, QByteArrayView needle)
{
#if defined(__GLIBC__)
    return static_cast<const char*>(memmem(from, size_t(end - from), needle.data(), needle.size()));
#else
    const char* hit = std::search(from, end, needle.begin(), needle.end());
    return hit == end ? nullptr : hit;
#endif
}

// The first eight bytes of a text as one number, so that most comparisons of a sort are one.
quint64 prefixKey(QByteArrayView text)
{
    quint64 key = 0;
    for (qsizetype i = 0; i < 8; ++i)
        key = (key << 8) | (i < text.size() ? quint8(text[i]) : 0);
    return key;
}

} // namespace

void PoiColumns::reserve(qsizetype rows)
{
    m_id.reserve(rows);
    m_lat.reserve(rows);
    m_lon.reserve(rows);
    m_category.reserve(rows);
    m_kinds.reserve(rows);
    m_textStart.reserve(rows + 1);
    m_lengths.reserve(rows);
    m_foldedStart.reserve(rows + 1);
}

void PoiColumns::append(const PrintedPoi& poi)
{
    m_id.push_back(poi.id);
    m_lat.push_back(numberOf(poi.lat));
    m_lon.push_back(numberOf(poi.lon));
    bool whole = poi.category.kind == Kind::Number;
    const qint64 category = whole ? QByteArrayView(poi.category.text).toLongLong(&whole) : 0;
    m_category.push_back(whole ? category : kNoCategory);
    m_kinds.push_back(quint8(int(poi.lat.kind) | int(poi.lon.kind) << 2));
    m_textStart.push_back(m_texts.size());
    m_lengths.push_back({quint32(poi.lat.text.size()), quint32(poi.lon.text.size()),
                         quint32(poi.label.size())});
    m_texts.append(poi.lat.text).append(poi.lon.text).append(poi.label).append(poi.description);
    m_foldedStart.push_back(m_folded.size());
    appendFolded(poi.label);
    appendFolded(poi.description);
}

void PoiColumns::append(PoiColumns&& later)
{
    const auto join = [](auto& to, auto& from) { to.insert(to.end(), from.begin(), from.end()); };
    const auto joinShifted = [](std::vector<qsizetype>& to, const std::vector<qsizetype>& from,
                                qsizetype by) {
        to.reserve(to.size() + from.size());
        for (const qsizetype start : from)
            to.push_back(start + by);
    };
    join(m_id, later.m_id);
    join(m_lat, later.m_lat);
    join(m_lon, later.m_lon);
    join(m_category, later.m_category);
    join(m_kinds, later.m_kinds);
    join(m_lengths, later.m_lengths);
    joinShifted(m_textStart, later.m_textStart, m_texts.size());
    joinShifted(m_foldedStart, later.m_foldedStart, m_folded.size());
    m_texts.append(later.m_texts);
    m_folded.append(later.m_folded);
    later = PoiColumns();
}

void PoiColumns::appendFolded(QByteArrayView utf8)
{
    // Plain ASCII, by far the most common, folds byte by byte.
    const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return quint8(c) < 0x80; });
    if (ascii) {
        const qsizetype at = m_folded.size();
        m_folded.append(utf8);
        char* out = m_folded.data() + at;
        for (qsizetype i = 0; i < utf8.size(); ++i)
            out[i] = (out[i] >= 'A' && out[i] <= 'Z') ? char(out[i] + 32) : out[i];
    } else {
        m_folded.append(QString::fromUtf8(utf8).toCaseFolded().toUtf8());
    }
    m_folded.append('\0');
}

QByteArrayView PoiColumns::field(quint32 row, int index) const
{
    qsizetype start = m_textStart[row];
    for (int i = 0; i < index; ++i)
        start += m_lengths[row][i];
    const qsizetype end = index < 3 ? start + m_lengths[row][index]
                          : row + 1 < m_textStart.size() ? m_textStart[row + 1]
                                                         : m_texts.size();
    return QByteArrayView(m_texts.constData() + start, end - start);
}

QByteArrayView PoiColumns::foldedLabel(quint32 row) const
{
    const char* start = m_folded.constData() + m_foldedStart[row];
    return QByteArrayView(start, qsizetype(std::strlen(start)));
}

std::optional<qint64> PoiColumns::category(quint32 row) const
{
    if (m_category[row] == kNoCategory)
        return std::nullopt;
    return m_category[row];
}

QString PoiColumns::text(quint32 row, Column column) const
{
    switch (column) {
    case Id:
        return QString::number(m_id[row]);
    case Lat:
    case Lon:
    case Label:
    case Description:
        return QString::fromUtf8(field(row, int(column) - 1));
    case Category:
        return category(row) ? QString::number(*category(row)) : QString();
    case ColumnCount:
        break;
    }
    return {};
}

double PoiColumns::number(quint32 row, Column column) const
{
    return column == Lat ? m_lat[row] : column == Lon ? m_lon[row] : double(m_id[row]);
}

PoiRow PoiColumns::row(quint32 r) const
{
    const auto value = [&](int index, int kind) {
        return StoredValue{Kind(kind & 3), QString::fromUtf8(field(r, index))};
    };
    return {m_id[r],
            value(0, m_kinds[r]),
            value(1, m_kinds[r] >> 2),
            QString::fromUtf8(field(r, 2)),
            QString::fromUtf8(field(r, 3)),
            category(r) ? StoredValue::number(*category(r)) : StoredValue{}};
}

QString PoiColumns::categoryLabel(quint32 row) const
{
    const std::optional<qint64> number = category(row);
    if (!number)
        return {};
    const auto found = m_categoryLabels.constFind(*number);
    return found == m_categoryLabels.constEnd() ? QString::number(*number) : *found;
}

PoiColumns::Rows PoiColumns::all() const
{
    Rows rows(m_id.size());
    std::iota(rows.begin(), rows.end(), 0u);
    return rows;
}

PoiColumns::Rows PoiColumns::sorted(Column column, bool descending) const
{
    Rows rows = all();
    // Rows come in table order (by number), so a stable sort keeps equal ones by number.
    switch (column) {
    case Id:
        break;
    case Lat:
    case Lon: {
        // Numbers first, then whatever is no number.
        const std::vector<double>& values = column == Lat ? m_lat : m_lon;
        std::stable_sort(rows.begin(), rows.end(), [&](quint32 a, quint32 b) {
            const double x = values[a];
            const double y = values[b];
            if (std::isnan(x) || std::isnan(y))
                return !std::isnan(x) && std::isnan(y);
            return x < y;
        });
        break;
    }
    case Label:
    case Description: {
        std::vector<QByteArrayView> texts(rows.size());
        std::vector<quint64> keys(rows.size());
        for (quint32 r = 0; r < rows.size(); ++r) {
            QByteArrayView folded = foldedLabel(r);
            if (column == Description) {
                const char* start = folded.data() + folded.size() + 1;
                folded = QByteArrayView(start, qsizetype(std::strlen(start)));
            }
            texts[r] = folded;
            keys[r] = prefixKey(folded);
        }
        std::stable_sort(rows.begin(), rows.end(), [&](quint32 a, quint32 b) {
            if (keys[a] != keys[b])
                return keys[a] < keys[b];
            const auto tail = [](QByteArrayView t) { return t.size() > 8 ? t.sliced(8) : QByteArrayView(); };
            return tail(texts[a]) < tail(texts[b]);
        });
        break;
    }
    case Category: {
        // Each category's place among the labels once; then the rows by that place.
        QList<qint64> numbers = m_categoryLabels.keys();
        std::sort(numbers.begin(), numbers.end(), [&](qint64 a, qint64 b) {
            return m_categoryLabels[a].compare(m_categoryLabels[b], Qt::CaseInsensitive) < 0;
        });
        QHash<qint64, qint64> place;
        for (qsizetype i = 0; i < numbers.size(); ++i)
            place.insert(numbers[i], i);
        // Numbers without a category follow the known ones by number; no number goes last.
        std::vector<std::pair<qint64, qint64>> ranks(rows.size());
        for (quint32 r = 0; r < rows.size(); ++r) {
            const qint64 c = m_category[r];
            ranks[r] = c == kNoCategory ? std::pair(numbers.size() + 1, qint64(0))
                                        : std::pair(place.value(c, numbers.size()), c);
        }
        std::stable_sort(rows.begin(), rows.end(),
                         [&](quint32 a, quint32 b) { return ranks[a] < ranks[b]; });
        break;
    }
    case ColumnCount:
        break;
    }
    if (descending)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

PoiColumns::Rows PoiColumns::filtered(const Rows& order, std::optional<qint64> category,
                                      const QString& search, const std::atomic<int>* generation,
                                      int wanted) const
{
    const auto stale = [&] { return generation && generation->load() != wanted; };
    std::vector<bool> found;
    const QByteArray needle = search.toCaseFolded().toUtf8();
    if (!needle.isEmpty()) {
        found.assign(m_id.size(), false);
        // A NUL stands between the folded texts: a search holding one finds nothing.
        if (!needle.contains('\0')) {
            const char* begin = m_folded.constData();
            const char* end = begin + m_folded.size();
            const char* at = begin;
            // Hits come in order: the row of each is found by walking on from the last one.
            const qsizetype rowCount = size();
            qsizetype row = 0;
            while (const char* hit = find(at, end, needle)) {
                const qsizetype offset = hit - begin;
                while (row + 1 < rowCount && m_foldedStart[row + 1] <= offset)
                    ++row;
                found[row] = true;
                at = row + 1 < rowCount ? begin + m_foldedStart[row + 1] : end;
                if ((row & 0xffff) == 0 && stale())
                    return {};
            }
        }
    }
    Rows rows;
    rows.reserve(needle.isEmpty() && !category ? order.size() : 1024);
    for (quint32 r : order) {
        if ((needle.isEmpty() || found[r]) && (!category || m_category[r] == *category))
            rows.push_back(r);
    }
    return rows;
}
