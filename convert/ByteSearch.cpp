#include "ByteSearch.h"

#if GEOFILL_SSE2

const char* findLetterSpecialPadded(const char* p, const char* end)
{
    const auto below = [](__m128i x, int limit) {
        return _mm_cmplt_epi8(x, _mm_set1_epi8(char(limit)));
    };
    const auto above = [](__m128i x, int limit) {
        return _mm_cmpgt_epi8(x, _mm_set1_epi8(char(limit)));
    };
    const auto is = [](__m128i x, int byte) {
        return _mm_cmpeq_epi8(x, _mm_set1_epi8(char(byte)));
    };
    const auto bits = [](__m128i mask) { return unsigned(_mm_movemask_epi8(mask)); };
    while (p < end) {
        const unsigned inRange = end - p >= 16 ? 0xFFFF : (1u << (end - p)) - 1;
        const unsigned special = textSpecialMask16(p) & inRange;
        if (special == 0) {
            p += 16;
            continue;
        }
        // Letters, from masks of their bytes (as signed bytes): continuations 0x80..0xBF are
        // below -64, leads 0xC2..0xDF from -62 to -33, leads 0xE0..0xEF from -32 to -17.
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned cont = bits(below(x, -64)) & inRange;
        const unsigned lead2 = bits(_mm_and_si128(above(x, -63), below(x, -32)));
        const unsigned lead3 = bits(_mm_and_si128(above(x, -33), below(x, -16)));
        const unsigned lowSecond = bits(below(x, -96)) >> 1;          // next byte 0x80..0x9F
        const unsigned maxSecond = bits(is(x, -65)) >> 1;             // next byte 0xBF
        const unsigned highThird = (bits(above(x, -67)) & cont) >> 2; // third byte 0xBE..0xBF
        const unsigned refused = (bits(is(x, -32)) & lowSecond) |     // E0 80..9F: too long
                                 (bits(is(x, -19)) & ~lowSecond) |    // ED A0..BF: surrogate
                                 (bits(is(x, -17)) & maxSecond & highThird); // U+FFFE, U+FFFF
        const unsigned good2 = lead2 & (cont >> 1);
        const unsigned good3 = lead3 & (cont >> 1) & (cont >> 2) & ~refused;
        const unsigned good = good2 | good3 | (good2 | good3) << 1 | good3 << 2;
        const unsigned bad = special & ~good;
        if (bad == 0) {
            p += 16;
            continue;
        }
        // A letter that runs on past these sixteen bytes is looked at from its lead.
        const int at = std::countr_zero(bad);
        const int length = (lead3 >> at) & 1 ? 3 : (lead2 >> at) & 1 ? 2 : 0;
        if (at + length <= 16)
            return p + at;
        p += at;
    }
    return end;
}

#endif
