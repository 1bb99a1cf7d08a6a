// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

// The scanner's and the statement writer's inner loops: find the next byte of interest, mark
// bytes in words, pass over plain text. Each has a portable twin that every build compiles; where
// the build allows vector code (the GEOFILL_VECTOR option) and SSE2 is there, sixteen bytes go
// at a time.
#if GEOFILL_VECTOR && defined(__SSE2__)
#define GEOFILL_SSE2 1
#include <emmintrin.h>
#else
#define GEOFILL_SSE2 0
#endif

// The set bits of `bits`. Without the processor's own count, the library's is a call; this
// stays inline.
inline int countBits(std::uint64_t bits)
{
#if defined(__POPCNT__)
    return std::popcount(bits);
#else
    bits -= (bits >> 1) & 0x5555555555555555ULL;
    bits = (bits & 0x3333333333333333ULL) + ((bits >> 2) & 0x3333333333333333ULL);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return int((bits * 0x0101010101010101ULL) >> 56);
#endif
}

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

// Bit i set when byte p[i] is one of Cs, for the 16 or 64 bytes from p.
template <char... Cs> inline unsigned matchMask16(const char* p)
{
    unsigned mask = 0;
    for (int i = 0; i < 16; ++i)
        mask |= unsigned(((p[i] == Cs) || ...)) << i;
    return mask;
}

template <char... Cs> inline std::uint64_t matchMask64(const char* p)
{
    std::uint64_t mask = 0;
    for (int i = 0; i < 64; ++i)
        mask |= std::uint64_t(((p[i] == Cs) || ...)) << i;
    return mask;
}

// The length of the letter at p when it is a whole UTF-8 letter of two or three bytes that
// GPX text allows (not a surrogate, U+FFFE or U+FFFF, nor written longer than needed), or 0.
inline int simpleLetterLength(const char* p, const char* end)
{
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(p[i]); };
    const auto isContinuation = [&](qsizetype i) { return p + i < end && (at(i) & 0xC0) == 0x80; };
    const unsigned char lead = at(0);
    if (lead >= 0xC2 && lead <= 0xDF)
        return isContinuation(1) ? 2 : 0;
    if (lead < 0xE0 || lead > 0xEF || !isContinuation(1) || !isContinuation(2))
        return 0;
    if ((lead == 0xE0 && at(1) < 0xA0) || (lead == 0xED && at(1) >= 0xA0) ||
        (lead == 0xEF && at(1) == 0xBF && at(2) >= 0xBE))
        return 0;
    return 3;
}

// The first byte in [p, end) that a value's text must look at: a control, '&', or a byte from
// 0x80 that does not begin a simpleLetterLength() letter. Text before it needs no check.
inline const char* findTextSpecialPadded(const char* p, const char* end)
{
    while (p < end) {
        const auto b = static_cast<unsigned char>(*p);
        if (b >= 0x20 && b < 0x80 && b != '&') {
            ++p;
        } else if (const int length = b >= 0x80 ? simpleLetterLength(p, end) : 0) {
            p += length;
        } else {
            return p;
        }
    }
    return end;
}

// Past the 16-byte blocks from p on that hold only printable ASCII, tab, LF, CR and whole
// letters that simpleLetterLength() takes: text that needs no closer look. It may stop early,
// never late.
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

// Bit i set when byte i of `x` belongs to a letter that simpleLetterLength() takes, lying
// whole within the bytes of `inRange`. As signed bytes, continuations 0x80..0xBF are below
// -64, leads 0xC2..0xDF from -62 to -33, leads 0xE0..0xEF from -32 to -17.
inline unsigned letterMask16(__m128i x, unsigned inRange)
{
    const auto below = [&](int limit) { return _mm_cmplt_epi8(x, _mm_set1_epi8(char(limit))); };
    const auto above = [&](int limit) { return _mm_cmpgt_epi8(x, _mm_set1_epi8(char(limit))); };
    const auto is = [&](int byte) { return _mm_cmpeq_epi8(x, _mm_set1_epi8(char(byte))); };
    const auto bits = [](__m128i mask) { return unsigned(_mm_movemask_epi8(mask)); };
    const unsigned cont = bits(below(-64)) & inRange;
    const unsigned lead2 = bits(_mm_and_si128(above(-63), below(-32)));
    const unsigned lead3 = bits(_mm_and_si128(above(-33), below(-16)));
    const unsigned lowSecond = bits(below(-96)) >> 1;                 // next byte 0x80..0x9F
    const unsigned maxSecond = bits(is(-65)) >> 1;                    // next byte 0xBF
    const unsigned highThird = (bits(above(-67)) & cont) >> 2;        // third byte 0xBE..0xBF
    const unsigned refused = (bits(is(-32)) & lowSecond) |            // E0 80..9F: too long
                             (bits(is(-19)) & ~lowSecond) |           // ED A0..BF: surrogate
                             (bits(is(-17)) & maxSecond & highThird); // U+FFFE, U+FFFF
    const unsigned good2 = lead2 & (cont >> 1);
    const unsigned good3 = lead3 & (cont >> 1) & (cont >> 2) & ~refused;
    return good2 | good3 | (good2 | good3) << 1 | good3 << 2;
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

inline const char* skipSimpleUtf8(const char* p, const char* end)
{
    while (end - p >= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        // Printable ASCII is above 0x1F as a signed byte.
        const __m128i plain = _mm_or_si128(_mm_or_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(0x1F)),
                                                        _mm_cmpeq_epi8(x, _mm_set1_epi8('\t'))),
                                           _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('\n')),
                                                        _mm_cmpeq_epi8(x, _mm_set1_epi8('\r'))));
        if ((unsigned(_mm_movemask_epi8(plain)) | letterMask16(x, 0xFFFF)) != 0xFFFF)
            return p;
        p += 16;
    }
    return p;
}

// Searches in a range followed by at least 16 readable bytes: short ranges need no scalar
// tail.
template <char... Cs> inline const char* findAnyPadded(const char* p, const char* end)
{
    for (; p < end; p += 16) {
        if (const unsigned mask = matchMask16<Cs...>(p))
            return std::min(p + std::countr_zero(mask), end);
    }
    return end;
}

// findTextSpecialPadded from a byte from 0x80 on, out of line: plain text stays quick.
const char* findLetterSpecialPadded(const char* p, const char* end);

inline const char* findTextSpecialPadded(const char* p, const char* end)
{
    for (; p < end; p += 16) {
        if (const unsigned mask = textSpecialMask16(p)) {
            const char* special = std::min(p + std::countr_zero(mask), end);
            if (special == end || static_cast<unsigned char>(*special) < 0x80)
                return special;
            return findLetterSpecialPadded(special, end);
        }
    }
    return end;
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

template <char... Cs> inline unsigned matchMask16(const char* p)
{
    return portable::matchMask16<Cs...>(p);
}

template <char... Cs> inline std::uint64_t matchMask64(const char* p)
{
    return portable::matchMask64<Cs...>(p);
}

inline const char* skipPlainAscii(const char* p, const char* end)
{
    return portable::skipPlainAscii(p, end);
}

inline const char* findTextSpecialPadded(const char* p, const char* end)
{
    return portable::findTextSpecialPadded(p, end);
}

template <char... Cs> inline const char* findAnyPadded(const char* p, const char* end)
{
    return portable::findAny<Cs...>(p, end);
}

inline const char* skipSimpleUtf8(const char* p, const char* end)
{
    return portable::skipSimpleUtf8(p, end);
}

#endif
