// SPDX-License-Identifier: GPL-3.0-or-later
#include "Coordinates.h"

#include "ByteSearch.h"

#include <QCoreApplication>

#include <charconv>
#include <cstring>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

namespace coordinates {

#if GEOFILL_SSE2
namespace {

template <typename Word> Word load(const char* p)
{
    Word word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// The n <= 16 bytes at p, zeros after them, in two words, without touching a byte past p + n:
// overlapping loads, so no small stores are read back as one (which stalls).
void loadShort(const char* p, qsizetype n, std::uint64_t& low, std::uint64_t& high)
{
    low = high = 0;
    if (n >= 8) {
        low = load<std::uint64_t>(p);
        if (n > 8)
            high = load<std::uint64_t>(p + n - 8) >> ((16 - n) * 8);
    } else if (n >= 4) {
        low = load<std::uint32_t>(p) | std::uint64_t(load<std::uint32_t>(p + n - 4))
                                           << ((n - 4) * 8);
    } else if (n > 0) {
        low = std::uint64_t(std::uint8_t(p[0])) |
              std::uint64_t(std::uint8_t(p[n / 2])) << (n / 2 * 8) |
              std::uint64_t(std::uint8_t(p[n - 1])) << ((n - 1) * 8);
    }
}

// The same verdict for a value of at most 16 bytes, from masks of its digits, zeros and dot:
// the lengths of the parts vary too much from one value to the next for branches to be guessed.
Verdict checkShort(QByteArrayView value, int limit)
{
    std::uint64_t low, high;
    loadShort(value.data(), value.size(), low, high);
    const __m128i x = _mm_set_epi64x(qint64(high), qint64(low));
    const auto byte = [&](int i) { return char((i < 8 ? low : high) >> (i % 8 * 8)); };
    const __m128i offset = _mm_sub_epi8(x, _mm_set1_epi8('0'));
    const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(9)), offset);
    const unsigned used = (1u << value.size()) - 1;
    const unsigned digits = unsigned(_mm_movemask_epi8(isDigit)) & used;
    const unsigned zeros = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(x, _mm_set1_epi8('0'))));
    const unsigned dots = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(x, _mm_set1_epi8('.')))) & used;
    const unsigned sign = byte(0) == '+' || byte(0) == '-' ? 1u : 0u;
    if ((digits | dots | sign) != used || (dots & (dots - 1)) != 0 || digits == 0)
        return Verdict::NotDecimal;
    const unsigned wholeDigits = digits & (dots ? dots - 1 : used);
    const unsigned significant = wholeDigits & ~zeros; // from the first digit other than 0
    const int first = std::countr_zero(significant | (1u << 16));
    const unsigned counted = significant ? wholeDigits >> first : 0;
    if (counted >= 8)
        return Verdict::OutOfRange; // four digits or more
    const int a = byte(first & 15) - '0';
    const int b = byte((first + 1) & 15) - '0';
    const int c = byte((first + 2) & 15) - '0';
    const int whole = counted == 7   ? a * 100 + b * 10 + c
                      : counted == 3 ? a * 10 + b
                      : counted == 1 ? a
                                     : 0;
    const bool fraction = (digits & ~wholeDigits & ~zeros) != 0;
    if (whole > limit || (whole == limit && fraction))
        return Verdict::OutOfRange;
    return Verdict::Valid;
}

} // namespace
#endif

Verdict check(QByteArrayView value, int limit)
{
#if GEOFILL_SSE2
    if (value.size() <= 16)
        return checkShort(value, limit);
#endif
    const qsizetype n = value.size();
    qsizetype i = n > 0 && (value[0] == '+' || value[0] == '-') ? 1 : 0;
    // The whole part is compared on its digits after any leading zeros: exact, no float parse.
    qsizetype digits = 0;
    int significant = 0;
    long whole = 0;
    for (; i < n && isDigit(value[i]); ++i, ++digits) {
        if (significant > 0 || value[i] != '0') {
            ++significant;
            whole = significant > 4 ? whole : whole * 10 + (value[i] - '0');
        }
    }
    bool fraction = false; // a fraction digit other than 0
    if (i < n && value[i] == '.') {
        for (++i; i < n && isDigit(value[i]); ++i, ++digits)
            fraction = fraction || value[i] != '0';
    }
    if (i != n || digits == 0)
        return Verdict::NotDecimal;
    if (significant > 4 || whole > limit || (whole == limit && fraction))
        return Verdict::OutOfRange;
    return Verdict::Valid;
}

Outcome<> checkAttribute(const char* attribute, bool present, QByteArrayView value, int limit)
{
    const auto refused = [](const QString& message) { return Problem{message, {}, 0}; };
    if (!present)
        return refused(QCoreApplication::translate("Coordinates", "Waypoint skipped: it has no %1 attribute.").arg(attribute));
    const Verdict verdict = check(value, limit);
    if (verdict == Verdict::Valid)
        return {};
    const QString text = QString::fromUtf8(value.data(), value.size());
    if (verdict == Verdict::NotDecimal)
        return refused(QCoreApplication::translate("Coordinates", "Waypoint skipped: its %1 \"%2\" is not a decimal number.")
                           .arg(attribute, text));
    return refused(QCoreApplication::translate("Coordinates", "Waypoint skipped: its %1 %2 is out of range (-%3 to %3).")
                       .arg(attribute, text)
                       .arg(limit));
}

double value(QByteArrayView checked)
{
    // from_chars takes no plus sign, which the checks allow.
    if (checked.startsWith('+'))
        checked = checked.sliced(1);
    double read = 0;
    std::from_chars(checked.data(), checked.data() + checked.size(), read);
    return read;
}

} // namespace coordinates
