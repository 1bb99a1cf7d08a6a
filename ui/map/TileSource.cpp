// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileSource.h"

#include "TileSettings.h"
#include "Version.h"

#include <QBuffer>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QSet>
#include <QStandardPaths>
#include <QTimer>

const QString TileSource::kOpenStreetMapAttribution =
    QStringLiteral("© OpenStreetMap contributors");

namespace {

// Every source of the program, all on the window's thread: the limit of requests at a time
// holds for the program, whichever of its maps asks.
QList<TileSource*>& allSources()
{
    static QList<TileSource*> sources;
    return sources;
}

int inFlightEverywhere()
{
    int requests = 0;
    for (const TileSource* source : std::as_const(allSources()))
        requests += source->inFlight();
    return requests;
}

} // namespace

TileSource::TileSource(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)),
      m_cache(new QNetworkDiskCache(this))
{
    m_cache->setCacheDirectory(defaultCacheFolder());
    m_cache->setMaximumCacheSize(kCacheBytes);
    m_network->setCache(m_cache);
    allSources().append(this);
}

TileSource::~TileSource()
{
    // An aborted reply reports at once; nothing of this object may hear it any more.
    stopAll();
    allSources().removeOne(this);
}

QByteArray TileSource::userAgent()
{
    return QByteArrayLiteral("Geofill/" GEOFILL_VERSION);
}

QString TileSource::defaultCacheFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/tiles");
}

Outcome<> TileSource::configure(const TileSettings& settings)
{
    const Outcome<TileUrlTemplate> parsed = TileUrlTemplate::parse(settings.urlTemplate);
    if (!parsed) {
        setEnabled(false);
        return parsed;
    }
    setUrlTemplate(*parsed);
    setAttribution(settings.shownAttribution());
    setEnabled(settings.tilesOn);
    return {};
}

void TileSource::setUrlTemplate(const TileUrlTemplate& urlTemplate)
{
    if (urlTemplate.text() == m_template.text())
        return;
    stopAll();
    m_template = urlTemplate;
}

void TileSource::setCacheFolder(const QString& folder)
{
    m_cache->setCacheDirectory(folder);
}

QString TileSource::cacheFolder() const
{
    return m_cache->cacheDirectory();
}

void TileSource::setEnabled(bool on)
{
    if (!on)
        stopAll();
    m_enabled = on;
}

void TileSource::setWanted(const QList<Tile>& tiles)
{
    if (!m_enabled)
        return;
    QSet<Tile> underWay;
    for (const Request& request : std::as_const(m_inFlight))
        underWay.insert(request.tile);
    m_waiting.clear();
    QSet<Tile> seen;
    for (const Tile& tile : tiles) {
        if (tile.isValid() && !underWay.contains(tile) && !seen.contains(tile)) {
            seen.insert(tile);
            m_waiting.append(tile);
        }
    }
    startWaiting();
}

void TileSource::startWaiting()
{
    while (inFlightEverywhere() < kMaxInFlight && !m_waiting.isEmpty())
        start(m_waiting.takeFirst());
}

void TileSource::startWaitingEverywhere()
{
    for (TileSource* source : std::as_const(allSources()))
        source->startWaiting();
}

void TileSource::start(const Tile& tile)
{
    QNetworkRequest request(m_template.urlFor(tile));
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    // A tile in the cache is shown from there, however old; tile servers ask for exactly that.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
    QNetworkReply* reply = m_network->get(request);

    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, [this, reply] {
        finish(reply,
               tr("The tile server did not answer within %1 seconds.").arg(m_timeoutMs / 1000.0));
    });
    connect(reply, &QNetworkReply::downloadProgress, this, [this, reply](qint64 received) {
        if (received > kMaxTileBytes)
            finish(reply, tr("The tile server sent more than %1 KiB for one tile.")
                              .arg(kMaxTileBytes / 1024));
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply, {}); });
    m_inFlight.insert(reply, Request{tile, deadline});
    deadline->start(m_timeoutMs);
}

void TileSource::finish(QNetworkReply* reply, const QString& failure)
{
    const auto found = m_inFlight.constFind(reply);
    if (found == m_inFlight.cend())
        return;
    const Request request = *found;
    m_inFlight.erase(found);
    request.deadline->stop();
    disconnect(reply, nullptr, this, nullptr);

    QImage image;
    QString reason = failure;
    if (reason.isEmpty())
        reason = readImage(reply, request.tile, image);
    else
        reply->abort();
    reply->deleteLater();
    startWaitingEverywhere();
    if (reason.isEmpty())
        emit tileReady(request.tile, image);
    else
        emit tileFailed(request.tile, reason);
}

QString TileSource::readImage(QNetworkReply* reply, const Tile& tile, QImage& image) const
{
    const QString name = tile.toString();
    if (reply->error() != QNetworkReply::NoError)
        return Problem{tr("The tile %1 could not be fetched.").arg(name), reply->errorString(), 0}
            .text();
    const QByteArray bytes = reply->read(kMaxTileBytes + 1);
    if (bytes.size() > kMaxTileBytes)
        return tr("The tile server sent more than %1 KiB for one tile.").arg(kMaxTileBytes / 1024);
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.width() > kMaxTileSide || size.height() > kMaxTileSide)
        return tr("The tile %1 is %2×%3 pixels, larger than a map tile can be.")
            .arg(name)
            .arg(size.width())
            .arg(size.height());
    if (!reader.read(&image))
        return Problem{tr("The tile %1 is not a picture.").arg(name), reader.errorString(), 0}
            .text();
    return {};
}

void TileSource::stopAll()
{
    m_waiting.clear();
    const auto replies = m_inFlight.keys();
    m_inFlight.clear();
    for (QNetworkReply* reply : replies) {
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
        reply->deleteLater();
    }
    startWaitingEverywhere();
}
