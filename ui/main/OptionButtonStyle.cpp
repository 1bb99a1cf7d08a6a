// SPDX-License-Identifier: GPL-3.0-or-later
#include "OptionButtonStyle.h"

#include <algorithm>

int OptionButtonStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                   const QWidget* widget) const
{
    const int value = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric == PM_RadioButtonLabelSpacing)
        return std::min(value, kLabelSpacing);
    return value;
}
