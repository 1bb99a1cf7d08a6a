#include "GpxScanner.h"

#include "ByteSearch.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

constexpr qsizetype kDefaultBlock = 1 << 20;

// Enough bytes after a '<' to tell every construct apart ("<![CDATA[" is the longest).
constexpr qsizetype kLookahead = 16;

// The first bytes, where a BOM or the encoding declaration sits. A pipe hands over only what
// was written so far, so a sequential device is read until it has them all or ends; the
// transaction keeps them for the scan.
QByteArray peekHead(QIODevice& device, qint64 size)
{
    if (!device.isSequential())
        return device.peek(size);
    device.startTransaction();
    QByteArray head;
    while (head.size() < size) {
        const QByteArray more = device.read(size - head.size());
        if (more.isEmpty())
            break;
        head += more;
    }
    device.rollbackTransaction();
    return head;
}

// One look-up instead of four comparisons: the attribute and tag-name loops run on these.
enum : unsigned char
{
    kSpace = 1,
    kEndsName = 2
};
constexpr auto kCharClass = [] {
    std::array<unsigned char, 256> table{};
    for (const unsigned char c : {' ', '\t', '\n', '\r'})
        table[c] = kSpace | kEndsName;
    table['>'] = table['/'] = kEndsName;
    return table;
}();

inline bool isSpace(char c)
{
    return kCharClass[static_cast<unsigned char>(c)] & kSpace;
}

inline bool endsName(char c)
{
    return kCharClass[static_cast<unsigned char>(c)] & kEndsName;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

void put(std::string& out, const char* text, qsizetype size)
{
    out.append(text, size_t(size));
}

// |value| <= limit for a checked decimal, decided on its digits: exact, and no float parse.
bool withinLimit(QByteArrayView value, int limit)
{
    qsizetype i = (value.startsWith('+') || value.startsWith('-')) ? 1 : 0;
    while (i < value.size() && value[i] == '0')
        ++i;
    long whole = 0;
    int digits = 0;
    for (; i < value.size() && isDigit(value[i]); ++i) {
        if (++digits > 4)
            return false;
        whole = whole * 10 + (value[i] - '0');
    }
    if (whole != limit)
        return whole < limit;
    for (; i < value.size(); ++i) {
        if (value[i] != '.' && value[i] != '0')
            return false;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Decodes the entity or character reference at text[0] == '&' into out; returns the bytes
// used. Anything that is not a known reference stays as it stands.
qsizetype decodeReference(std::string& out, const char* text, qsizetype size)
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
            out.push_back(plain);
            return semi - text + 1;
        }
        if (name.size() >= 2 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            const char* first = name.data() + (hex ? 2 : 1);
            const char* last = name.data() + name.size();
            unsigned long code = 0;
            const auto [ptr, ec] = std::from_chars(first, last, code, hex ? 16 : 10);
            if (first != last && ptr == last && ec == std::errc()) {
                // A character XML forbids becomes a NUL, which the waypoint's check refuses.
                if (isXmlChar(char32_t(code)))
                    appendUtf8(out, char32_t(code));
                else
                    out.push_back('\0');
                return semi - text + 1;
            }
        }
    }
    out.push_back('&');
    return 1;
}

QString coordinateProblem(const char* attribute, bool present, QByteArrayView value, int limit)
{
    if (present && GpxScanner::isDecimal(value) && withinLimit(value, limit))
        return {};
    if (!present)
        return QStringLiteral("Waypoint skipped: it has no %1 attribute.").arg(attribute);
    if (!GpxScanner::isDecimal(value))
        return QStringLiteral("Waypoint skipped: its %1 \"%2\" is not a decimal number.")
            .arg(attribute, QString::fromUtf8(value.data(), value.size()));
    if (!withinLimit(value, limit))
        return QStringLiteral("Waypoint skipped: its %1 %2 is out of range (-%3 to %3).")
            .arg(attribute, QString::fromUtf8(value.data(), value.size()))
            .arg(limit);
    return {};
}

} // namespace

GpxScanner::GpxScanner() : m_blockSize(kDefaultBlock), m_buf(kLookahead) {}

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

    if (!m_decoding.setup(QByteArrayView(peekHead(device, 1024)))) {
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

inline GpxScanner::Match GpxScanner::has(qsizetype at, QByteArrayView literal) const
{
    const qsizetype n = std::min(m_len - at, literal.size());
    const char* text = m_buf.data() + at;
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] != literal[i])
            return Match::No;
    }
    if (n == literal.size())
        return Match::Yes;
    return m_atEnd ? Match::No : Match::NeedMore;
}

inline GpxScanner::Match GpxScanner::tagStart(qsizetype at, QByteArrayView name) const
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

inline GpxScanner::Match GpxScanner::endTag(qsizetype at, QByteArrayView name,
                                            qsizetype* past) const
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

inline qsizetype GpxScanner::tagEnd(qsizetype from) const
{
    const char* p = m_buf.data() + from;
    const char* end = m_buf.data() + m_len;
    for (;;) {
        p = findAny<'>', '"', '\''>(p, end);
        if (p == end)
            return -1;
        if (*p == '>')
            return p - m_buf.data();
        p = *p == '"' ? findAny<'"'>(p + 1, end) : findAny<'\''>(p + 1, end);
        if (p == end)
            return -1;
        ++p;
    }
}

void GpxScanner::skipMarkup(bool* needMore)
{
    struct Kind
    {
        QByteArrayView open, close;
    };
    static constexpr Kind kinds[] = {{"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}};
    for (const Kind& k : kinds) {
        const Match m = has(m_pos, k.open);
        if (m == Match::No)
            continue;
        const qsizetype close = m == Match::Yes ? find(m_pos + k.open.size(), k.close) : -1;
        if (close < 0)
            *needMore = true;
        else
            m_pos = close + k.close.size();
        return;
    }
    const Match declaration = has(m_pos, "<!");
    const qsizetype close = declaration == Match::Yes ? declarationEnd(m_pos + 2) : -1;
    if (declaration == Match::No)
        ++m_pos;
    else if (close < 0)
        *needMore = true;
    else
        m_pos = close + 1;
}

// The '>' that ends a declaration such as <!DOCTYPE …>: not one inside a quoted literal, nor
// one inside the [ … ] subset, whose own comments and processing instructions may hold any.
qsizetype GpxScanner::declarationEnd(qsizetype from) const
{
    int depth = 0;
    for (qsizetype i = from; i < m_len; ++i) {
        const char c = m_buf[i];
        qsizetype close = i;
        if (c == '"' || c == '\'') {
            close = find(i + 1, QByteArrayView(&c, 1));
        } else if (c == '[') {
            ++depth;
        } else if (c == ']') {
            depth = std::max(0, depth - 1);
        } else if (c == '>' && depth == 0) {
            return i;
        } else if (c == '<' && depth > 0 && has(i, "<!--") == Match::Yes) {
            close = find(i + 4, "-->");
            close = close < 0 ? -1 : close + 2;
        } else if (c == '<' && depth > 0 && has(i, "<?") == Match::Yes) {
            close = find(i + 2, "?>");
            close = close < 0 ? -1 : close + 1;
        }
        if (close < 0)
            return -1;
        i = close;
    }
    return -1;
}

bool GpxScanner::parse(bool atEnd)
{
    m_atEnd = atEnd;
    const char* buf = m_buf.data();
    for (;;) {
        bool more = false;
        const char* lt = findAny<'<'>(buf + m_pos, buf + m_len);
        if (lt == buf + m_len)
            lt = nullptr;
        if (!lt) {
            if (m_state == State::InValue)
                put(m_raw, buf + m_pos, m_len - m_pos);
            m_pos = m_len;
            if (m_state == State::Outside)
                return true;
            more = true;
        } else {
            if (m_state == State::InValue)
                put(m_raw, buf + m_pos, lt - (buf + m_pos));
            m_pos = lt - buf;
            if (m_len - m_pos < kLookahead && !m_atEnd)
                more = true;
            else if (!(m_state == State::Outside      ? stepOutside(&more)
                       : m_state == State::InWaypoint ? stepInWaypoint(&more)
                                                      : stepInValue(&more)))
                return false;
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

// Each step starts at a '<' with enough bytes after it to tell what it opens; it consumes
// one construct, or sets *more when the construct goes on past the buffer.
bool GpxScanner::stepOutside(bool* more)
{
    const char next = m_pos + 1 < m_len ? m_buf[m_pos + 1] : 0;
    if (next == '!' || next == '?') {
        skipMarkup(more);
        return true;
    }
    // A file that ends right after "<wpt" is a waypoint cut short, not some other tag.
    const bool cutShort = m_atEnd && m_pos + 4 == m_len && has(m_pos, "<wpt") == Match::Yes;
    if (!cutShort && (next != 'w' || tagStart(m_pos, "<wpt") != Match::Yes)) {
        ++m_pos;
        return true;
    }
    const qsizetype close = cutShort ? -1 : tagEnd(m_pos + 4);
    if (close < 0) {
        if (m_atEnd) {
            m_wpt.line = lineAt(m_pos);
            dropWaypoint(QStringLiteral("Waypoint skipped: the file ends inside its <wpt> start "
                                        "tag."));
        }
        *more = true;
        return true;
    }
    beginWaypoint(m_pos, close);
    m_pos = close + 1;
    return m_buf[close - 1] != '/' || finishWaypoint();
}

bool GpxScanner::stepInWaypoint(bool* more)
{
    const char next = m_pos + 1 < m_len ? m_buf[m_pos + 1] : 0;
    if (next == '/') {
        qsizetype past = 0;
        if (endTag(m_pos, "</wpt", &past) == Match::Yes) {
            m_pos = past;
            return finishWaypoint();
        }
        const char* end = m_buf.data() + m_len;
        const char* close = findAny<'>'>(m_buf.data() + m_pos, end);
        if (close == end) {
            *more = true;
            return true;
        }
        m_depth = std::max(0, m_depth - 1);
        m_pos = close - m_buf.data() + 1;
        return true;
    }
    if (next == '!' || next == '?') {
        skipMarkup(more);
        return true;
    }
    if (next == 'w' && tagStart(m_pos, "<wpt") == Match::Yes) {
        dropWaypoint(QStringLiteral("Waypoint skipped: a new waypoint starts on line %1 before "
                                    "its </wpt> end tag.")
                         .arg(lineAt(m_pos)));
        return true; // the new one is read from here
    }
    const bool isName =
        next == 'n' && m_depth == 0 && !m_hasName && tagStart(m_pos, "<name") == Match::Yes;
    const bool isDesc =
        next == 'd' && m_depth == 0 && !m_hasDesc && tagStart(m_pos, "<desc") == Match::Yes;
    // A tag without attributes ends right after its name; others need the quote-aware search.
    qsizetype nameEnd = m_pos + 1;
    while (nameEnd < m_len && !endsName(m_buf[nameEnd]))
        ++nameEnd;
    const qsizetype close = nameEnd < m_len && m_buf[nameEnd] == '>' ? nameEnd : tagEnd(m_pos + 1);
    if (close < 0) {
        *more = true;
        return true;
    }
    const bool empty = m_buf[close - 1] == '/';
    if (!empty && !isName && !isDesc && skipSimpleElement(nameEnd, close))
        return true;
    m_pos = close + 1;
    if (isName || isDesc) {
        (isName ? m_hasName : m_hasDesc) = true;
        if (!empty) {
            m_value = isName ? &m_name : &m_desc;
            m_valueTag = isName ? "</name" : "</desc";
            m_raw.clear();
            m_state = State::InValue;
        }
    } else if (!empty) {
        ++m_depth;
    }
    return true;
}

// Most children hold plain text (<ele>12.0</ele>): when their end tag follows the text, the
// whole element goes in one step. m_pos is at the start tag, `close` at its '>'.
inline bool GpxScanner::skipSimpleElement(qsizetype nameEnd, qsizetype close)
{
    const char* buf = m_buf.data();
    const char* end = buf + m_len;
    const char* name = buf + m_pos + 1;
    const qsizetype nameLength = nameEnd - m_pos - 1;
    const char* lt = findAny<'<'>(buf + close + 1, end);
    if (end - lt < nameLength + 3 || lt[1] != '/' || lt[nameLength + 2] != '>' ||
        std::memcmp(lt + 2, name, nameLength) != 0)
        return false;
    m_pos = lt + nameLength + 3 - buf;
    return true;
}

bool GpxScanner::stepInValue(bool* more)
{
    const char next = m_pos + 1 < m_len ? m_buf[m_pos + 1] : 0;
    qsizetype past = 0;
    if (next == '/') {
        const Match closing = endTag(m_pos, m_valueTag, &past);
        if (closing == Match::NeedMore) {
            *more = true;
            return true;
        }
        if (closing == Match::Yes) {
            flushValue();
            m_state = State::InWaypoint;
            m_pos = past;
            return true;
        }
    } else if (next == '!') {
        const bool cdata = has(m_pos, "<![CDATA[") == Match::Yes;
        if (cdata || has(m_pos, "<!--") == Match::Yes) {
            const qsizetype open = cdata ? 9 : 4;
            const qsizetype close = find(m_pos + open, cdata ? "]]>" : "-->");
            if (close < 0) {
                *more = true;
                return true;
            }
            if (cdata) {
                flushValue();
                appendText(*m_value, m_buf.data() + m_pos + open, close - m_pos - open, false);
            }
            m_pos = close + 3;
            return true;
        }
    }
    // Blanks before the '>' of </wpt> may run past the buffer, however long the look-ahead.
    const Match waypointEnd = next == '/' ? endTag(m_pos, "</wpt", &past) : Match::No;
    if (waypointEnd == Match::NeedMore) {
        *more = true;
        return true;
    }
    const bool waypointEnds = waypointEnd == Match::Yes;
    if (waypointEnds || (next == 'w' && tagStart(m_pos, "<wpt") == Match::Yes)) {
        dropWaypoint(QStringLiteral("Waypoint skipped: its <%1> element has no end tag.")
                         .arg(QLatin1StringView(m_valueTag.sliced(2))));
        if (waypointEnds)
            m_pos = past;
        return true;
    }
    m_raw.push_back('<'); // a lone '<' in the text stays as it stands
    ++m_pos;
    return true;
}

void GpxScanner::beginWaypoint(qsizetype tagBegin, qsizetype tagClose)
{
    m_wpt.line = lineAt(tagBegin);
    m_lat.clear();
    m_lon.clear();
    m_name.clear();
    m_desc.clear();
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
            put(m_lat, buf + valueBegin, valueEnd - valueBegin);
            m_hasLat = true;
        } else if (name == "lon" && !m_hasLon) {
            put(m_lon, buf + valueBegin, valueEnd - valueBegin);
            m_hasLon = true;
        }
    }
}

bool GpxScanner::finishWaypoint()
{
    m_state = State::Outside;
    m_wpt.lat = QByteArrayView(m_lat.data(), m_lat.size());
    m_wpt.lon = QByteArrayView(m_lon.data(), m_lon.size());
    m_wpt.name = QByteArrayView(m_name.data(), m_name.size());
    m_wpt.desc = QByteArrayView(m_desc.data(), m_desc.size());
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
    // A NUL or control character would end or split the statement's line in the shell.
    if (why.isEmpty() && (!isXmlText(m_wpt.name) || !isXmlText(m_wpt.desc)))
        why = QStringLiteral("Waypoint skipped: its %1 contains a character not allowed in GPX.")
                  .arg(isXmlText(m_wpt.name) ? "desc" : "name");
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
    // Decoding never lengthens the text, and a huge value's raw copy is let go at once: one
    // long name costs about twice its size here, not more.
    m_value->reserve(m_value->size() + m_raw.size());
    appendText(*m_value, m_raw.data(), m_raw.size(), true);
    m_raw.clear();
    if (m_raw.capacity() > size_t(m_blockSize))
        m_raw.shrink_to_fit();
}

// Each line break, with the blanks and tabs around it, becomes one blank, so a value spread
// over several lines reads as one; references are decoded unless the text is CDATA.
void GpxScanner::appendText(std::string& out, const char* text, qsizetype size, bool decode)
{
    size_t keep = out.size(); // blanks before this are not ours to trim
    qsizetype i = 0;
    while (i < size) {
        const qsizetype j = (decode ? findAny<'\n', '\r', '&'>(text + i, text + size)
                                    : findAny<'\n', '\r'>(text + i, text + size)) -
                            text;
        put(out, text + i, j - i);
        i = j;
        if (i >= size)
            break;
        if (text[i] == '&') {
            i += decodeReference(out, text + i, size - i);
            keep = out.size();
            continue;
        }
        while (out.size() > keep && (out.back() == ' ' || out.back() == '\t'))
            out.pop_back();
        i += (text[i] == '\r' && i + 1 < size && text[i + 1] == '\n') ? 2 : 1;
        while (i < size && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        out.push_back(' ');
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
    // Lone CRs are rare enough for a plain loop when there are any.
    qint64 lf = 0;
    qint64 cr = 0;
    countBreaks(p, end, &lf, &cr);
    if (cr == 0) {
        m_lines += lf;
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
