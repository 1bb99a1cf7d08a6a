// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorldOutline.h"

#include "WebMercator.h"

#include <QFile>
#include <QtEndian>

#include <cmath>

namespace {

constexpr char kMagic[] = "GFWO";
constexpr quint8 kVersion = 1;
constexpr quint8 kLand = 1;
constexpr quint8 kBorders = 2;
constexpr double kUnitsPerDegree = 100.0;

Problem damaged(const QString& what)
{
    return {QStringLiteral("The world outline cannot be read."), what, 0};
}

// Reads the little-endian numbers of the file, remembering whether it ran past the end.
class Reader
{
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_at == m_bytes.size(); }
    bool has(qint64 count) const { return count >= 0 && count <= m_bytes.size() - m_at; }
    template <typename T> T next()
    {
        if (!has(sizeof(T))) {
            m_short = true;
            m_at = m_bytes.size();
            return 0;
        }
        const T value = qFromLittleEndian<T>(m_bytes.data() + m_at);
        m_at += sizeof(T);
        return value;
    }
    bool cutShort() const { return m_short; }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    bool m_short = false;
};

} // namespace

Outcome<WorldOutline> WorldOutline::read(QByteArrayView bytes)
{
    if (!bytes.startsWith(QByteArrayView(kMagic, 4)))
        return damaged(QStringLiteral("It does not start as an outline file."));
    Reader reader(bytes.sliced(4));
    if (reader.next<quint8>() != kVersion)
        return damaged(QStringLiteral("Its version is not one this program knows."));
    WorldOutline outline;
    while (!reader.atEnd()) {
        const quint8 kind = reader.next<quint8>();
        if (kind != kLand && kind != kBorders)
            return damaged(QStringLiteral("It holds a layer of unknown kind %1.").arg(kind));
        QList<QPolygonF>& lines = kind == kLand ? outline.land : outline.borders;
        const quint32 count = reader.next<quint32>();
        for (quint32 i = 0; i < count && !reader.cutShort(); ++i) {
            const quint32 points = reader.next<quint32>();
            // Checked before anything is reserved, so that a damaged count costs nothing.
            if (!reader.has(qint64(points) * 4))
                return damaged(QStringLiteral("It is cut short."));
            QPolygonF line;
            line.reserve(points + 2);
            double previous = 0;
            for (quint32 p = 0; p < points; ++p) {
                double lon = reader.next<qint16>() / kUnitsPerDegree;
                const double lat = reader.next<qint16>() / kUnitsPerDegree;
                // The data is cut at the date line and names the cut -180 or 180 at will: a
                // line goes on across it (x beyond 0..1) instead of jumping round the world.
                if (p > 0)
                    lon += 360.0 * std::round((previous - lon) / 360.0);
                previous = lon;
                line << QPointF((lon + 180.0) / 360.0, WebMercator::project(lat, 0).y());
            }
            // Back into the world where it mostly lies, beside the lakes inside it.
            if (!line.isEmpty())
                line.translate(-std::floor(line.boundingRect().center().x()), 0);
            // A ring round the whole world (Antarctica) is closed through its pole.
            if (kind == kLand && !line.isEmpty() &&
                std::abs(line.last().x() - line.first().x()) > 0.999) {
                const double pole = line.first().y() > 0.5 ? 1.0 : 0.0;
                line << QPointF(line.last().x(), pole) << QPointF(line.first().x(), pole);
            }
            lines << line;
        }
        if (reader.cutShort())
            return damaged(QStringLiteral("It is cut short."));
    }
    return outline;
}

const WorldOutline& WorldOutline::builtIn()
{
    static const WorldOutline outline = [] {
        QFile file(QStringLiteral(":/map/world-110m.bin"));
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        Outcome<WorldOutline> read = WorldOutline::read(bytes);
        // The file is built into the program: without it the map is the sea and the graticule.
        return read ? std::move(read).value() : WorldOutline();
    }();
    return outline;
}
