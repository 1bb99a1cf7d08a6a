// SPDX-License-Identifier: GPL-3.0-or-later
#include "Markup.h"

#include <algorithm>

namespace markup {

qsizetype Text::skipMarkup(qsizetype at) const
{
    struct Kind
    {
        QByteArrayView open, close;
    };
    static constexpr Kind kinds[] = {{"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}};
    for (const Kind& k : kinds) {
        const Match m = has(at, k.open);
        if (m == Match::No)
            continue;
        const qsizetype close = m == Match::Yes ? find(at + k.open.size(), k.close) : kOpen;
        return close < 0 ? kOpen : close + k.close.size();
    }
    const Match declaration = has(at, "<!");
    if (declaration == Match::No)
        return at + 1;
    const qsizetype close = declaration == Match::Yes ? declarationEnd(at + 2) : kOpen;
    return close < 0 ? kOpen : close + 1;
}

qsizetype Text::declarationEnd(qsizetype from) const
{
    int depth = 0;
    for (qsizetype i = from; i < size; ++i) {
        const char c = data[i];
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
            close = close < 0 ? kOpen : close + 2;
        } else if (c == '<' && depth > 0 && has(i, "<?") == Match::Yes) {
            close = find(i + 2, "?>");
            close = close < 0 ? kOpen : close + 1;
        }
        if (close < 0)
            return kOpen;
        i = close;
    }
    return kOpen;
}

} // namespace markup
