// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Tile.h"
#include "TileUrlTemplate.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>

class QNetworkAccessManager;
class QNetworkDiskCache;
class QNetworkReply;
class QTimer;
struct TileSettings;

// Fetches map tiles the way public tile servers ask to be used: one connection manager that
// says who it is, a disk cache that answers before the server does, at most two requests at a
// time in the whole program, and only the tiles the map still wants. Every wanted tile ends in tileReady or
// tileFailed; the map draws its own outline wherever a tile failed or tiles are off.
class TileSource : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxInFlight = 2;
    static constexpr int kDefaultTimeoutMs = 20000;
    // A tile is a few dozen KB; anything far larger is not a tile.
    static constexpr qint64 kMaxTileBytes = 2 * 1024 * 1024;
    static constexpr int kMaxTileSide = 1024;
    static constexpr qint64 kCacheBytes = 200 * 1024 * 1024;
    static const QString kOpenStreetMapAttribution;

    explicit TileSource(QObject* parent = nullptr);
    ~TileSource() override;

    // "Geofill/VERSION", sent with every request.
    static QByteArray userAgent();
    // Where tiles are kept between runs unless told otherwise: the platform's cache folder.
    static QString defaultCacheFolder();

    // Takes the server, its attribution and the on/off switch from the settings. A template
    // that cannot be used turns tiles off and says why.
    Outcome<> configure(const TileSettings& settings);
    // A new server: what was asked of the old one is dropped.
    void setUrlTemplate(const TileUrlTemplate& urlTemplate);
    TileUrlTemplate urlTemplate() const { return m_template; }
    // The credit the map shows over the tiles.
    void setAttribution(const QString& text) { m_attribution = text; }
    QString attribution() const { return m_attribution; }
    void setCacheFolder(const QString& folder);
    QString cacheFolder() const;
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    int timeout() const { return m_timeoutMs; }
    // Off drops every wanted tile and stops what is under way; nothing is fetched until on.
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }

    // The tiles the map needs now and does not hold. Waiting tiles not in the list are
    // dropped; tiles under way are left to finish, since their answer is on its way into the
    // cache anyway.
    void setWanted(const QList<Tile>& tiles);
    int inFlight() const { return int(m_inFlight.size()); }
    int waiting() const { return int(m_waiting.size()); }

signals:
    void tileReady(const Tile& tile, const QImage& image);
    void tileFailed(const Tile& tile, const QString& reason);

private:
    void startWaiting();
    // A request ended somewhere: the program may start another, for whichever map waits.
    static void startWaitingEverywhere();
    void start(const Tile& tile);
    void finish(QNetworkReply* reply, const QString& failure);
    QString readImage(QNetworkReply* reply, const Tile& tile, QImage& image) const;
    void stopAll();

    QNetworkAccessManager* m_network;
    QNetworkDiskCache* m_cache;
    TileUrlTemplate m_template = TileUrlTemplate::openStreetMap();
    QString m_attribution = kOpenStreetMapAttribution;
    int m_timeoutMs = kDefaultTimeoutMs;
    bool m_enabled = true;
    struct Request
    {
        Tile tile;
        QTimer* deadline;
    };
    QList<Tile> m_waiting;
    QHash<QNetworkReply*, Request> m_inFlight;
};
