#pragma once

#include <QtGlobal>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

// The scanner's and the statement writer's inner loops: find the next byte of interest, count
// line breaks. Each has a portable twin that every build compiles; where the build allows
// vector code (the GEOFILL_VECTOR option) and SSE2 is there, sixteen bytes go at a time.
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

// Adds the line feeds and carriage returns in [p, end) to *lf and *cr, eight bytes at a time.
inline void countBreaks(const char* p, const char* end, qint64* lf, qint64* cr)
{
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        *lf += countByte(word, '\n');
        *cr += countByte(word, '\r');
    }
    for (; p < end; ++p) {
        *lf += *p == '\n';
        *cr += *p == '\r';
    }
}

} // namespace portable

#if GEOFILL_SSE2

template <char... Cs> inline const char* findAny(const char* p, const char* end)
{
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hit = _mm_setzero_si128();
        ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(Cs)))), ...);
        if (const unsigned mask = unsigned(_mm_movemask_epi8(hit)))
            return p + std::countr_zero(mask);
        p += 16;
    }
    return portable::findAny<Cs...>(p, end);
}

inline void countBreaks(const char* p, const char* end, qint64* lf, qint64* cr)
{
    const __m128i nl = _mm_set1_epi8('\n');
    const __m128i ret = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= 16) {
        // Byte counters overflow after 255 rounds; fold them into the totals before that.
        __m128i lfCount = zero;
        __m128i crCount = zero;
        const char* stop = p + std::min<qsizetype>((end - p) / 16, 255) * 16;
        for (; p < stop; p += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            lfCount = _mm_sub_epi8(lfCount, _mm_cmpeq_epi8(bytes, nl));
            crCount = _mm_sub_epi8(crCount, _mm_cmpeq_epi8(bytes, ret));
        }
        const __m128i lfSum = _mm_sad_epu8(lfCount, zero);
        const __m128i crSum = _mm_sad_epu8(crCount, zero);
        *lf += _mm_cvtsi128_si64(lfSum) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(lfSum, lfSum));
        *cr += _mm_cvtsi128_si64(crSum) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(crSum, crSum));
    }
    portable::countBreaks(p, end, lf, cr);
}

#else

template <char... Cs> inline const char* findAny(const char* p, const char* end)
{
    return portable::findAny<Cs...>(p, end);
}

inline void countBreaks(const char* p, const char* end, qint64* lf, qint64* cr)
{
    portable::countBreaks(p, end, lf, cr);
}

#endif
