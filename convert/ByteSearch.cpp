// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteSearch.h"

#if GEOFILL_SSE2

const char* findLetterSpecialPadded(const char* p, const char* end)
{
    while (p < end) {
        const unsigned inRange = end - p >= 16 ? 0xFFFF : (1u << (end - p)) - 1;
        unsigned bad = textSpecialMask16(p) & inRange;
        if (bad != 0)
            bad &= ~letterMask16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), inRange);
        if (bad == 0) {
            p += 16;
            continue;
        }
        // A letter that runs on past these sixteen bytes is looked at from its lead.
        const int at = std::countr_zero(bad);
        const auto lead = static_cast<unsigned char>(p[at]);
        const int length = lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
        if (at + length <= 16)
            return p + at;
        p += at;
    }
    return end;
}

#endif
