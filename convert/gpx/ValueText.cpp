#include "ValueText.h"

#include "ByteSearch.h"
#include "TextDecoding.h"

#include <algorithm>
#include <charconv>
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
    const size_t limit = std::min<size_t>(text.size(), 12);
    const auto* semi = static_cast<const char*>(std::memchr(text.data(), ';', limit));
    if (semi) {
        const qsizetype used = semi - text.data() + 1;
        const std::string_view name = text.substr(1, used - 2);
        if (const char plain = namedEntity(name)) {
            out.push_back(plain);
            return used;
        }
        if (name.size() >= 2 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            const char* first = name.data() + (hex ? 2 : 1);
            const char* last = name.data() + name.size();
            unsigned long code = 0;
            const auto [ptr, ec] = std::from_chars(first, last, code, hex ? 16 : 10);
            if (first != last && ptr == last && ec == std::errc()) {
                if (isXmlChar(char32_t(code)))
                    appendUtf8(out, char32_t(code));
                else
                    out.push_back('\0');
                return used;
            }
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
