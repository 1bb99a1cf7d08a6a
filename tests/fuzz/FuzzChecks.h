// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <string>
#include <string_view>

// A broken check stops the fuzzer at once, with the input saved as a finding.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            __builtin_trap();                                                                      \
    } while (false)

// Reads the SQL string literal at text[*at] into *value and moves *at past it: quoted pieces
// with '' for a quote, joined by ||char(13)|| or ||char(10)|| for a line break. False when
// there is none or its quotes do not close.
inline bool readSqlLiteral(std::string_view text, size_t* at, std::string* value)
{
    constexpr std::string_view carriageReturn = "||char(13)||";
    constexpr std::string_view lineFeed = "||char(10)||";
    size_t i = *at;
    for (;;) {
        if (i >= text.size() || text[i] != '\'')
            return false;
        ++i;
        for (;;) {
            if (i >= text.size())
                return false;
            if (text[i] == '\'') {
                if (i + 1 < text.size() && text[i + 1] == '\'') {
                    value->push_back('\'');
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            value->push_back(text[i++]);
        }
        const std::string_view joint = text.substr(i, carriageReturn.size());
        if (joint != carriageReturn && joint != lineFeed)
            break;
        value->push_back(joint == carriageReturn ? '\r' : '\n');
        i += carriageReturn.size();
    }
    *at = i;
    return true;
}

// The text of UTF-8 bytes. Unlike QString::fromUtf8 it keeps a byte-order mark at the start,
// which in a value is a character like any other.
inline QString utf8Text(std::string_view bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}
