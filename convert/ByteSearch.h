#pragma once

#include <QtGlobal>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

// The scanner's and the statement writer's inner loops: find the next byte of interest, count
// line breaks, pass over plain text. Each has a portable twin that every build compiles; where
// the build allows vector code (the GEOFILL_VECTOR option) and SSE2 is there, sixteen bytes go
// at a time.
#if GEOFILL_VECTOR && defined(__SSE2__)
#define GEOFILL_SSE2 1
#include <emmintrin.h>
#else
#define GEOFILL_SSE2 0
#endif

namespace portable {

// The first byte in [p, end) that is one of Cs, or end.
template <char... Cs> inline const char* findAny(const char* p, const char* end)
{
    for (; p < end; ++p) {
        if (((*p == Cs) || ...))
            return p;
    }
    return end;
}

// Bytes equal to `byte` among the eight of `word`.
inline int countByte(std::uint64_t word, std::uint64_t byte)
{
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t x = word ^ (byte * 0x0101010101010101ULL);
    const std::uint64_t zero = ~(((x & low7) + low7) | x | low7);
    return int(((zero >> 7) * 0x0101010101010101ULL) >> 56);
}

// Line breaks in [p, end): each LF, and each CR not followed by an LF inside the range (a CR
// LF is one break; a CR in the last byte counts, its LF is the caller's to skip).
inline qint64 countLineBreaks(const char* p, const char* end)
{
    qint64 lf = 0;
    qint64 cr = 0;
    const char* q = p;
    for (; end - q >= 8; q += 8) {
        std::uint64_t word;
        std::memcpy(&word, q, 8);
        lf += countByte(word, '\n');
        cr += countByte(word, '\r');
    }
    for (; q < end; ++q) {
        lf += *q == '\n';
        cr += *q == '\r';
    }
    if (cr == 0)
        return lf;
    // CRs are rare enough for a plain loop when there are any.
    qint64 lines = 0;
    for (; p < end; ++p)
        lines += *p == '\n' || (*p == '\r' && (p + 1 == end || p[1] != '\n'));
    return lines;
}

// The LFs in [p, end), or -1 when there is a CR among them (countLineBreaks then counts).
inline qint64 countLineFeeds(const char* p, const char* end)
{
    qint64 lf = 0;
    bool cr = false;
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        lf += countByte(word, '\n');
        cr = cr || countByte(word, '\r') != 0;
    }
    for (; p < end; ++p) {
        lf += *p == '\n';
        cr = cr || *p == '\r';
    }
    return cr ? -1 : lf;
}

// The first byte in [p, end) that is not printable ASCII (below 0x20 or from 0x80), or end.
inline const char* skipPlainAscii(const char* p, const char* end)
{
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if ((((word - ones * 0x20) & ~word) | word) & (ones * 0x80))
            break;
    }
    for (; p < end; ++p) {
        const auto b = static_cast<unsigned char>(*p);
        if (b < 0x20 || b >= 0x80)
            return p;
    }
    return end;
}

// Bit i set when byte p[i] is one of Cs, for the 64 bytes from p.
template <char... Cs> inline std::uint64_t matchMask64(const char* p)
{
    std::uint64_t mask = 0;
    for (int i = 0; i < 64; ++i)
        mask |= std::uint64_t(((p[i] == Cs) || ...)) << i;
    return mask;
}

// The first byte in [p, end) that a value's text must look at: not printable ASCII, or '&'.
inline const char* findTextSpecial(const char* p, const char* end)
{
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        const std::uint64_t amp = word ^ (ones * '&');
        if (((((word - ones * 0x20) & ~word) | word) | ((amp - ones) & ~amp)) & (ones * 0x80))
            break;
    }
    for (; p < end; ++p) {
        const auto b = static_cast<unsigned char>(*p);
        if (b < 0x20 || b >= 0x80 || b == '&')
            return p;
    }
    return end;
}

// Past the 16-byte blocks from p on that hold only printable ASCII, tab, LF, CR and whole
// two-byte UTF-8 letters: text that needs no closer look. It may stop early, never late.
inline const char* skipSimpleUtf8(const char* p, const char*)
{
    return p; // the vector code's shortcut; without it every byte is looked at
}

} // namespace portable

#if GEOFILL_SSE2

// Bit i set when byte p[i] is one of Cs, for the 16 bytes from p.
template <char... Cs> inline unsigned matchMask16(const char* p)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hit = _mm_setzero_si128();
    ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(Cs)))), ...);
    return unsigned(_mm_movemask_epi8(hit));
}

// Bit i set when byte p[i] is a control, a byte from 0x80 (both below 0x20 as signed bytes)
// or '&', for the 16 bytes from p.
inline unsigned textSpecialMask16(const char* p)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmplt_epi8(bytes, _mm_set1_epi8(0x20)),
                                                   _mm_cmpeq_epi8(bytes, _mm_set1_epi8('&')))));
}

template <char... Cs> inline const char* findAny(const char* p, const char* end)
{
    while (end - p >= 16) {
        if (const unsigned mask = matchMask16<Cs...>(p))
            return p + std::countr_zero(mask);
        p += 16;
    }
    return portable::findAny<Cs...>(p, end);
}

template <char... Cs> inline std::uint64_t matchMask64(const char* p)
{
    // Written out: a loop here is left rolled, at twice the cost.
    return std::uint64_t(matchMask16<Cs...>(p)) | std::uint64_t(matchMask16<Cs...>(p + 16)) << 16 |
           std::uint64_t(matchMask16<Cs...>(p + 32)) << 32 |
           std::uint64_t(matchMask16<Cs...>(p + 48)) << 48;
}

inline qint64 countLineBreaks(const char* p, const char* end)
{
    const char* const begin = p;
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    qint64 lines = 0;
    // Each round also looks at the byte after its sixteen, so it needs seventeen.
    while (end - p > 16) {
        // Byte counters overflow after 255 rounds; fold them into the total before that.
        __m128i count = zero;
        const char* stop = p + std::min<qsizetype>((end - p - 1) / 16, 255) * 16;
        const auto breaks = [&](const char* at) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 1));
            const __m128i loneCr =
                _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(bytes, cr));
            return _mm_or_si128(_mm_cmpeq_epi8(bytes, lf), loneCr);
        };
        // Two vectors a round: the loop's own cost is half of it with one.
        for (; stop - p >= 32; p += 32)
            count = _mm_sub_epi8(_mm_sub_epi8(count, breaks(p)), breaks(p + 16));
        if (p < stop) {
            count = _mm_sub_epi8(count, breaks(p));
            p += 16;
        }
        const __m128i sum = _mm_sad_epu8(count, zero);
        lines += _mm_cvtsi128_si64(sum) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sum, sum));
    }
    if (p == end || end - begin < 16)
        return lines + portable::countLineBreaks(p, end);
    // The last bytes as the end of a full vector whose first lanes were counted already; a CR
    // in the last byte counts, as nothing in the range follows it.
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16));
    const __m128i next = _mm_srli_si128(bytes, 1);
    const __m128i loneCr = _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(bytes, cr));
    const unsigned breaks =
        unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), loneCr)));
    return lines + std::popcount(breaks >> (16 - (end - p)));
}

inline const char* skipSimpleUtf8(const char* p, const char* end)
{
    // As signed bytes: continuations 0x80..0xBF are below -64, two-byte leads 0xC2..0xDF are
    // from -62 to -33, printable ASCII is above 0x1F.
    while (end - p >= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i cont = _mm_cmplt_epi8(x, _mm_set1_epi8(-64));
        const __m128i lead = _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(-63)),
                                           _mm_cmplt_epi8(x, _mm_set1_epi8(-32)));
        const __m128i blank = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('\t')),
                                                        _mm_cmpeq_epi8(x, _mm_set1_epi8('\n'))),
                                           _mm_cmpeq_epi8(x, _mm_set1_epi8('\r')));
        const __m128i printable = _mm_cmpgt_epi8(x, _mm_set1_epi8(0x1F));
        const unsigned ok = unsigned(_mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(printable, blank), _mm_or_si128(lead, cont))));
        const unsigned leads = unsigned(_mm_movemask_epi8(lead));
        const unsigned conts = unsigned(_mm_movemask_epi8(cont));
        // Every continuation right after a lead, every lead followed within the block.
        if (ok != 0xFFFF || conts != ((leads << 1) & 0xFFFF) || (leads & 0x8000) != 0)
            return p;
        p += 16;
    }
    return p;
}

inline qint64 countLineFeeds(const char* p, const char* end)
{
    const char* const begin = p;
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    qint64 lines = 0;
    __m128i anyCr = zero;
    while (end - p >= 16) {
        // Byte counters overflow after 255 rounds; fold them into the total before that.
        __m128i count = zero;
        const char* stop = p + std::min<qsizetype>((end - p) / 16, 255) * 16;
        // Two vectors a round: the loop's own cost is half of it with one.
        for (; stop - p >= 32; p += 32) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
            count = _mm_sub_epi8(_mm_sub_epi8(count, _mm_cmpeq_epi8(a, lf)), _mm_cmpeq_epi8(b, lf));
            anyCr = _mm_or_si128(anyCr, _mm_or_si128(_mm_cmpeq_epi8(a, cr), _mm_cmpeq_epi8(b, cr)));
        }
        if (p < stop) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            count = _mm_sub_epi8(count, _mm_cmpeq_epi8(bytes, lf));
            anyCr = _mm_or_si128(anyCr, _mm_cmpeq_epi8(bytes, cr));
            p += 16;
        }
        const __m128i sum = _mm_sad_epu8(count, zero);
        lines += _mm_cvtsi128_si64(sum) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sum, sum));
    }
    qint64 rest = 0;
    if (p < end && end - begin >= 16) {
        // The last bytes as the end of a full vector whose first lanes were counted already.
        const int skip = 16 - int(end - p);
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16));
        rest = std::popcount(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf))) >> skip);
        if ((unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr))) >> skip) != 0)
            rest = -1;
    } else {
        rest = portable::countLineFeeds(p, end);
    }
    return _mm_movemask_epi8(anyCr) != 0 || rest < 0 ? -1 : lines + rest;
}

// findAny and findTextSpecial for a range followed by at least 16 readable bytes: short
// ranges need no scalar tail.
template <char... Cs> inline const char* findAnyPadded(const char* p, const char* end)
{
    for (; p < end; p += 16) {
        if (const unsigned mask = matchMask16<Cs...>(p))
            return std::min(p + std::countr_zero(mask), end);
    }
    return end;
}

inline const char* findTextSpecialPadded(const char* p, const char* end)
{
    for (; p < end; p += 16) {
        if (const unsigned mask = textSpecialMask16(p))
            return std::min(p + std::countr_zero(mask), end);
    }
    return end;
}

inline const char* findTextSpecial(const char* p, const char* end)
{
    while (end - p >= 16) {
        if (const unsigned mask = textSpecialMask16(p))
            return p + std::countr_zero(mask);
        p += 16;
    }
    return portable::findTextSpecial(p, end);
}

inline const char* skipPlainAscii(const char* p, const char* end)
{
    // As signed bytes, controls and everything from 0x80 are below 0x20.
    const __m128i space = _mm_set1_epi8(0x20);
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        if (const unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmplt_epi8(bytes, space))))
            return p + std::countr_zero(mask);
        p += 16;
    }
    return portable::skipPlainAscii(p, end);
}

#else

template <char... Cs> inline const char* findAny(const char* p, const char* end)
{
    return portable::findAny<Cs...>(p, end);
}

template <char... Cs> inline std::uint64_t matchMask64(const char* p)
{
    return portable::matchMask64<Cs...>(p);
}

inline qint64 countLineBreaks(const char* p, const char* end)
{
    return portable::countLineBreaks(p, end);
}

inline const char* skipPlainAscii(const char* p, const char* end)
{
    return portable::skipPlainAscii(p, end);
}

inline const char* findTextSpecial(const char* p, const char* end)
{
    return portable::findTextSpecial(p, end);
}

inline const char* findTextSpecialPadded(const char* p, const char* end)
{
    return portable::findTextSpecial(p, end);
}

template <char... Cs> inline const char* findAnyPadded(const char* p, const char* end)
{
    return portable::findAny<Cs...>(p, end);
}

inline qint64 countLineFeeds(const char* p, const char* end)
{
    return portable::countLineFeeds(p, end);
}

inline const char* skipSimpleUtf8(const char* p, const char* end)
{
    return portable::skipSimpleUtf8(p, end);
}

#endif
