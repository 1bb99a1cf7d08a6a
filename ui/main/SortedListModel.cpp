#include "SortedListModel.h"

#include <QThreadPool>

#include <algorithm>
#include <memory>

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

SortedListModel::Rows SortedListModel::sortedRows(QStringList items, const QLocale& locale)
{
    const QCollator collator = listCollator(locale);
    std::stable_sort(items.begin(), items.end(), [&collator](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    Rows rows;
    rows.count = int(items.size());
    for (qsizetype i = 0; i < items.size(); i += kFill) {
        QStringList block;
        block.reserve(std::min<qsizetype>(kFill, items.size() - i));
        for (qsizetype j = i; j < items.size() && j < i + kFill; ++j)
            block.append(std::move(items[j]));
        rows.starts.push_back(int(i));
        rows.blocks.push_back(std::move(block));
    }
    return rows;
}

int SortedListModel::addItem(const QString& text)
{
    Place place = insertionPlace(text);
    const int row =
        place.block < m_rows.blocks.size() ? m_rows.starts[place.block] + place.offset : 0;

    beginInsertRows({}, row, row);
    if (m_rows.blocks.empty()) {
        m_rows.blocks.push_back({text});
        m_rows.starts.push_back(0);
    } else {
        QStringList& block = m_rows.blocks[place.block];
        block.insert(place.offset, text);
        if (block.size() > kMax) {
            QStringList tail = block.mid(kMax / 2);
            block.resize(kMax / 2);
            m_rows.blocks.insert(m_rows.blocks.begin() + place.block + 1, std::move(tail));
            m_rows.starts.insert(m_rows.starts.begin() + place.block + 1, 0);
        }
    }
    ++m_rows.count;
    renumberFrom(place.block);
    endInsertRows();
    return row;
}

void SortedListModel::setItems(QStringList items)
{
    setRows(sortedRows(std::move(items), locale()));
}

void SortedListModel::setRows(Rows rows)
{
    beginResetModel();
    std::swap(m_rows, rows);
    endResetModel();
    if (rows.count == 0)
        return;
    // Freeing a million strings takes longer than the window may stand still; the task holds
    // the only reference, so they are freed on the pool's thread.
    auto old = std::make_shared<Rows>(std::move(rows));
    QThreadPool::globalInstance()->start([old = std::move(old)]() mutable { old.reset(); });
}

QString SortedListModel::item(int row) const
{
    if (row < 0 || row >= m_rows.count)
        return {};
    const Place place = locate(row);
    return m_rows.blocks[place.block].at(place.offset);
}

QStringList SortedListModel::items() const
{
    QStringList all;
    all.reserve(m_rows.count);
    for (const QStringList& block : m_rows.blocks)
        all += block;
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
        QStringList& rows = m_rows.blocks[block];
        const int n = std::min(left, int(rows.size()) - offset);
        rows.remove(offset, n);
        left -= n;
        if (rows.isEmpty()) {
            m_rows.blocks.erase(m_rows.blocks.begin() + block);
            m_rows.starts.erase(m_rows.starts.begin() + block);
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

SortedListModel::Place SortedListModel::insertionPlace(const QString& text) const
{
    if (m_rows.blocks.empty())
        return {0, 0};
    // The first block whose last row sorts after the text holds the place; past every block,
    // the text goes to the end of the last one.
    const auto it = std::upper_bound(m_rows.blocks.begin(), m_rows.blocks.end(), text,
                                     [this](const QString& t, const QStringList& block) {
                                         return compare(t, block.constLast()) < 0;
                                     });
    if (it == m_rows.blocks.end())
        return {m_rows.blocks.size() - 1, int(m_rows.blocks.back().size())};
    const auto pos = std::upper_bound(
        it->begin(), it->end(), text,
        [this](const QString& t, const QString& row) { return compare(t, row) < 0; });
    return {std::size_t(it - m_rows.blocks.begin()), int(pos - it->begin())};
}

void SortedListModel::renumberFrom(std::size_t block)
{
    if (block >= m_rows.blocks.size())
        return;
    int start = block == 0 ? 0 : m_rows.starts[block - 1] + int(m_rows.blocks[block - 1].size());
    for (std::size_t b = block; b < m_rows.blocks.size(); ++b) {
        m_rows.starts[b] = start;
        start += int(m_rows.blocks[b].size());
    }
}
