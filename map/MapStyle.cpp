// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapStyle.h"

#include <array>

namespace MapStyle {

QColor pointColour(int index)
{
    // Strong colours told apart by most eyes, none close to the background's.
    static constexpr std::array<QRgb, 10> kPalette{0xd62728, 0x1f4fb4, 0x2ca02c, 0xff7f0e,
                                                   0x9467bd, 0x8c564b, 0xe377c2, 0x17becf,
                                                   0x7f7f00, 0x202020};
    const int slot = index % int(kPalette.size());
    return QColor::fromRgb(kPalette[size_t(slot < 0 ? slot + int(kPalette.size()) : slot)]);
}

} // namespace MapStyle
