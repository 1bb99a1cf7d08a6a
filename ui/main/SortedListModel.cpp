// SPDX-License-Identifier: GPL-3.0-or-later
#include "SortedListModel.h"

#include <QThreadPool>

#include <algorithm>

namespace {

// Blocks are filled to kFill by a bulk load and split in two when they pass kMax rows.
constexpr int kFill = 512;
constexpr int kMax = 1024;

} // namespace

SortedListModel::SortedListModel(QObject* parent) : SortedListModel(QLocale(), parent) {}

SortedListModel::SortedListModel(const QLocale& locale, QObject* parent)
    : QAbstractListModel(parent), m_order(locale)
{
}

SortedListModel::Rows SortedListModel::sortedRows(LineStore lines, const QLocale& locale)
{
    std::vector<Line> sorted = lines.takeLines();
    ListOrder(locale).sort(sorted);
    return rowsInOrder(sorted, std::make_shared<const LineStore>(std::move(lines)));
}

SortedListModel::Rows SortedListModel::rowsInOrder(const std::vector<Line>& lines,
                                                   std::shared_ptr<const LineStore> store)
{
    Rows rows;
    rows.count = int(lines.size());
    for (std::size_t i = 0; i < lines.size(); i += kFill) {
        const auto end = lines.begin() + std::ptrdiff_t(std::min(lines.size(), i + kFill));
        rows.starts.push_back(int(i));
        rows.blocks.emplace_back(lines.begin() + std::ptrdiff_t(i), end);
    }
    rows.stores.push_back(std::move(store));
    return rows;
}

int SortedListModel::addItem(const QString& text)
{
    if (!m_added) {
        m_added = std::make_shared<LineStore>();
        m_rows.stores.push_back(m_added);
    }
    const Line line = m_added->append(QStringView(text));
    Place place = insertionPlace(line.view());
    const int row =
        place.block < m_rows.blocks.size() ? m_rows.starts[place.block] + place.offset : 0;

    beginInsertRows({}, row, row);
    if (m_rows.blocks.empty()) {
        m_rows.blocks.push_back({line});
        m_rows.starts.push_back(0);
    } else {
        std::vector<Line>& block = m_rows.blocks[place.block];
        block.insert(block.begin() + place.offset, line);
        if (block.size() > std::size_t(kMax)) {
            std::vector<Line> tail(block.begin() + kMax / 2, block.end());
            block.resize(kMax / 2);
            m_rows.blocks.insert(m_rows.blocks.begin() + std::ptrdiff_t(place.block) + 1,
                                 std::move(tail));
            m_rows.starts.insert(m_rows.starts.begin() + std::ptrdiff_t(place.block) + 1, 0);
        }
    }
    ++m_rows.count;
    renumberFrom(place.block);
    endInsertRows();
    return row;
}

SortedListModel::Rows SortedListModel::sortedRows(const QStringList& items, const QLocale& locale)
{
    LineStore lines;
    for (const QString& item : items)
        lines.append(QStringView(item));
    return sortedRows(std::move(lines), locale);
}

void SortedListModel::setItems(const QStringList& items)
{
    setRows(sortedRows(items, locale()));
}

void SortedListModel::setRows(Rows rows)
{
    beginResetModel();
    std::swap(m_rows, rows);
    m_added.reset();
    endResetModel();
    // Freeing a million rows' text should not hold up the window; the task holds the only
    // reference, so they are freed on the pool's thread.
    auto old = std::make_shared<Rows>(std::move(rows));
    QThreadPool::globalInstance()->start([old = std::move(old)]() mutable { old.reset(); });
}

QString SortedListModel::item(int row) const
{
    if (row < 0 || row >= m_rows.count)
        return {};
    const Place place = locate(row);
    return m_rows.blocks[place.block][std::size_t(place.offset)].text();
}

QStringList SortedListModel::items() const
{
    QStringList all;
    all.reserve(m_rows.count);
    for (const std::vector<Line>& block : m_rows.blocks)
        for (const Line& line : block)
            all << line.text();
    return all;
}

void SortedListModel::clear()
{
    setRows({});
}

int SortedListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.count;
}

QVariant SortedListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.count)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return item(index.row());
    return {};
}

bool SortedListModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_rows.count)
        return false;

    beginRemoveRows({}, row, row + count - 1);
    const Place first = locate(row);
    std::size_t block = first.block;
    int offset = first.offset;
    int left = count;
    while (left > 0) {
        std::vector<Line>& rows = m_rows.blocks[block];
        const int n = std::min(left, int(rows.size()) - offset);
        rows.erase(rows.begin() + offset, rows.begin() + offset + n);
        left -= n;
        if (rows.empty()) {
            m_rows.blocks.erase(m_rows.blocks.begin() + std::ptrdiff_t(block));
            m_rows.starts.erase(m_rows.starts.begin() + std::ptrdiff_t(block));
        } else {
            ++block;
        }
        offset = 0;
    }
    m_rows.count -= count;
    renumberFrom(first.block);
    endRemoveRows();
    return true;
}

SortedListModel::Place SortedListModel::locate(int row) const
{
    const auto it = std::upper_bound(m_rows.starts.begin(), m_rows.starts.end(), row);
    const auto block = std::size_t(it - m_rows.starts.begin()) - 1;
    return {block, row - m_rows.starts[block]};
}

SortedListModel::Place SortedListModel::insertionPlace(QUtf8StringView text) const
{
    if (m_rows.blocks.empty())
        return {0, 0};
    // The first block whose last row sorts after the text holds the place; past every block,
    // the text goes to the end of the last one.
    const auto it = std::upper_bound(m_rows.blocks.begin(), m_rows.blocks.end(), text,
                                     [this](QUtf8StringView t, const std::vector<Line>& block) {
                                         return m_order.compare(t, block.back().view()) < 0;
                                     });
    if (it == m_rows.blocks.end())
        return {m_rows.blocks.size() - 1, int(m_rows.blocks.back().size())};
    const auto pos =
        std::upper_bound(it->begin(), it->end(), text, [this](QUtf8StringView t, const Line& row) {
            return m_order.compare(t, row.view()) < 0;
        });
    return {std::size_t(it - m_rows.blocks.begin()), int(pos - it->begin())};
}

void SortedListModel::renumberFrom(std::size_t block)
{
    // `block` may be one past the last, when the last block went: nothing is left to number.
    int start = block == 0 ? 0 : m_rows.starts[block - 1] + int(m_rows.blocks[block - 1].size());
    for (std::size_t b = block; b < m_rows.blocks.size(); ++b) {
        m_rows.starts[b] = start;
        start += int(m_rows.blocks[b].size());
    }
}
