#include "SortedListModel.h"

#include <algorithm>

namespace {

// Blocks are filled to kFill by a bulk load and split in two when they pass kMax rows.
constexpr int kFill = 512;
constexpr int kMax = 1024;

QLocale collationLocale(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return QLocale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

QCollator listCollator(const QLocale& locale)
{
    QCollator collator(collationLocale(locale));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);
    return collator;
}

} // namespace

SortedListModel::SortedListModel(QObject* parent) : SortedListModel(QLocale(), parent) {}

SortedListModel::SortedListModel(const QLocale& locale, QObject* parent)
    : QAbstractListModel(parent), m_collator(listCollator(locale))
{
}

QStringList SortedListModel::sorted(QStringList items, const QLocale& locale)
{
    const QCollator collator = listCollator(locale);
    std::stable_sort(items.begin(), items.end(), [&collator](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    return items;
}

int SortedListModel::addItem(const QString& text)
{
    Place place = insertionPlace(text);
    const int row = place.block < m_blocks.size() ? m_starts[place.block] + place.offset : 0;

    beginInsertRows({}, row, row);
    if (m_blocks.empty()) {
        m_blocks.push_back({text});
        m_starts.push_back(0);
    } else {
        QStringList& block = m_blocks[place.block];
        block.insert(place.offset, text);
        if (block.size() > kMax) {
            QStringList tail = block.mid(kMax / 2);
            block.resize(kMax / 2);
            m_blocks.insert(m_blocks.begin() + place.block + 1, std::move(tail));
            m_starts.insert(m_starts.begin() + place.block + 1, 0);
        }
    }
    ++m_count;
    renumberFrom(place.block);
    endInsertRows();
    return row;
}

void SortedListModel::setItems(QStringList items)
{
    setSortedItems(sorted(std::move(items), locale()));
}

void SortedListModel::setSortedItems(QStringList items)
{
    beginResetModel();
    m_blocks.clear();
    m_starts.clear();
    m_count = int(items.size());
    for (qsizetype i = 0; i < items.size(); i += kFill) {
        m_starts.push_back(int(i));
        m_blocks.push_back(items.mid(i, kFill));
    }
    endResetModel();
}

QString SortedListModel::item(int row) const
{
    if (row < 0 || row >= m_count)
        return {};
    const Place place = locate(row);
    return m_blocks[place.block].at(place.offset);
}

QStringList SortedListModel::items() const
{
    QStringList all;
    all.reserve(m_count);
    for (const QStringList& block : m_blocks)
        all += block;
    return all;
}

void SortedListModel::clear()
{
    beginResetModel();
    m_blocks.clear();
    m_starts.clear();
    m_count = 0;
    endResetModel();
}

int SortedListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count;
}

QVariant SortedListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_count)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return item(index.row());
    return {};
}

bool SortedListModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_count)
        return false;

    beginRemoveRows({}, row, row + count - 1);
    const Place first = locate(row);
    std::size_t block = first.block;
    int offset = first.offset;
    int left = count;
    while (left > 0) {
        QStringList& rows = m_blocks[block];
        const int n = std::min(left, int(rows.size()) - offset);
        rows.remove(offset, n);
        left -= n;
        if (rows.isEmpty()) {
            m_blocks.erase(m_blocks.begin() + block);
            m_starts.erase(m_starts.begin() + block);
        } else {
            ++block;
        }
        offset = 0;
    }
    m_count -= count;
    renumberFrom(first.block);
    endRemoveRows();
    return true;
}

SortedListModel::Place SortedListModel::locate(int row) const
{
    const auto it = std::upper_bound(m_starts.begin(), m_starts.end(), row);
    const auto block = std::size_t(it - m_starts.begin()) - 1;
    return {block, row - m_starts[block]};
}

SortedListModel::Place SortedListModel::insertionPlace(const QString& text) const
{
    if (m_blocks.empty())
        return {0, 0};
    // The first block whose last row sorts after the text holds the place; past every block,
    // the text goes to the end of the last one.
    const auto it = std::upper_bound(m_blocks.begin(), m_blocks.end(), text,
                                     [this](const QString& t, const QStringList& block) {
                                         return compare(t, block.constLast()) < 0;
                                     });
    if (it == m_blocks.end())
        return {m_blocks.size() - 1, int(m_blocks.back().size())};
    const auto pos = std::upper_bound(it->begin(), it->end(), text,
                                      [this](const QString& t, const QString& row) {
                                          return compare(t, row) < 0;
                                      });
    return {std::size_t(it - m_blocks.begin()), int(pos - it->begin())};
}

void SortedListModel::renumberFrom(std::size_t block)
{
    if (block >= m_blocks.size())
        return;
    int start = block == 0 ? 0 : m_starts[block - 1] + int(m_blocks[block - 1].size());
    for (std::size_t b = block; b < m_blocks.size(); ++b) {
        m_starts[b] = start;
        start += int(m_blocks[b].size());
    }
}
