// SPDX-License-Identifier: GPL-3.0-or-later
#include "TabChain.h"

#include <QWidget>

#include <algorithm>
#include <vector>

QWidget* chainTabStops(QWidget* window)
{
    std::vector<std::pair<int, QWidget*>> stops;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const QVariant index = control->property("tabIndex");
        if (index.isValid())
            stops.emplace_back(index.toInt(), control);
    }
    std::sort(stops.begin(), stops.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1].second, stops[i].second);
    return stops.empty() ? nullptr : stops.front().second;
}
