// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The colours of the offline map: a quiet background under strong, distinct point colours.
namespace MapStyle {

inline const QColor kSea{0xc9, 0xdd, 0xee};
inline const QColor kBeyondPoles{0xe4, 0xe8, 0xec};
inline const QColor kLand{0xf2, 0xef, 0xe6};
inline const QColor kCoast{0x9f, 0xb4, 0xc7};
inline const QColor kBorder{0xbf, 0xb6, 0xa6};
inline const QColor kGraticule{0xaf, 0xc6, 0xdb};

// How much of a faint (disabled) point's colour shows over what lies under it.
inline constexpr double kFaintOpacity = 0.3;

// The colour of points of group `index`; the palette repeats after its ten colours.
QColor pointColour(int index);

} // namespace MapStyle
