// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileSettings.h"

#include "TileSource.h"
#include "TileUrlTemplate.h"

#include <QSettings>

namespace {

const QString kUrlTemplate = QStringLiteral("map/tileUrlTemplate");
const QString kAttribution = QStringLiteral("map/tileAttribution");
const QString kTilesOn = QStringLiteral("map/tilesOn");

} // namespace

TileSettings::TileSettings()
    : urlTemplate(TileUrlTemplate::kOpenStreetMap),
      attribution(TileSource::kOpenStreetMapAttribution)
{
}

TileSettings TileSettings::load()
{
    const QSettings settings;
    const TileSettings defaults;
    TileSettings kept;
    kept.urlTemplate = settings.value(kUrlTemplate, defaults.urlTemplate).toString();
    kept.attribution = settings.value(kAttribution, defaults.attribution).toString();
    kept.tilesOn = settings.value(kTilesOn, defaults.tilesOn).toBool();
    return kept;
}

void TileSettings::save() const
{
    QSettings settings;
    settings.setValue(kUrlTemplate, urlTemplate);
    settings.setValue(kAttribution, attribution);
    settings.setValue(kTilesOn, tilesOn);
}

QString TileSettings::shownAttribution() const
{
    if (urlTemplate.trimmed() == TileUrlTemplate::kOpenStreetMap)
        return TileSource::kOpenStreetMapAttribution;
    return attribution;
}
