#include "ListOrder.h"

#include <algorithm>
#include <bit>
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

// Entries sorted at a time, between two looks at the stop.
constexpr std::size_t kRun = 1 << 14;

bool stopped(const std::function<bool()>& stop)
{
    return stop && stop();
}

// Sorts the `size` entries at `data` as runs of kRun, merged pairwise through `spare` (as
// large), so that a stop is seen within milliseconds and this thread takes no memory of its
// own. False when the stop came.
template <typename Entry, typename Less>
bool sortInRuns(Entry* data, Entry* spare, std::size_t size, const Less& less,
                const std::function<bool()>& stop)
{
    for (std::size_t begin = 0; begin < size; begin += kRun) {
        if (stopped(stop))
            return false;
        std::sort(data + begin, data + std::min(size, begin + kRun), less);
    }
    Entry* from = data;
    Entry* to = spare;
    for (std::size_t width = kRun; width < size; width *= 2) {
        for (std::size_t begin = 0; begin < size; begin += 2 * width) {
            if (stopped(stop))
                return false;
            const std::size_t middle = std::min(size, begin + width);
            const std::size_t end = std::min(size, begin + 2 * width);
            std::merge(from + begin, from + middle, from + middle, from + end, to + begin, less);
        }
        std::swap(from, to);
    }
    if (from != data)
        std::copy(from, from + size, data);
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
        if (i % kRun == 0 && stopped(stop))
            return false;
        entries[i] = {prefixKey(lines[i].view(), common), quint32(i)};
    }

    const EntryLess less(*this, lines, common);
    std::vector<Entry> spare(entries.size());
    const std::size_t half = entries.size() / 2;
    const ListOrder helperOrder(*this);
    std::thread helper;
    bool helperDone = false;
    try {
        if (threads > 1 && entries.size() >= kTwoThreadsFrom)
            helper = std::thread([&] {
                helperDone = sortInRuns(entries.data(), spare.data(), half,
                                        EntryLess(helperOrder, lines, common), stop);
            });
    } catch (const std::system_error&) {
        // No second thread to be had: this one sorts alone.
    }
    if (helper.joinable()) {
        const bool done = sortInRuns(entries.data() + half, spare.data() + half,
                                     entries.size() - half, less, stop);
        helper.join();
        if (!done || !helperDone || stopped(stop))
            return false;
        const auto middle = entries.begin() + std::ptrdiff_t(half);
        std::merge(entries.begin(), middle, middle, entries.end(), spare.begin(), less);
        entries.swap(spare);
    } else if (!sortInRuns(entries.data(), spare.data(), entries.size(), less, stop)) {
        return false;
    }

    std::vector<Line> sorted;
    sorted.reserve(lines.size());
    for (const Entry& entry : entries)
        sorted.push_back(lines[entry.index]);
    lines = std::move(sorted);
    return true;
}
