// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileUrlTemplate.h"

#include <QDir>
#include <QRegularExpression>

const QString TileUrlTemplate::kOpenStreetMap =
    QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png");

namespace {

const QStringList kPlaceholders{QStringLiteral("z"), QStringLiteral("x"), QStringLiteral("y"),
                                QStringLiteral("s")};

// Everything between braces, and any brace left alone.
const QRegularExpression kBraced(QStringLiteral("\\{([^{}]*)\\}|[{}]"));

} // namespace

Outcome<TileUrlTemplate> TileUrlTemplate::parse(const QString& text)
{
    TileUrlTemplate parsed;
    parsed.m_text = text.trimmed();
    const QString& shown = parsed.m_text;
    if (shown.isEmpty())
        return Problem{tr("The tile address is empty."), {}, 0};

    QStringList found;
    for (auto it = kBraced.globalMatch(shown); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(1);
        if (!match.hasCaptured(1) || !kPlaceholders.contains(name))
            return Problem{tr("The tile address %1 has %2 where it may only have {z}, {x}, {y} "
                              "and {s}.")
                               .arg(shown, match.captured(0)),
                           {},
                           0};
        found.append(name);
    }
    for (const QString& needed : {QStringLiteral("z"), QStringLiteral("x"), QStringLiteral("y")}) {
        if (!found.contains(needed))
            return Problem{tr("The tile address %1 lacks {%2}, so it would name the same "
                              "picture for different tiles.")
                               .arg(shown, needed),
                           {},
                           0};
    }
    const QUrl sample = parsed.urlFor(Tile{});
    const QString scheme = sample.scheme().toLower();
    if (!sample.isValid() || scheme.isEmpty())
        return Problem{tr("The tile address %1 is not a complete address such as %2.")
                           .arg(shown, kOpenStreetMap),
                       sample.errorString(), 0};
    if (scheme == QLatin1String("file")) {
        if (!sample.isLocalFile() || !QDir::isAbsolutePath(sample.toLocalFile()))
            return Problem{tr("The tile address %1 does not name a folder on this computer by "
                              "its full path.")
                               .arg(shown),
                           {},
                           0};
    } else if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        return Problem{tr("The tile address %1 starts with %2:, but tiles can only be read "
                          "from http:, https: or file: addresses.")
                           .arg(shown, sample.scheme()),
                       {},
                       0};
    } else if (sample.host().isEmpty()) {
        return Problem{tr("The tile address %1 names no server.").arg(shown), {}, 0};
    }
    return parsed;
}

TileUrlTemplate TileUrlTemplate::openStreetMap()
{
    TileUrlTemplate osm;
    osm.m_text = kOpenStreetMap;
    return osm;
}

QUrl TileUrlTemplate::urlFor(const Tile& tile) const
{
    QString url = m_text;
    url.replace(QLatin1String("{z}"), QString::number(tile.zoom));
    url.replace(QLatin1String("{x}"), QString::number(tile.x));
    url.replace(QLatin1String("{y}"), QString::number(tile.y));
    // Neighbouring tiles go to different subdomains, the same tile always to the same one,
    // so that it is cached once.
    url.replace(QLatin1String("{s}"),
                QString(QChar(char16_t(u'a' + (qint64(tile.x) + tile.y) % 3))));
    return QUrl(url);
}
