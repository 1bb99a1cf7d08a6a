// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

// Option buttons with their caption close to the indicator, as the classic controls had it:
// the window's captions were measured for that gap, and some are cut off with a wider one.
class OptionButtonStyle : public QProxyStyle
{
    Q_OBJECT

public:
    static constexpr int kLabelSpacing = 3;

    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};
