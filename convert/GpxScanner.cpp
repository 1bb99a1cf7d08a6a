#include "GpxScanner.h"

#include <QFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

namespace {

constexpr qsizetype kDefaultBlock = 1 << 20;
// Enough bytes after a '<' to tell every construct apart ("<![CDATA[" is the longest).
constexpr qsizetype kLookahead = 16;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

void appendUtf8(QByteArray& out, char32_t c)
{
    if (c < 0x80) {
        out.append(char(c));
    } else if (c < 0x800) {
        out.append(char(0xC0 | (c >> 6)));
        out.append(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.append(char(0xE0 | (c >> 12)));
        out.append(char(0x80 | ((c >> 6) & 0x3F)));
        out.append(char(0x80 | (c & 0x3F)));
    } else {
        out.append(char(0xF0 | (c >> 18)));
        out.append(char(0x80 | ((c >> 12) & 0x3F)));
        out.append(char(0x80 | ((c >> 6) & 0x3F)));
        out.append(char(0x80 | (c & 0x3F)));
    }
}

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF)
           || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Decodes the entity or character reference at text[0] == '&' into out; returns the bytes
// used. Anything that is not a known reference stays as it stands.
qsizetype decodeReference(QByteArray& out, const char* text, qsizetype size)
{
    const qsizetype limit = std::min<qsizetype>(size, 12);
    const auto* semi = static_cast<const char*>(std::memchr(text, ';', limit));
    if (semi) {
        const std::string_view name(text + 1, semi - text - 1);
        char plain = 0;
        if (name == "lt")
            plain = '<';
        else if (name == "gt")
            plain = '>';
        else if (name == "amp")
            plain = '&';
        else if (name == "quot")
            plain = '"';
        else if (name == "apos")
            plain = '\'';
        if (plain) {
            out.append(plain);
            return semi - text + 1;
        }
        if (name.size() >= 2 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            const char* first = name.data() + (hex ? 2 : 1);
            const char* last = name.data() + name.size();
            unsigned long code = 0;
            const auto [ptr, ec] = std::from_chars(first, last, code, hex ? 16 : 10);
            if (first != last && ptr == last && ec == std::errc() && isXmlChar(char32_t(code))) {
                appendUtf8(out, char32_t(code));
                return semi - text + 1;
            }
        }
    }
    out.append('&');
    return 1;
}

QString coordinateProblem(const char* attribute, bool present, const QByteArray& value,
                          double limit)
{
    if (!present)
        return QStringLiteral("Waypoint skipped: it has no %1 attribute.").arg(attribute);
    if (!GpxScanner::isDecimal(value))
        return QStringLiteral("Waypoint skipped: its %1 \"%2\" is not a decimal number.")
            .arg(attribute, QString::fromUtf8(value));
    const char* first = value.constData() + (value.startsWith('+') ? 1 : 0);
    double number = 0;
    std::from_chars(first, value.constData() + value.size(), number);
    if (std::fabs(number) > limit)
        return QStringLiteral("Waypoint skipped: its %1 %2 is out of range (-%3 to %3).")
            .arg(attribute, QString::fromUtf8(value))
            .arg(limit);
    return {};
}

} // namespace

GpxScanner::GpxScanner()
    : m_blockSize(kDefaultBlock)
    , m_buf(kLookahead)
{
}

bool GpxScanner::isDecimal(QByteArrayView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(text[i]))
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i]))
            ++i, ++digits;
    }
    return i == n && digits > 0;
}

GpxScanner::Collected GpxScanner::collect(const QString& path)
{
    Collected all;
    GpxScanner scanner;
    scanner.setWaypointHandler([&](const Waypoint& w) {
        all.waypoints.append(w);
        return true;
    });
    scanner.setProblemHandler([&](const GpxProblem& p) { all.problems.append(p); });
    all.ok = scanner.scanFile(path);
    all.error = scanner.errorString();
    return all;
}

bool GpxScanner::scanFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Cannot open the GPX file %1: %2.").arg(path, file.errorString());
        return false;
    }
    return scan(file);
}

bool GpxScanner::scan(QIODevice& device)
{
    m_len = m_pos = m_countedTo = 0;
    m_lines = 0;
    m_lastWasCR = false;
    m_state = State::Outside;
    m_error.clear();
    m_stopped = false;
    m_waypoints = m_problems = 0;

    if (!m_decoding.setup(QByteArrayView(device.peek(1024)))) {
        m_error = m_decoding.errorString();
        return false;
    }
    m_checkUtf8 = m_decoding.isPassThrough();
    if (m_decoding.bomLength() > 0)
        device.skip(m_decoding.bomLength());

    const qint64 total = device.size();
    qint64 done = 0;
    QByteArray block;
    for (;;) {
        // Keep only what is not consumed yet: an unfinished tag, usually a few bytes.
        const bool stalled = m_len > 0 && m_pos == 0;
        if (m_pos > 0) {
            countLines(m_pos);
            std::memmove(m_buf.data(), m_buf.data() + m_pos, m_len - m_pos);
            m_len -= m_pos;
            m_countedTo -= m_pos;
            m_pos = 0;
        }
        // A construct longer than the window doubles the next read, so long ones stay linear.
        const qsizetype want = stalled ? std::max(m_blockSize, m_len) : m_blockSize;
        qint64 got;
        if (m_decoding.isPassThrough()) {
            if (qsizetype(m_buf.size()) < m_len + want)
                m_buf.resize(m_len + want);
            got = device.read(m_buf.data() + m_len, want);
            if (got > 0)
                m_len += got;
        } else {
            block.resize(want);
            got = device.read(block.data(), want);
            if (got > 0) {
                m_decoded.resize(0);
                m_decoding.toUtf8(QByteArrayView(block.constData(), got), m_decoded);
                if (qsizetype(m_buf.size()) < m_len + m_decoded.size())
                    m_buf.resize(m_len + m_decoded.size());
                std::memcpy(m_buf.data() + m_len, m_decoded.constData(), m_decoded.size());
                m_len += m_decoded.size();
            }
        }
        if (got < 0) {
            m_error = QStringLiteral("Reading the GPX file failed: %1.").arg(device.errorString());
            return false;
        }
        done += got;
        if (m_onProgress && !m_onProgress(done, total)) {
            m_stopped = true;
            m_error = QStringLiteral("The conversion was cancelled.");
            return false;
        }
        if (!parse(got == 0))
            return false;
        if (got == 0)
            return true;
    }
}

GpxScanner::Match GpxScanner::has(qsizetype at, QByteArrayView literal) const
{
    const qsizetype avail = m_len - at;
    const qsizetype n = std::min(avail, literal.size());
    if (std::memcmp(m_buf.data() + at, literal.data(), n) != 0)
        return Match::No;
    if (n == literal.size())
        return Match::Yes;
    return m_atEnd ? Match::No : Match::NeedMore;
}

GpxScanner::Match GpxScanner::tagStart(qsizetype at, QByteArrayView name) const
{
    const Match m = has(at, name);
    if (m != Match::Yes)
        return m;
    const qsizetype after = at + name.size();
    if (after >= m_len)
        return m_atEnd ? Match::No : Match::NeedMore;
    const char c = m_buf[after];
    return isSpace(c) || c == '>' || c == '/' ? Match::Yes : Match::No;
}

GpxScanner::Match GpxScanner::endTag(qsizetype at, QByteArrayView name, qsizetype* past) const
{
    const Match m = has(at, name);
    if (m != Match::Yes)
        return m;
    qsizetype i = at + name.size();
    while (i < m_len && isSpace(m_buf[i]))
        ++i;
    if (i >= m_len)
        return m_atEnd ? Match::No : Match::NeedMore;
    if (m_buf[i] != '>')
        return Match::No;
    *past = i + 1;
    return Match::Yes;
}

qsizetype GpxScanner::find(qsizetype from, QByteArrayView literal) const
{
    const std::string_view window(m_buf.data() + from, m_len - from);
    const auto at = window.find(std::string_view(literal.data(), literal.size()));
    return at == std::string_view::npos ? -1 : from + qsizetype(at);
}

qsizetype GpxScanner::tagEnd(qsizetype from) const
{
    for (qsizetype i = from; i < m_len; ++i) {
        const char c = m_buf[i];
        if (c == '>')
            return i;
        if (c == '"' || c == '\'') {
            const void* q = std::memchr(m_buf.data() + i + 1, c, m_len - i - 1);
            if (!q)
                return -1;
            i = static_cast<const char*>(q) - m_buf.data();
        }
    }
    return -1;
}

bool GpxScanner::skipMarkup(bool* needMore)
{
    struct Kind
    {
        QByteArrayView open, close;
    };
    static constexpr Kind kinds[] = {
        {"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}, {"<!", ">"}};
    for (const Kind& k : kinds) {
        const Match m = has(m_pos, k.open);
        if (m == Match::No)
            continue;
        const qsizetype close = m == Match::Yes ? find(m_pos + k.open.size(), k.close) : -1;
        if (close < 0)
            *needMore = true;
        else
            m_pos = close + k.close.size();
        return true;
    }
    return false;
}

bool GpxScanner::parse(bool atEnd)
{
    m_atEnd = atEnd;
    const char* buf = m_buf.data();
    for (;;) {
        bool more = false;
        const char* lt = static_cast<const char*>(std::memchr(buf + m_pos, '<', m_len - m_pos));
        switch (m_state) {
        case State::Outside: {
            if (!lt) {
                m_pos = m_len;
                return true;
            }
            m_pos = lt - buf;
            if (m_len - m_pos < kLookahead && !m_atEnd) {
                more = true;
                break;
            }
            if (skipMarkup(&more))
                break;
            if (tagStart(m_pos, "<wpt") != Match::Yes) {
                ++m_pos;
                break;
            }
            const qsizetype close = tagEnd(m_pos + 4);
            if (close < 0) {
                more = true;
                break;
            }
            beginWaypoint(m_pos, close);
            m_pos = close + 1;
            if (buf[close - 1] == '/' && !finishWaypoint())
                return false;
            break;
        }
        case State::InWaypoint: {
            if (!lt) {
                m_pos = m_len;
                more = true;
                break;
            }
            m_pos = lt - buf;
            if (m_len - m_pos < kLookahead && !m_atEnd) {
                more = true;
                break;
            }
            qsizetype past = 0;
            if (endTag(m_pos, "</wpt", &past) == Match::Yes) {
                m_pos = past;
                if (!finishWaypoint())
                    return false;
                break;
            }
            if (has(m_pos, "</") == Match::Yes) {
                const qsizetype close = find(m_pos + 2, ">");
                if (close < 0) {
                    more = true;
                    break;
                }
                m_depth = std::max(0, m_depth - 1);
                m_pos = close + 1;
                break;
            }
            if (skipMarkup(&more))
                break;
            if (tagStart(m_pos, "<wpt") == Match::Yes) {
                dropWaypoint(QStringLiteral("Waypoint skipped: a new waypoint starts on line %1 "
                                            "before its </wpt> end tag.")
                                 .arg(lineAt(m_pos)));
                break; // the new one is read from here
            }
            const bool isName =
                m_depth == 0 && !m_hasName && tagStart(m_pos, "<name") == Match::Yes;
            const bool isDesc =
                m_depth == 0 && !m_hasDesc && !isName && tagStart(m_pos, "<desc") == Match::Yes;
            const qsizetype close = tagEnd(m_pos + 1);
            if (close < 0) {
                more = true;
                break;
            }
            const bool empty = buf[close - 1] == '/';
            m_pos = close + 1;
            if (isName || isDesc) {
                (isName ? m_hasName : m_hasDesc) = true;
                if (!empty) {
                    m_value = isName ? &m_wpt.name : &m_wpt.desc;
                    m_valueTag = isName ? "</name" : "</desc";
                    m_raw.resize(0);
                    m_state = State::InValue;
                }
            } else if (!empty) {
                ++m_depth;
            }
            break;
        }
        case State::InValue: {
            if (!lt) {
                m_raw.append(buf + m_pos, m_len - m_pos);
                m_pos = m_len;
                more = true;
                break;
            }
            m_raw.append(buf + m_pos, lt - (buf + m_pos));
            m_pos = lt - buf;
            if (m_len - m_pos < kLookahead && !m_atEnd) {
                more = true;
                break;
            }
            qsizetype past = 0;
            const Match closing = endTag(m_pos, m_valueTag, &past);
            if (closing == Match::NeedMore) {
                more = true;
                break;
            }
            if (closing == Match::Yes) {
                flushValue();
                m_state = State::InWaypoint;
                m_pos = past;
                break;
            }
            if (has(m_pos, "<![CDATA[") == Match::Yes) {
                const qsizetype close = find(m_pos + 9, "]]>");
                if (close < 0) {
                    more = true;
                    break;
                }
                flushValue();
                appendText(*m_value, buf + m_pos + 9, close - m_pos - 9, false);
                m_pos = close + 3;
                break;
            }
            if (has(m_pos, "<!--") == Match::Yes) {
                const qsizetype close = find(m_pos + 4, "-->");
                if (close < 0) {
                    more = true;
                    break;
                }
                m_pos = close + 3;
                break;
            }
            const bool waypointEnds = endTag(m_pos, "</wpt", &past) == Match::Yes;
            if (waypointEnds || tagStart(m_pos, "<wpt") == Match::Yes) {
                dropWaypoint(QStringLiteral("Waypoint skipped: its <%1> element has no end tag.")
                                 .arg(QLatin1StringView(m_valueTag.sliced(2))));
                if (waypointEnds)
                    m_pos = past;
                break;
            }
            m_raw.append('<'); // a lone '<' in the text stays as it stands
            ++m_pos;
            break;
        }
        }
        if (more) {
            if (!m_atEnd)
                return true;
            if (m_state != State::Outside)
                dropWaypoint(
                    QStringLiteral("Waypoint skipped: the file ends before its </wpt> end tag."));
            m_pos = m_len;
            return true;
        }
    }
}

void GpxScanner::beginWaypoint(qsizetype tagBegin, qsizetype tagClose)
{
    m_wpt.line = lineAt(tagBegin);
    m_wpt.lat.resize(0);
    m_wpt.lon.resize(0);
    m_wpt.name.resize(0);
    m_wpt.desc.resize(0);
    m_hasLat = m_hasLon = m_hasName = m_hasDesc = false;
    m_depth = 0;
    m_state = State::InWaypoint;

    const char* buf = m_buf.data();
    qsizetype i = tagBegin + 4;
    const qsizetype end = tagClose;
    for (;;) {
        while (i < end && isSpace(buf[i]))
            ++i;
        if (i >= end || buf[i] == '/')
            return;
        const qsizetype nameBegin = i;
        while (i < end && !isSpace(buf[i]) && buf[i] != '=' && buf[i] != '/')
            ++i;
        const std::string_view name(buf + nameBegin, i - nameBegin);
        while (i < end && isSpace(buf[i]))
            ++i;
        if (i >= end || buf[i] != '=')
            return;
        ++i;
        while (i < end && isSpace(buf[i]))
            ++i;
        if (i >= end || (buf[i] != '"' && buf[i] != '\''))
            return;
        const char quote = buf[i++];
        qsizetype valueBegin = i;
        while (i < end && buf[i] != quote)
            ++i;
        if (i >= end)
            return;
        qsizetype valueEnd = i++;
        while (valueBegin < valueEnd && isSpace(buf[valueBegin]))
            ++valueBegin;
        while (valueEnd > valueBegin && isSpace(buf[valueEnd - 1]))
            --valueEnd;
        if (name == "lat" && !m_hasLat) {
            m_wpt.lat.append(buf + valueBegin, valueEnd - valueBegin);
            m_hasLat = true;
        } else if (name == "lon" && !m_hasLon) {
            m_wpt.lon.append(buf + valueBegin, valueEnd - valueBegin);
            m_hasLon = true;
        }
    }
}

bool GpxScanner::finishWaypoint()
{
    m_state = State::Outside;
    QString why = coordinateProblem("lat", m_hasLat, m_wpt.lat, 90);
    if (why.isEmpty())
        why = coordinateProblem("lon", m_hasLon, m_wpt.lon, 180);
    if (why.isEmpty() && m_checkUtf8) {
        if (!isValidUtf8(m_wpt.name))
            why = QStringLiteral("Waypoint skipped: its name is not UTF-8 text, and the file "
                                 "declares no other encoding.");
        else if (!isValidUtf8(m_wpt.desc))
            why = QStringLiteral("Waypoint skipped: its desc is not UTF-8 text, and the file "
                                 "declares no other encoding.");
    }
    if (!why.isEmpty()) {
        report(m_wpt.line, why);
        return true;
    }
    ++m_waypoints;
    if (m_onWaypoint && !m_onWaypoint(m_wpt)) {
        m_stopped = true;
        m_error = QStringLiteral("The conversion was cancelled.");
        return false;
    }
    return true;
}

void GpxScanner::dropWaypoint(const QString& message)
{
    report(m_wpt.line, message);
    m_state = State::Outside;
}

void GpxScanner::report(int line, const QString& message)
{
    ++m_problems;
    if (m_onProblem)
        m_onProblem(GpxProblem{line, message});
}

void GpxScanner::flushValue()
{
    appendText(*m_value, m_raw.constData(), m_raw.size(), true);
    m_raw.resize(0);
}

// Each line break, with the blanks and tabs around it, becomes one blank, so a value spread
// over several lines reads as one; references are decoded unless the text is CDATA.
void GpxScanner::appendText(QByteArray& out, const char* text, qsizetype size, bool decode)
{
    qsizetype keep = out.size(); // blanks before this are not ours to trim
    qsizetype i = 0;
    while (i < size) {
        qsizetype j = i;
        while (j < size && text[j] != '\n' && text[j] != '\r' && !(decode && text[j] == '&'))
            ++j;
        out.append(text + i, j - i);
        i = j;
        if (i >= size)
            break;
        if (text[i] == '&') {
            i += decodeReference(out, text + i, size - i);
            keep = out.size();
            continue;
        }
        while (out.size() > keep && (out.back() == ' ' || out.back() == '\t'))
            out.chop(1);
        i += (text[i] == '\r' && i + 1 < size && text[i + 1] == '\n') ? 2 : 1;
        while (i < size && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        out.append(' ');
        keep = out.size();
    }
}

int GpxScanner::lineAt(qsizetype at)
{
    countLines(at);
    return int(m_lines + 1);
}

void GpxScanner::countLines(qsizetype upTo)
{
    if (upTo <= m_countedTo)
        return;
    const char* p = m_buf.data() + m_countedTo;
    const char* end = m_buf.data() + upTo;
    if (m_lastWasCR && *p == '\n')
        ++p; // the LF of a CR LF cut in two
    if (!std::memchr(p, '\r', end - p)) {
        while ((p = static_cast<const char*>(std::memchr(p, '\n', end - p)))) {
            ++m_lines;
            ++p;
        }
    } else {
        for (; p < end; ++p) {
            if (*p == '\n') {
                ++m_lines;
            } else if (*p == '\r') {
                ++m_lines;
                if (p + 1 < end && p[1] == '\n')
                    ++p;
            }
        }
    }
    m_lastWasCR = m_buf[upTo - 1] == '\r';
    m_countedTo = upTo;
}
