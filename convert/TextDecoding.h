// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Outcome.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

// Brings a GPX file's bytes to UTF-8, block by block, so the scanner and the database only
// ever see UTF-8. UTF-8 files pass through untouched (a byte-order mark is skipped); UTF-16
// (byte-order mark or a telltale "<?xml" start) and files whose XML declaration names another
// encoding (ISO-8859-1, windows-1252, or any other the platform knows) are converted.
class TextDecoding
{
public:
    enum class Kind
    {
        Utf8,
        Utf16LE,
        Utf16BE,
        Latin1,
        Windows1252,
        Other
    };

    // Decides from the first bytes of the file; fails when the declared encoding cannot be
    // read.
    Outcome<> setup(QByteArrayView head);

    Kind kind() const { return m_kind; }
    // True when the bytes go through as they are (UTF-8); the caller may then skip toUtf8().
    bool isPassThrough() const { return m_kind == Kind::Utf8; }
    // Bytes at the start of the file that are a byte-order mark, not text.
    int bomLength() const { return m_bomLength; }

    // Appends the UTF-8 form of the next block to `out`. Blocks may split characters anywhere:
    // a character cut by a block's end comes with the next block.
    void toUtf8(QByteArrayView block, QByteArray& out);

    // The encoding named in an XML declaration at the start of `head`, or empty.
    static QByteArray declaredEncoding(QByteArrayView head);

private:
    Kind m_kind = Kind::Utf8;
    int m_bomLength = 0;
    QStringDecoder m_decoder;
    char16_t m_highSurrogate = 0; // the first half of a pair that the last block ended with
};

// The UTF-8 form of `c` (at most four bytes) into `out`; returns how many bytes. A surrogate
// keeps its three-byte form, so that the checks below can refuse it.
inline int encodeUtf8(char32_t c, char* out)
{
    if (c < 0x80) {
        out[0] = char(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = char(0xC0 | (c >> 6));
        out[1] = char(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = char(0xE0 | (c >> 12));
        out[1] = char(0x80 | ((c >> 6) & 0x3F));
        out[2] = char(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = char(0xF0 | (c >> 18));
    out[1] = char(0x80 | ((c >> 12) & 0x3F));
    out[2] = char(0x80 | ((c >> 6) & 0x3F));
    out[3] = char(0x80 | (c & 0x3F));
    return 4;
}

// True when the UTF-8 text holds no character XML forbids: controls other than tab, LF and
// CR, U+FFFE, U+FFFF and surrogates (which a decoder passes on as three-byte forms).
bool isXmlText(QByteArrayView utf8);

enum class TextFault
{
    None,
    NotUtf8,  // not well-formed UTF-8: overlong forms, surrogates, values beyond U+10FFFF
    Forbidden // well-formed, but holds a character isXmlText refuses
};

// The one check a value read as UTF-8 needs, in one pass: NotUtf8 wins over Forbidden.
TextFault checkUtf8Text(QByteArrayView text);
