// SPDX-License-Identifier: GPL-3.0-or-later
#include "GpxWriter.h"

#include "GpxScanner.h"
#include "OutputFile.h"

GpxWriter::GpxWriter(OutputFile& out) : m_out(out) {}

bool GpxWriter::put(const QByteArray& bytes)
{
    return m_out.write(bytes);
}

bool GpxWriter::begin()
{
    return put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<gpx version=\"1.1\" creator=\"Geofill\" "
               "xmlns=\"http://www.topografix.com/GPX/1/1\" xmlns:geofill=\"" +
               QByteArray(kCategoryNamespace) + "\">\n");
}

bool GpxWriter::writeCategories(const QList<GpxCategoryInfo>& categories)
{
    if (categories.isEmpty())
        return true;
    QString text = QStringLiteral("  <extensions>\n");
    for (const GpxCategoryInfo& c : categories) {
        text += QStringLiteral("    <geofill:category>\n      <geofill:label>%1</geofill:label>\n"
                               "      <geofill:desc>%2</geofill:desc>\n"
                               "      <geofill:enabled>%3</geofill:enabled>\n"
                               "    </geofill:category>\n")
                    .arg(escaped(c.label), escaped(c.desc), c.enabled ? u"1" : u"0");
    }
    text += QStringLiteral("  </extensions>\n");
    return put(text.toUtf8());
}

bool GpxWriter::write(const GpxPoint& p)
{
    QString text = QStringLiteral("  <wpt lat=\"%1\" lon=\"%2\">\n    <name>%3</name>\n")
                       .arg(escaped(p.lat), escaped(p.lon), escaped(p.name));
    if (!p.desc.isEmpty())
        text += QStringLiteral("    <desc>%1</desc>\n").arg(escaped(p.desc));
    if (!p.type.isEmpty())
        text += QStringLiteral("    <type>%1</type>\n").arg(escaped(p.type));
    text += QStringLiteral("  </wpt>\n");
    return put(text.toUtf8());
}

bool GpxWriter::end()
{
    return put("</gpx>\n");
}

qsizetype GpxWriter::unwritableAt(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            return i;
        if (c == 0xFFFE || c == 0xFFFF)
            return i;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            continue;
        }
        if (QChar::isSurrogate(c))
            return i;
    }
    return -1;
}

QString GpxWriter::escaped(QStringView text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case u'\'':
            out += QLatin1String("&apos;");
            break;
        case u'\t':
            out += QLatin1String("&#9;");
            break;
        case u'\n':
            out += QLatin1String("&#10;");
            break;
        case u'\r':
            out += QLatin1String("&#13;");
            break;
        default:
            out += c;
        }
    }
    return out;
}
