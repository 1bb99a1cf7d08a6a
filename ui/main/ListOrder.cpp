// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListOrder.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <system_error>
#include <thread>

namespace {

// Below this many lines a second thread costs more than it saves.
constexpr std::size_t kTwoThreadsFrom = 20000;

QLocale collationLocale(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return QLocale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

// Languages whose collation keeps to the common order for ASCII text: no letter pairs sorted
// as one (Czech "ch", Danish "aa", Hungarian "cs" …), so one rank per character says it all.
bool plainAsciiCollation(QLocale::Language language)
{
    switch (language) {
    case QLocale::English:
    case QLocale::German:
    case QLocale::French:
    case QLocale::Italian:
    case QLocale::Portuguese:
    case QLocale::Dutch:
        return true;
    default:
        return false;
    }
}

bool isAscii(char c)
{
    return uchar(c) < 0x80;
}

// Below this many entries a comparison sort beats another round of buckets.
constexpr std::size_t kBucketed = 256;
// From this many entries on, a round of buckets looks at the stop first.
constexpr std::size_t kLookedAt = 1 << 14;

bool stopped(const std::function<bool()>& stop)
{
    return stop && stop();
}

// Byte `depth` of an entry's key, counted from the top: a rank, 0 past the line's end, or 0xFF
// from a character without a rank on.
template <typename Entry> int keyByte(const Entry& entry, int depth)
{
    return int(quint8(entry.key[std::size_t(depth / 8)] >> (56 - 8 * (depth % 8))));
}

// Puts the `size` entries at `data` in the order `less` gives, by a bucket per rank of their
// keys' byte `depth` and on (through `spare`, as large), leaving to `less` only what the
// ranks cannot tell: a bucket of few entries, or one where a byte has no rank. Each bucket
// keeps the entries' order among themselves, so lines that end alike stay in the order they
// came. False when the stop came.
template <typename Entry, typename Less>
bool sortByKeys(Entry* data, Entry* spare, std::size_t size, int depth, const Less& less,
                const std::function<bool()>& stop)
{
    constexpr int kDepths = 8 * int(std::tuple_size_v<decltype(Entry::key)>);
    if (size >= kLookedAt && stopped(stop))
        return false;
    const auto compared = [&] {
        std::sort(data, data + size, less);
        return true;
    };
    if (size < kBucketed || depth == kDepths)
        return compared();
    std::array<std::size_t, 257> start{};
    for (std::size_t i = 0; i < size; ++i) {
        const int byte = keyByte(data[i], depth);
        if (byte == 0xFF)
            return compared();
        ++start[std::size_t(byte) + 1];
    }
    for (std::size_t byte = 0; byte < 256; ++byte)
        start[byte + 1] += start[byte];
    std::array<std::size_t, 256> next;
    std::copy(start.begin(), start.end() - 1, next.begin());
    for (std::size_t i = 0; i < size; ++i)
        spare[next[std::size_t(keyByte(data[i], depth))]++] = data[i];
    std::copy(spare, spare + size, data);
    // Bucket 0 holds the lines that ended here: alike, already in the order they came.
    for (std::size_t byte = 1; byte < 256; ++byte) {
        const std::size_t count = start[byte + 1] - start[byte];
        if (count > 1 &&
            !sortByKeys(data + start[byte], spare + start[byte], count, depth + 1, less, stop))
            return false;
    }
    return true;
}

} // namespace

struct ListOrder::Entry
{
    std::array<quint64, kKeyWords> key;
    quint32 index;
};

// Orders entries by their keys where the keys settle it, by the lines' text where they do
// not, and by their place in the input where the text sorts alike.
class ListOrder::EntryLess
{
public:
    EntryLess(const ListOrder& order, const std::vector<Line>& lines, qsizetype commonPrefix)
        : m_order(order), m_lines(lines), m_from(commonPrefix)
    {
    }

    bool operator()(const Entry& x, const Entry& y) const
    {
        for (int word = 0; word < kKeyWords; ++word) {
            const quint64 keyX = x.key[word];
            const quint64 keyY = y.key[word];
            if (keyX != keyY) {
                const int shift = 56 - (std::countl_zero(keyX ^ keyY) & ~7);
                const auto rankX = quint8(keyX >> shift);
                const auto rankY = quint8(keyY >> shift);
                if (rankX != 0xFF && rankY != 0xFF)
                    return rankX < rankY;
                break;
            }
            // Both lines ended within the key, rank for rank alike.
            if ((keyX & 0xFF) == 0)
                return x.index < y.index;
        }
        const int order =
            m_order.compareFrom(m_lines[x.index].view(), m_lines[y.index].view(), m_from);
        return order != 0 ? order < 0 : x.index < y.index;
    }

private:
    const ListOrder& m_order;
    const std::vector<Line>& m_lines;
    qsizetype m_from;
};

ListOrder::ListOrder(const QLocale& locale)
    : m_collator(collationLocale(locale)),
      m_ranked(plainAsciiCollation(m_collator.locale().language()))
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(false);
    m_collator.setIgnorePunctuation(false);
    if (!m_ranked)
        return;
    // The collator itself ranks the characters: those it sorts alike ('a' and 'A') share one.
    // An ignored character is found after another one: the collator ranks an empty text
    // before any other without looking at it.
    std::vector<QString> ranked;
    for (char16_t c = 1; c < 0x80; ++c) {
        const QString character(QChar{c});
        if (m_collator.compare(u'a' + character, u"a") != 0)
            ranked.push_back(character);
    }
    std::stable_sort(ranked.begin(), ranked.end(), [this](const QString& a, const QString& b) {
        return m_collator.compare(a, b) < 0;
    });
    quint8 rank = 0;
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        if (i == 0 || m_collator.compare(ranked[i - 1], ranked[i]) != 0)
            ++rank;
        m_rank[ranked[i].front().unicode()] = rank;
    }
    // A collation that weighs punctuation apart from the letters (word sort, as some systems
    // have it) cannot be told by ranks: it shows on these, and then the collator does it all.
    static constexpr const char* kProbes[] = {"ab",  "a-b", "a'b", "a b", "a.b", "a_b", "a1",
                                              "a-1", "-a",  "'a",  "A",   "a",   "aB",  "b"};
    const auto sign = [](int order) { return (order > 0) - (order < 0); };
    for (const char* a : kProbes)
        for (const char* b : kProbes)
            m_ranked = m_ranked &&
                       sign(compare(QUtf8StringView(a), QUtf8StringView(b))) ==
                           sign(m_collator.compare(QString::fromLatin1(a), QString::fromLatin1(b)));
}

ListOrder::ListOrder(const ListOrder& other) : ListOrder(other.locale()) {}

int ListOrder::compareFrom(QUtf8StringView a, QUtf8StringView b, qsizetype from) const
{
    if (m_ranked) {
        const auto [endA, endB] = std::mismatch(a.data() + from, a.data() + a.size(),
                                                b.data() + from, b.data() + b.size());
        qsizetype i = endA - a.data();
        qsizetype j = endB - b.data();
        // Up to here the lines are the same. Past an ASCII character the rest compares alone;
        // inside or after anything else (a letter with its accents), the collator decides.
        if (i == 0 || isAscii(a[i - 1])) {
            for (;; ++i, ++j) {
                const int rankA = rankAt(a, i);
                const int rankB = rankAt(b, j);
                if (rankA == kUnranked || rankB == kUnranked)
                    break;
                // A line that has ended sorts before one that goes on.
                if (rankA != rankB)
                    return rankA < rankB ? -1 : 1;
                if (rankA == kEnded)
                    return 0;
            }
        }
    }
    return m_collator.compare(QString::fromUtf8(a), QString::fromUtf8(b));
}

int ListOrder::rankAt(QUtf8StringView line, qsizetype i) const
{
    if (i >= line.size())
        return kEnded;
    const char c = line[i];
    return isAscii(c) ? m_rank[uchar(c)] : kUnranked;
}

std::array<quint64, ListOrder::kKeyWords> ListOrder::prefixKey(QUtf8StringView line,
                                                               qsizetype from) const
{
    std::array<quint64, kKeyWords> key{};
    bool unranked = !m_ranked;
    for (qsizetype i = 0; i < 8 * kKeyWords; ++i) {
        const int rank = unranked ? kUnranked : rankAt(line, from + i);
        unranked = rank == kUnranked;
        quint64& word = key[std::size_t(i / 8)];
        word = word << 8 | (unranked ? 0xFF : rank == kEnded ? 0 : quint8(rank));
    }
    return key;
}

bool ListOrder::sort(std::vector<Line>& lines, const std::function<bool()>& stop, int threads) const
{
    if (lines.size() < 2)
        return true;
    // The bytes every line starts with decide nothing; the keys begin after them, at the end
    // of an ASCII character.
    qsizetype common = lines.front().size;
    for (const Line& line : lines) {
        const QUtf8StringView first = lines.front().view();
        common = std::min(common, line.size);
        common = std::mismatch(first.data(), first.data() + common, line.data).first - first.data();
    }
    while (common > 0 && !isAscii(lines.front().data[common - 1]))
        --common;

    std::vector<Entry> entries(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i % kLookedAt == 0 && stopped(stop))
            return false;
        entries[i] = {prefixKey(lines[i].view(), common), quint32(i)};
    }

    const EntryLess less(*this, lines, common);
    auto spare = std::make_unique_for_overwrite<Entry[]>(entries.size());
    const std::size_t half = entries.size() / 2;
    const ListOrder helperOrder(*this);
    std::thread helper;
    bool helperDone = false;
    try {
        if (threads > 1 && entries.size() >= kTwoThreadsFrom)
            helper = std::thread([&] {
                helperDone = sortByKeys(entries.data(), spare.get(), half, 0,
                                        EntryLess(helperOrder, lines, common), stop);
            });
    } catch (const std::system_error&) {
        // No second thread to be had: this one sorts alone.
    }
    if (helper.joinable()) {
        const bool done = sortByKeys(entries.data() + half, spare.get() + half,
                                     entries.size() - half, 0, less, stop);
        helper.join();
        if (!done || !helperDone || stopped(stop))
            return false;
        const auto middle = entries.begin() + std::ptrdiff_t(half);
        std::merge(entries.begin(), middle, middle, entries.end(), spare.get(), less);
        std::copy(spare.get(), spare.get() + entries.size(), entries.begin());
    } else if (!sortByKeys(entries.data(), spare.get(), entries.size(), 0, less, stop)) {
        return false;
    }
    // Freed before the sorted lines take its place.
    spare.reset();

    std::vector<Line> sorted;
    sorted.reserve(lines.size());
    for (const Entry& entry : entries)
        sorted.push_back(lines[entry.index]);
    lines = std::move(sorted);
    return true;
}
