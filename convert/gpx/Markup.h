// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSearch.h"
#include "StructuralIndex.h"

#include <QByteArrayView>

#include <array>
#include <string_view>

// Markup matching over a window of text: which construct starts at a '<', and where it ends.
// The window may end inside a construct; unless it is the end of the file, such a place
// answers "need more" and the reader waits for the next block. Positions are offsets into the
// window; a search that runs off its end answers kOpen.
namespace markup {

inline constexpr qsizetype kOpen = -1;

enum class Match
{
    No,
    Yes,
    NeedMore
};

// Bytes the matching code looks at: blanks, and the bytes that end a tag's name.
enum : unsigned char
{
    kSpace = 1,
    kEndsName = 2
};
inline constexpr auto kCharClass = [] {
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

inline bool isAsciiLetter(char c)
{
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

struct EndTag
{
    Match match;
    qsizetype past; // just after its '>' when it matched
};

struct Text
{
    const char* data;
    qsizetype size;
    bool atEnd; // nothing follows the window
    const StructuralIndex* index;

    // The first '<' at or after `from`, or size.
    qsizetype nextOpen(qsizetype from) const { return index->nextOpen(from); }

    // Whether `literal` starts at `at`.
    Match has(qsizetype at, QByteArrayView literal) const
    {
        const qsizetype n = std::min(size - at, literal.size());
        for (qsizetype i = 0; i < n; ++i) {
            if (data[at + i] != literal[i])
                return Match::No;
        }
        if (n == literal.size())
            return Match::Yes;
        return atEnd ? Match::No : Match::NeedMore;
    }

    // A start tag of exactly `name` ("<wpt"): the name followed by a blank, '>' or '/'.
    Match tagStart(qsizetype at, QByteArrayView name) const
    {
        const Match m = has(at, name);
        if (m != Match::Yes)
            return m;
        const qsizetype after = at + name.size();
        if (after >= size)
            return atEnd ? Match::No : Match::NeedMore;
        const char c = data[after];
        return isSpace(c) || c == '>' || c == '/' ? Match::Yes : Match::No;
    }

    // An end tag of exactly `name` ("</wpt"), blanks allowed before its '>'.
    EndTag endTag(qsizetype at, QByteArrayView name) const
    {
        const Match m = has(at, name);
        if (m != Match::Yes)
            return {m, 0};
        qsizetype i = at + name.size();
        while (i < size && isSpace(data[i]))
            ++i;
        if (i >= size)
            return {atEnd ? Match::No : Match::NeedMore, 0};
        if (data[i] != '>')
            return {Match::No, 0};
        return {Match::Yes, i + 1};
    }

    // Where `literal` next starts from `from` on, or kOpen.
    qsizetype find(qsizetype from, QByteArrayView literal) const
    {
        const std::string_view window(data + from, size - from);
        const auto at = window.find(std::string_view(literal.data(), literal.size()));
        return at == std::string_view::npos ? kOpen : from + qsizetype(at);
    }

    // The '>' that closes the tag, not one inside a quoted attribute value, or kOpen.
    qsizetype tagEnd(qsizetype from) const
    {
        // One mask of the '>' and quotes for 64 bytes at a time, whose bits are then taken in
        // turn: a tag with attributes costs a mask or two, not a search per quote.
        char quote = 0; // the one that opened the value we are in, if any
        const auto take = [&](const char* at) {
            if (quote == 0 && *at == '>')
                return true;
            if (quote == 0)
                quote = *at;
            else if (*at == quote)
                quote = 0;
            return false;
        };
        qsizetype at = from;
        for (; size - at >= 64; at += 64) {
            for (std::uint64_t bits = matchMask64<'>', '"', '\''>(data + at); bits != 0;
                 bits &= bits - 1) {
                const qsizetype hit = at + std::countr_zero(bits);
                if (take(data + hit))
                    return hit;
            }
        }
        for (; at < size; ++at) {
            const char c = data[at];
            if ((c == '>' || c == '"' || c == '\'') && take(data + at))
                return at;
        }
        return kOpen;
    }

    // Past the comment, CDATA section, processing instruction or declaration at `at` (a
    // "<!" or "<?"), or kOpen when it goes on past the window.
    qsizetype skipMarkup(qsizetype at) const;

    // The '>' that ends a declaration such as <!DOCTYPE …>: not one inside a quoted literal,
    // nor one inside the [ … ] subset, whose own comments and processing instructions may hold
    // any. kOpen when it is not in the window.
    qsizetype declarationEnd(qsizetype from) const;

    // Most elements hold plain text (<ele>12.0</ele>): when the end tag follows the text,
    // the whole element goes at once. `at` is the start tag's '<', `nameEnd` just past its
    // name, `close` its '>'. Past the end tag, or kOpen when the element is not that simple.
    qsizetype skipSimpleElement(qsizetype at, qsizetype nameEnd, qsizetype close) const
    {
        const char* end = data + size;
        const char* name = data + at + 1;
        const qsizetype nameLength = nameEnd - at - 1;
        const char* lt = data + nextOpen(close + 1);
        if (end - lt < nameLength + 3 || lt[1] != '/' || lt[nameLength + 2] != '>')
            return kOpen;
        // Names are short: a plain loop beats a call to memcmp.
        for (qsizetype i = 0; i < nameLength; ++i) {
            if (lt[2 + i] != name[i])
                return kOpen;
        }
        return lt + nameLength + 3 - data;
    }
};

} // namespace markup
