// SPDX-License-Identifier: GPL-3.0-or-later
#include "ValueText.h"

#include "ByteSearch.h"
#include "TextDecoding.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace {

void appendUtf8(std::string& out, char32_t c)
{
    char bytes[4];
    out.append(bytes, size_t(encodeUtf8(c, bytes)));
}

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

char namedEntity(std::string_view name)
{
    if (name == "lt")
        return '<';
    if (name == "gt")
        return '>';
    if (name == "amp")
        return '&';
    if (name == "quot")
        return '"';
    if (name == "apos")
        return '\'';
    return 0;
}

} // namespace

namespace valuetext {

qsizetype decodeReference(std::string& out, std::string_view text)
{
    if (text.size() >= 3 && text[1] == '#') {
        // Any number of leading zeros; past the digits the largest character needs, the value
        // is out of range whatever they are.
        const bool hex = text[2] == 'x';
        const size_t first = hex ? 3 : 2;
        size_t end = first;
        while (end < text.size() && text[end] == '0')
            ++end;
        const size_t significant = end;
        while (end < text.size() && (hex ? std::isxdigit(static_cast<unsigned char>(text[end]))
                                         : text[end] >= '0' && text[end] <= '9'))
            ++end;
        if (end == first || end == text.size() || text[end] != ';') {
            out.push_back('&');
            return 1;
        }
        uint32_t code = 0;
        const bool inRange = end - significant <= (hex ? 6u : 7u);
        if (inRange)
            std::from_chars(text.data() + significant, text.data() + end, code, hex ? 16 : 10);
        if (inRange && isXmlChar(char32_t(code)))
            appendUtf8(out, char32_t(code));
        else
            out.push_back('\0');
        return qsizetype(end + 1);
    }
    const size_t limit = std::min<size_t>(text.size(), 6);
    const auto* semi = static_cast<const char*>(std::memchr(text.data(), ';', limit));
    if (semi) {
        const qsizetype used = semi - text.data() + 1;
        if (const char plain = namedEntity(text.substr(1, used - 2))) {
            out.push_back(plain);
            return used;
        }
    }
    out.push_back('&');
    return 1;
}

void append(std::string& out, std::string_view text, bool decodeReferences)
{
    size_t keep = out.size(); // blanks before this are not ours to trim
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* special =
            decodeReferences ? findAny<'\n', '\r', '&'>(p, end) : findAny<'\n', '\r'>(p, end);
        out.append(p, special - p);
        p = special;
        if (p == end)
            break;
        if (*p == '&') {
            p += decodeReference(out, std::string_view(p, end - p));
            keep = out.size();
            continue;
        }
        while (out.size() > keep && (out.back() == ' ' || out.back() == '\t'))
            out.pop_back();
        p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
        while (p < end && (*p == ' ' || *p == '\t'))
            ++p;
        out.push_back(' ');
        keep = out.size();
    }
}

} // namespace valuetext
