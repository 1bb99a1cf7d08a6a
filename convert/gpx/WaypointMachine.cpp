// SPDX-License-Identifier: GPL-3.0-or-later
#include "WaypointMachine.h"

#include "ByteSearch.h"
#include "Coordinates.h"
#include "DecodingWindow.h"
#include "TextDecoding.h"
#include "ValueText.h"

#include <QCoreApplication>
#include <QtEndian>

#include <bit>
#include <cstring>

using markup::isSpace;
using markup::kOpen;
using markup::Match;

namespace {

// Enough bytes after a '<' to tell every construct apart ("<![CDATA[" is the longest).
constexpr qsizetype kLookahead = 16;

std::string_view view(const std::string& text)
{
    return {text.data(), text.size()};
}

QByteArrayView byteView(const std::string& text)
{
    return {text.data(), qsizetype(text.size())};
}

// Element names are short: a plain loop beats a call to memcmp.
bool sameName(const char* a, const char* b, qsizetype length)
{
    for (qsizetype i = 0; i < length; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// A record's value elements, in the order of WaypointMachine::Field: the start tag's name and
// the end tag's.
struct FieldTags
{
    QByteArrayView open;
    QByteArrayView end;
};
constexpr FieldTags kWaypointFields[] = {
    {"<name", "</name"}, {"<desc", "</desc"}, {"<type", "</type"}, {"<sym", "</sym"}};
constexpr FieldTags kCategoryFields[] = {{"<geofill:label", "</geofill:label"},
                                         {"<geofill:desc", "</geofill:desc"},
                                         {"<geofill:enabled", "</geofill:enabled"}};
constexpr char kCategoryTag[] = "<geofill:category";
constexpr char kCategoryEnd[] = "</geofill:category";
constexpr const char* kWaypointFieldNames[] = {"name", "desc", "type", "sym"};
constexpr const char* kCategoryFieldNames[] = {"label", "desc", "enabled"};

constexpr quint32 tagWord(const char (&name)[5])
{
    return quint32(quint8(name[0])) | quint32(quint8(name[1])) << 8 |
           quint32(quint8(name[2])) << 16 | quint32(quint8(name[3])) << 24;
}

QByteArrayView viewOf(QByteArrayView inWindow, const std::string& text)
{
    return inWindow.data() ? inWindow : byteView(text);
}

} // namespace

WaypointMachine::Event WaypointMachine::next(DecodingWindow& window)
{
    m_window = &window;
    m_text = {window.data(), window.size(), window.atEnd(), &window.index()};
    m_pos = window.consumed();
    const Event event = run();
    window.consumeTo(m_pos);
    return event;
}

WaypointMachine::Event WaypointMachine::run()
{
    const char* const buf = m_text.data;
    const char* const end = buf + m_text.size;
    for (;;) {
        if (m_state == State::Outside ||
            (m_state == State::InWaypoint && m_depth == 0 && m_record == Record::Waypoint)) {
            const Step step = runCommonWaypoint();
            if (step == Step::Waypoint)
                return Event::Waypoint;
            if (step == Step::Problem)
                return Event::Problem;
        }
        const char* lt = buf + m_text.nextOpen(m_pos);
        // Value text up to the '<'; the step that reads the value's end tag takes it.
        const std::string_view text(buf + m_pos, lt - (buf + m_pos));
        m_pos = lt - buf;
        const bool decides = lt != end && (end - lt >= kLookahead || m_text.atEnd);
        if (m_state == State::InValue && !decides)
            m_raw.append(text);
        if (lt == end)
            return m_state == State::Outside ? Event::NeedMore : needMore();
        if (!decides)
            return Event::NeedMore;
        const Step step = m_state == State::Outside      ? stepOutside()
                          : m_state == State::InWaypoint ? stepInWaypoint()
                                                         : stepInValue(text);
        switch (step) {
        case Step::Consumed:
            break;
        case Step::NeedMore:
            return needMore();
        case Step::Waypoint:
            return Event::Waypoint;
        case Step::Problem:
            return Event::Problem;
        case Step::Category:
            return Event::Category;
        }
    }
}

// The common waypoint, <wpt lat=".." lon=".."> with simple children and a name and desc without
// attributes, read from '<' to '<' with the index's cursor. Anything else stops it at that '<'
// (Step::Consumed), and the general steps take it from there as they would have.
WaypointMachine::Step WaypointMachine::runCommonWaypoint()
{
    const char* const buf = m_text.data;
    const qsizetype size = m_text.size;
    const auto room = [&](qsizetype lt) { return size - lt >= kLookahead; };
    const auto is = [&](qsizetype at, std::string_view literal) {
        return std::memcmp(buf + at, literal.data(), literal.size()) == 0;
    };
    StructuralIndex::Cursor open = m_text.index->cursor(m_pos);
    qsizetype lt = open.next();
    if (m_state == State::Outside) {
        if (!room(lt) || !is(lt + 1, "wpt") || !isSpace(buf[lt + 4])) {
            m_pos = lt;
            return Step::Consumed;
        }
        qsizetype close = readCommonStartTag(lt);
        if (close < 0) {
            close = m_text.tagEnd(lt + 4);
            if (close < 0) {
                m_pos = lt;
                return Step::Consumed;
            }
            beginWaypoint(lt, close);
        }
        m_pos = close + 1;
        if (buf[close - 1] == '/')
            return finishWaypoint();
        open = m_text.index->cursor(m_pos);
        lt = open.next();
    }
    for (; room(lt); lt = open.next()) {
        const char next = buf[lt + 1];
        if (next == '/') {
            if (!is(lt + 2, "wpt>"))
                break;
            m_pos = lt + 6;
            return finishWaypoint();
        }
        // The value elements told apart by their first four letters as one word.
        const quint32 word = qFromLittleEndian<quint32>(buf + lt + 1);
        int field = -1;
        qsizetype tagSize = 5; // the name with its '>'
        switch (word) {
        case tagWord("name"):
            field = Name;
            break;
        case tagWord("desc"):
            field = Desc;
            break;
        case tagWord("type"):
            field = Type;
            break;
        case tagWord("sym>"):
            field = Sym;
            tagSize = 4;
            break;
        default:
            break;
        }
        if (field >= 0 && tagSize == 5 && buf[lt + 5] != '>')
            field = -1;
        // Other n and d elements, and a second value, go the general way.
        if (field >= 0 ? m_fields[field].present : (next == 'n' || next == 'd'))
            break;
        if (field >= 0) {
            Value& value = m_fields[field];
            value.present = true;
            const qsizetype begin = lt + 1 + tagSize;
            const qsizetype end = open.next();
            if (!room(end) || buf[end + 1] != '/' ||
                qFromLittleEndian<quint32>(buf + end + 2) != word ||
                (tagSize == 5 && buf[end + 6] != '>')) {
                // Not one plain run of text: the general steps read the value.
                value.check = true;
                enterValue(field);
                m_pos = begin;
                keepInWindowValues();
                return Step::Consumed;
            }
            appendPlainValue(value.text, value.inWindow, value.check, begin, end);
            lt = end;
            continue;
        }
        if (!markup::isAsciiLetter(next) || next == 'w')
            break;
        // A simple element, <ele>12.0</ele>: its name, then the end tag at the next '<'. A short
        // name is found from a mask of the bytes that end a name, and compared with the end
        // tag's as one word: names vary in length too much for a loop's branches to be guessed.
        const qsizetype end = open.next();
        const int shortEnd =
            std::countr_zero(matchMask16<' ', '\t', '\n', '\r', '/', '>'>(buf + lt) | (1u << 16));
        if (shortEnd <= 8 && buf[lt + shortEnd] == '>' && size - end >= 10 && buf[end + 1] == '/' &&
            ((qFromLittleEndian<quint64>(buf + lt + 1) ^
              qFromLittleEndian<quint64>(buf + end + 2)) &
             (~quint64(0) >> (64 - 8 * shortEnd))) == 0) {
            lt = end;
            continue;
        }
        qsizetype nameEnd = lt + 2;
        while (nameEnd < size && !markup::endsName(buf[nameEnd]))
            ++nameEnd;
        if (nameEnd == size || buf[nameEnd] != '>')
            break;
        const qsizetype nameLength = nameEnd - lt - 1;
        if (end < nameEnd || size - end < nameLength + 3 || buf[end + 1] != '/' ||
            buf[end + nameLength + 2] != '>' || !sameName(buf + end + 2, buf + lt + 1, nameLength))
            break;
        lt = end;
    }
    m_pos = lt;
    keepInWindowValues();
    return Step::Consumed;
}

// The general steps may refill the window before the waypoint ends: the values still seen in
// it are copied.
void WaypointMachine::keepInWindowValues()
{
    const auto keep = [](QByteArrayView& view, std::string& text) {
        if (view.data()) {
            text.assign(view.data(), size_t(view.size()));
            view = {};
        }
    };
    keep(m_latInWindow, m_lat);
    keep(m_lonInWindow, m_lon);
    for (Value& value : m_fields)
        keep(value.inWindow, value.text);
}

// A value's one run of text, taken as it stands when it holds nothing to decode or check. Its
// end tag and the look-ahead follow it in the window.
void WaypointMachine::appendPlainValue(std::string& value, QByteArrayView& inWindow, bool& check,
                                       qsizetype from, qsizetype to)
{
    const char* p = m_text.data + from;
    const char* const end = m_text.data + to;
    const char* special = findTextSpecialPadded(p, end);
    if (special == end) {
        inWindow = QByteArrayView(p, to - from); // nothing to decode: no copy either
        return;
    }
    // Text without line breaks, as most values are, is decoded here. While its letters are
    // whole and allowed it needs no check: a reference can only give a character XML allows,
    // or a NUL for the check to refuse.
    bool plain = true;
    for (;;) {
        value.append(p, size_t(special - p));
        if (special == end)
            return;
        if (*special == '&') {
            p = special +
                valuetext::decodeReference(value, std::string_view(special, end - special));
            check = check || value.back() == '\0';
        } else if (*special == '\n' || *special == '\r') {
            break;
        } else {
            plain = false; // a control, or bytes that are no allowed letter: the check decides
            check = true;
            value.push_back(*special);
            p = special + 1;
        }
        special = plain ? findTextSpecialPadded(p, end) : findAnyPadded<'&', '\n', '\r'>(p, end);
    }
    // Line breaks: the whole text goes the general way, which makes them blanks.
    value.clear();
    valuetext::append(value, std::string_view(m_text.data + from, size_t(to - from)), true);
    check = true;
}

// The construct at m_pos goes on past the window: wait for more, or at the end of the file
// give up the waypoint it cuts short.
WaypointMachine::Event WaypointMachine::needMore()
{
    if (!m_text.atEnd)
        return Event::NeedMore;
    m_pos = m_text.size;
    if (m_state == State::Outside)
        return Event::NeedMore;
    dropWaypoint(QCoreApplication::translate("WaypointMachine", "Waypoint skipped: the file ends before its </wpt> end tag."));
    return Event::Problem;
}

WaypointMachine::Step WaypointMachine::stepOutside()
{
    const qsizetype len = m_text.size;
    const char next = m_pos + 1 < len ? m_text.data[m_pos + 1] : 0;
    if (next == '!' || next == '?')
        return skipMarkup();
    if (next == 'g') {
        const Match category = m_text.tagStart(m_pos, kCategoryTag);
        if (category == Match::NeedMore)
            return Step::NeedMore;
        if (category == Match::Yes)
            return beginCategory();
    }
    // A file that ends right after "<wpt" is a waypoint cut short, not some other tag.
    const bool cutShort =
        m_text.atEnd && m_pos + 4 == len && m_text.has(m_pos, "<wpt") == Match::Yes;
    if (!cutShort && (next != 'w' || m_text.tagStart(m_pos, "<wpt") != Match::Yes)) {
        ++m_pos;
        return Step::Consumed;
    }
    const qsizetype close = cutShort ? kOpen : m_text.tagEnd(m_pos + 4);
    if (close < 0) {
        if (!m_text.atEnd)
            return Step::NeedMore;
        m_wpt.line = m_window->lineAt(m_pos);
        m_pos = len;
        dropWaypoint(QCoreApplication::translate("WaypointMachine", "Waypoint skipped: the file ends inside its <wpt> start tag."));
        return Step::Problem;
    }
    beginWaypoint(m_pos, close);
    m_pos = close + 1;
    return m_text.data[close - 1] == '/' ? finishWaypoint() : Step::Consumed;
}

WaypointMachine::Step WaypointMachine::skipMarkup()
{
    const qsizetype past = m_text.skipMarkup(m_pos);
    if (past < 0)
        return Step::NeedMore;
    m_pos = past;
    return Step::Consumed;
}

WaypointMachine::Step WaypointMachine::stepInWaypoint()
{
    const char* const buf = m_text.data;
    const qsizetype len = m_text.size;
    const char next = m_pos + 1 < len ? buf[m_pos + 1] : 0;
    const bool isWaypoint = m_record == Record::Waypoint;
    if (next == '/') {
        const markup::EndTag waypointEnd =
            m_text.endTag(m_pos, isWaypoint ? QByteArrayView("</wpt") : kCategoryEnd);
        if (waypointEnd.match == Match::NeedMore)
            return Step::NeedMore;
        if (waypointEnd.match == Match::Yes) {
            m_pos = waypointEnd.past;
            return isWaypoint ? finishWaypoint() : finishCategory();
        }
        const char* close = findAny<'>'>(buf + m_pos, buf + len);
        if (close == buf + len)
            return Step::NeedMore;
        m_depth = std::max(0, m_depth - 1);
        m_pos = close - buf + 1;
        return Step::Consumed;
    }
    if (next == '!' || next == '?')
        return skipMarkup();
    if (next == 'w' && m_text.tagStart(m_pos, "<wpt") == Match::Yes) {
        dropWaypoint(QCoreApplication::translate("WaypointMachine", "Waypoint skipped: a new waypoint starts on line %1 before "
                                    "its </wpt> end tag.")
                         .arg(m_window->lineAt(m_pos)));
        return Step::Problem; // the new one is read from here
    }
    int field = -1;
    if (m_depth == 0) {
        const FieldTags* tags = isWaypoint ? kWaypointFields : kCategoryFields;
        const int count = isWaypoint ? int(std::size(kWaypointFields)) : int(std::size(kCategoryFields));
        for (int f = 0; f < count && field < 0; ++f) {
            if (tags[f].open[1] != next || m_fields[f].present)
                continue;
            const Match match = m_text.tagStart(m_pos, tags[f].open);
            if (match == Match::NeedMore)
                return Step::NeedMore;
            if (match == Match::Yes)
                field = f;
        }
    }
    const bool isValue = field >= 0;
    // A tag without attributes ends right after its name; others need the quote-aware search.
    qsizetype nameEnd = m_pos + 1;
    while (nameEnd < len && !markup::endsName(buf[nameEnd]))
        ++nameEnd;
    const qsizetype close =
        nameEnd < len && buf[nameEnd] == '>' ? nameEnd : m_text.tagEnd(m_pos + 1);
    if (close < 0)
        return Step::NeedMore;
    const bool empty = buf[close - 1] == '/';
    if (!empty && !isValue) {
        const qsizetype past = m_text.skipSimpleElement(m_pos, nameEnd, close);
        if (past >= 0) {
            m_pos = past;
            return Step::Consumed;
        }
    }
    m_pos = close + 1;
    if (isValue) {
        m_fields[field].present = true;
        m_fields[field].check = true;
        if (!empty)
            enterValue(field);
    } else if (!empty) {
        ++m_depth;
    }
    return Step::Consumed;
}

WaypointMachine::Step WaypointMachine::stepInValue(std::string_view text)
{
    const char next = m_pos + 1 < m_text.size ? m_text.data[m_pos + 1] : 0;
    // Most values are one run of text right before their end tag: decoded from the window
    // without a copy.
    if (next == '/' && m_raw.empty()) {
        const markup::EndTag valueEnd = m_text.endTag(m_pos, m_valueTag);
        if (valueEnd.match == Match::Yes) {
            valuetext::append(*m_value, text, true);
            m_state = State::InWaypoint;
            m_pos = valueEnd.past;
            return Step::Consumed;
        }
    }
    m_raw.append(text);
    if (next == '/') {
        const markup::EndTag valueEnd = m_text.endTag(m_pos, m_valueTag);
        if (valueEnd.match == Match::NeedMore)
            return Step::NeedMore;
        if (valueEnd.match == Match::Yes) {
            flushValue();
            m_state = State::InWaypoint;
            m_pos = valueEnd.past;
            return Step::Consumed;
        }
    } else if (next == '!') {
        const bool cdata = m_text.has(m_pos, "<![CDATA[") == Match::Yes;
        if (cdata || m_text.has(m_pos, "<!--") == Match::Yes) {
            const qsizetype open = cdata ? 9 : 4;
            const qsizetype close = m_text.find(m_pos + open, cdata ? "]]>" : "-->");
            if (close < 0)
                return Step::NeedMore;
            if (cdata) {
                flushValue();
                valuetext::append(
                    *m_value, std::string_view(m_text.data + m_pos + open, close - m_pos - open),
                    false);
            }
            m_pos = close + 3;
            return Step::Consumed;
        }
    }
    // Blanks before the '>' of </wpt> may run past the window, however long the look-ahead.
    const markup::EndTag waypointEnd =
        next == '/' ? m_text.endTag(m_pos, m_record == Record::Waypoint ? QByteArrayView("</wpt")
                                                                        : kCategoryEnd)
                    : markup::EndTag{Match::No, 0};
    if (waypointEnd.match == Match::NeedMore)
        return Step::NeedMore;
    const bool waypointEnds = waypointEnd.match == Match::Yes;
    if (waypointEnds || (next == 'w' && m_text.tagStart(m_pos, "<wpt") == Match::Yes)) {
        dropWaypoint(QCoreApplication::translate("WaypointMachine", "Waypoint skipped: its <%1> element has no end tag.")
                         .arg(QLatin1StringView(m_valueTag.sliced(2))));
        if (waypointEnds)
            m_pos = waypointEnd.past;
        return Step::Problem;
    }
    m_raw.push_back('<'); // a lone '<' in the text stays as it stands
    ++m_pos;
    return Step::Consumed;
}

void WaypointMachine::startWaypoint(qsizetype tagBegin, Record record)
{
    m_wpt.line = m_window->lineAt(tagBegin);
    m_record = record;
    m_lat.clear();
    m_lon.clear();
    m_hasLat = m_hasLon = false;
    m_latInWindow = m_lonInWindow = {};
    for (Value& value : m_fields) {
        value.text.clear();
        value.inWindow = {};
        value.present = value.check = false;
    }
    m_depth = 0;
    m_state = State::InWaypoint;
}

void WaypointMachine::enterValue(int field)
{
    m_value = &m_fields[field].text;
    m_valueTag = (m_record == Record::Waypoint ? kWaypointFields : kCategoryFields)[field].end;
    m_raw.clear();
    m_state = State::InValue;
}

// <geofill:category> outside the waypoints: read as a waypoint is, with its own value elements.
WaypointMachine::Step WaypointMachine::beginCategory()
{
    const qsizetype close = m_text.tagEnd(m_pos + qsizetype(std::strlen(kCategoryTag)));
    if (close < 0) {
        if (!m_text.atEnd)
            return Step::NeedMore;
        m_pos = m_text.size; // cut short at the end of the file: nothing to take
        return Step::Consumed;
    }
    startWaypoint(m_pos, Record::Category);
    m_pos = close + 1;
    return m_text.data[close - 1] == '/' ? finishCategory() : Step::Consumed;
}

WaypointMachine::Step WaypointMachine::finishCategory()
{
    m_state = State::Outside;
    m_record = Record::Waypoint;
    m_category.line = m_wpt.line;
    m_category.label = viewOf(m_fields[Name].inWindow, m_fields[Name].text);
    m_category.desc = viewOf(m_fields[Desc].inWindow, m_fields[Desc].text);
    m_category.enabled = viewOf(m_fields[Type].inWindow, m_fields[Type].text).trimmed() != "0";
    if (const Outcome<> checked = checkText(true); !checked) {
        m_problem = GpxProblem{checked.problem().message, {}, m_wpt.line};
        return Step::Problem;
    }
    return Step::Category;
}

// The start tag as nearly every file writes it, <wpt lat="…" lon="…"> or lon first, read
// from a mask of its quotes. Its '>', or kOpen when it is written otherwise (the general
// reading then takes it, with the same result).
qsizetype WaypointMachine::readCommonStartTag(qsizetype tagBegin)
{
    const char* const buf = m_text.data + tagBegin;
    if (m_text.size - tagBegin < 64 || buf[9] != '"')
        return kOpen;
    std::uint64_t quotes = matchMask64<'"'>(buf) >> 10;
    if (quotes == 0)
        return kOpen;
    const qsizetype firstEnd = 10 + std::countr_zero(quotes);
    quotes &= quotes - 1;
    const qsizetype secondBegin = firstEnd + 7;
    quotes &= quotes - 1; // the second value's opening quote
    const qsizetype secondEnd = 10 + std::countr_zero(quotes);
    const auto attribute = [&](qsizetype at) {
        return buf[at] == 'l' && buf[at + 3] == '=' &&
               ((buf[at + 1] == 'a' && buf[at + 2] == 't') ||
                (buf[at + 1] == 'o' && buf[at + 2] == 'n'));
    };
    if (secondEnd <= secondBegin || secondEnd + 2 > 64 || buf[secondEnd + 1] != '>' ||
        buf[4] != ' ' || !attribute(5) || buf[firstEnd + 1] != ' ' || !attribute(firstEnd + 2) ||
        buf[firstEnd + 6] != '"' || buf[6] == buf[firstEnd + 3])
        return kOpen;
    startWaypoint(tagBegin);
    takeCoordinate(tagBegin + 5, tagBegin + 10, tagBegin + firstEnd);
    takeCoordinate(tagBegin + firstEnd + 2, tagBegin + secondBegin, tagBegin + secondEnd);
    return tagBegin + secondEnd + 1;
}

// lat or lon, whose name starts at nameAt, with the value between the quotes, trimmed.
void WaypointMachine::takeCoordinate(qsizetype nameAt, qsizetype valueBegin, qsizetype valueEnd)
{
    const char* buf = m_text.data;
    while (valueBegin < valueEnd && isSpace(buf[valueBegin]))
        ++valueBegin;
    while (valueEnd > valueBegin && isSpace(buf[valueEnd - 1]))
        --valueEnd;
    const bool lat = buf[nameAt + 1] == 'a';
    (lat ? m_latInWindow : m_lonInWindow) = QByteArrayView(buf + valueBegin, valueEnd - valueBegin);
    (lat ? m_hasLat : m_hasLon) = true;
}

void WaypointMachine::beginWaypoint(qsizetype tagBegin, qsizetype tagClose)
{
    startWaypoint(tagBegin);

    // The attributes: name = "value" or 'value', blanks allowed around '='; the first lat
    // and the first lon count, their values trimmed.
    const char* buf = m_text.data;
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
        // Values are short: the library's search beats the vector one's setup here.
        const void* closing = std::memchr(buf + i, quote, size_t(end - i));
        if (!closing)
            return;
        i = static_cast<const char*>(closing) - buf;
        qsizetype valueEnd = i++;
        while (isSpace(buf[valueBegin])) // the closing quote stops it
            ++valueBegin;
        while (valueEnd > valueBegin && isSpace(buf[valueEnd - 1]))
            --valueEnd;
        if (name == "lat" && !m_hasLat) {
            m_lat.append(buf + valueBegin, valueEnd - valueBegin);
            m_hasLat = true;
        } else if (name == "lon" && !m_hasLon) {
            m_lon.append(buf + valueBegin, valueEnd - valueBegin);
            m_hasLon = true;
        }
    }
}

WaypointMachine::Step WaypointMachine::finishWaypoint()
{
    m_state = State::Outside;
    m_wpt.lat = viewOf(m_latInWindow, m_lat);
    m_wpt.lon = viewOf(m_lonInWindow, m_lon);
    m_wpt.name = viewOf(m_fields[Name].inWindow, m_fields[Name].text);
    m_wpt.desc = viewOf(m_fields[Desc].inWindow, m_fields[Desc].text);
    m_wpt.type = viewOf(m_fields[Type].inWindow, m_fields[Type].text);
    m_wpt.sym = viewOf(m_fields[Sym].inWindow, m_fields[Sym].text);
    // The message is made only for a coordinate that fails.
    const auto valid = [](bool present, QByteArrayView value, int limit) {
        return present && coordinates::check(value, limit) == coordinates::Verdict::Valid;
    };
    Outcome<> checked;
    if (!valid(m_hasLat, m_wpt.lat, 90))
        checked = coordinates::checkAttribute("lat", m_hasLat, m_wpt.lat, 90);
    else if (!valid(m_hasLon, m_wpt.lon, 180))
        checked = coordinates::checkAttribute("lon", m_hasLon, m_wpt.lon, 180);
    else if (m_fields[Name].check | m_fields[Desc].check | m_fields[Type].check |
             m_fields[Sym].check) // most values were plain ASCII, with nothing to check
        checked = checkText(false);
    if (checked)
        return Step::Waypoint;
    m_problem = GpxProblem{checked.problem().message, {}, m_wpt.line};
    return Step::Problem;
}

// Text that is not what it claims to be, or that holds a NUL or control character, which
// would end or split the statement's line in the shell.
Outcome<> WaypointMachine::checkText(bool category) const
{
    const auto check = [&](const Value& value) {
        if (!value.check)
            return TextFault::None;
        const QByteArrayView text = viewOf(value.inWindow, value.text);
        if (m_window->isDecoded())
            return isXmlText(text) ? TextFault::None : TextFault::Forbidden;
        return checkUtf8Text(text);
    };
    const int count = category ? int(std::size(kCategoryFieldNames)) : kFieldCount;
    for (int f = 0; f < count; ++f) {
        const TextFault fault = check(m_fields[f]);
        if (fault == TextFault::None)
            continue;
        const char* name = (category ? kCategoryFieldNames : kWaypointFieldNames)[f];
        const QString what = category ? QCoreApplication::translate("WaypointMachine", "Category record skipped")
                                      : QCoreApplication::translate("WaypointMachine", "Waypoint skipped");
        if (fault == TextFault::NotUtf8)
            return Problem{QCoreApplication::translate("WaypointMachine", "%1: its %2 is not UTF-8 text, and the file "
                                          "declares no other encoding.")
                               .arg(what, QLatin1String(name)),
                           {},
                           0};
        return Problem{QCoreApplication::translate("WaypointMachine", "%1: its %2 contains a character not allowed in GPX.")
                           .arg(what, QLatin1String(name)),
                       {},
                       0};
    }
    return {};
}

void WaypointMachine::dropWaypoint(const QString& message)
{
    m_problem = GpxProblem{message, {}, m_wpt.line};
    m_state = State::Outside;
}

void WaypointMachine::flushValue()
{
    // Decoding never lengthens the text, and a huge value's raw copy is let go at once: one
    // long name costs about twice its size here, not more.
    m_value->reserve(m_value->size() + m_raw.size());
    valuetext::append(*m_value, view(m_raw), true);
    m_raw.clear();
    if (m_raw.capacity() > size_t(m_window->blockSize()))
        m_raw.shrink_to_fit();
}
