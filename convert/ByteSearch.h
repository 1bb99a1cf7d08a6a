#pragma once

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The first byte in [p, end) that is one of Cs, or end. Sixteen bytes at a time where SSE2
// is there: the scanner's inner loops run on this, and most distances are short.
template <char... Cs> inline const char* findAny(const char* p, const char* end)
{
#if defined(__SSE2__)
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hit = _mm_setzero_si128();
        ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(Cs)))), ...);
        if (const unsigned mask = unsigned(_mm_movemask_epi8(hit)))
            return p + std::countr_zero(mask);
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        if (((*p == Cs) || ...))
            return p;
    }
    return end;
}
