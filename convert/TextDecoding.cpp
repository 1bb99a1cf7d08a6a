// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextDecoding.h"

#include "ByteSearch.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// windows-1252 differs from ISO-8859-1 only in 0x80..0x9F; unassigned bytes keep their
// Latin-1 meaning, as Windows itself converts them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(QByteArray& out, char32_t c)
{
    char bytes[4];
    out.append(bytes, encodeUtf8(c, bytes));
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

QByteArray TextDecoding::declaredEncoding(QByteArrayView head)
{
    if (!head.startsWith("<?xml"))
        return {};
    const qsizetype close = head.first(std::min<qsizetype>(head.size(), 1024)).indexOf("?>");
    if (close < 0)
        return {};
    const QByteArrayView decl = head.first(close);
    qsizetype i = decl.indexOf("encoding");
    if (i < 0)
        return {};
    i += 8;
    while (i < decl.size() && isSpace(decl[i]))
        ++i;
    if (i >= decl.size() || decl[i] != '=')
        return {};
    ++i;
    while (i < decl.size() && isSpace(decl[i]))
        ++i;
    if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\''))
        return {};
    const char quote = decl[i++];
    const qsizetype end = decl.indexOf(quote, i);
    if (end < 0)
        return {};
    return decl.sliced(i, end - i).toByteArray().trimmed();
}

Outcome<> TextDecoding::setup(QByteArrayView head)
{
    m_kind = Kind::Utf8;
    m_bomLength = 0;
    m_highSurrogate = 0;

    if (head.startsWith("\xEF\xBB\xBF")) {
        m_bomLength = 3;
        return {};
    }
    if (head.startsWith("\xFF\xFE") || head.startsWith(QByteArrayView("<\0?\0", 4))) {
        m_kind = Kind::Utf16LE;
        m_bomLength = head.startsWith("\xFF\xFE") ? 2 : 0;
        m_decoder = QStringDecoder(QStringConverter::Utf16LE);
        return {};
    }
    if (head.startsWith("\xFE\xFF") || head.startsWith(QByteArrayView("\0<\0?", 4))) {
        m_kind = Kind::Utf16BE;
        m_bomLength = head.startsWith("\xFE\xFF") ? 2 : 0;
        m_decoder = QStringDecoder(QStringConverter::Utf16BE);
        return {};
    }

    const QByteArray declared = declaredEncoding(head).toLower();
    if (declared.isEmpty() || declared == "utf-8" || declared == "utf8" || declared == "us-ascii" ||
        declared == "ascii" || declared.startsWith("utf-16"))
        return {}; // a UTF-16 declaration in single-byte text is wrong; the bytes tell the truth
    if (declared == "iso-8859-1" || declared == "iso8859-1" || declared == "iso_8859-1" ||
        declared == "latin1" || declared == "latin-1" || declared == "l1") {
        m_kind = Kind::Latin1;
        return {};
    }
    if (declared == "windows-1252" || declared == "cp1252" || declared == "x-cp1252") {
        m_kind = Kind::Windows1252;
        return {};
    }
    m_decoder = QStringDecoder(declared.constData());
    if (!m_decoder.isValid()) {
        return Problem{
            QCoreApplication::translate("TextDecoding", "The file declares the text encoding \"%1\", which cannot be read.")
                .arg(QString::fromLatin1(declared)),
            {},
            0};
    }
    // Another spelling of UTF-8 goes through as UTF-8: the platform's decoder replaces a bad
    // sequence differently when a block boundary cuts it, so the same file could read two ways.
    if (QByteArrayView(m_decoder.name()) == "UTF-8")
        return {};
    m_kind = Kind::Other;
    return {};
}

void TextDecoding::toUtf8(QByteArrayView block, QByteArray& out)
{
    switch (m_kind) {
    case Kind::Utf8:
        out.append(block);
        return;
    case Kind::Latin1:
    case Kind::Windows1252: {
        out.reserve(out.size() + block.size() * 2);
        const bool cp1252 = m_kind == Kind::Windows1252;
        for (const char ch : block) {
            const auto b = static_cast<unsigned char>(ch);
            if (b < 0x80)
                out.append(ch);
            else if (cp1252 && b < 0xA0)
                appendUtf8(out, kWindows1252High[b - 0x80]);
            else
                appendUtf8(out, b);
        }
        return;
    }
    default: {
        // By hand, so that a lone surrogate keeps its three-byte form for isXmlText to refuse
        // instead of turning into a harmless-looking replacement character. The decoder hands
        // on a pair's first half when the block ends after it: it waits for the second.
        QString text = m_decoder.decode(block);
        if (m_highSurrogate != 0) {
            text.prepend(QChar(m_highSurrogate));
            m_highSurrogate = 0;
        }
        qsizetype size = text.size();
        if (size > 0 && text[size - 1].isHighSurrogate())
            m_highSurrogate = text[--size].unicode();
        out.reserve(out.size() + size * 3);
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t c = text[i].unicode();
            if (QChar::isHighSurrogate(c) && i + 1 < size && text[i + 1].isLowSurrogate())
                appendUtf8(out, QChar::surrogateToUcs4(c, text[++i].unicode()));
            else
                appendUtf8(out, c);
        }
        return;
    }
    }
}

bool isXmlText(QByteArrayView utf8)
{
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    for (;;) {
        p = reinterpret_cast<const unsigned char*>(
            skipPlainAscii(reinterpret_cast<const char*>(p), reinterpret_cast<const char*>(end)));
        if (p == end)
            return true;
        const unsigned char b = *p;
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r')
            return false;
        if (end - p >= 3 &&
            ((b == 0xEF && p[1] == 0xBF && p[2] >= 0xBE) || (b == 0xED && p[1] >= 0xA0)))
            return false;
        ++p;
    }
}

TextFault checkUtf8Text(QByteArrayView text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    TextFault fault = TextFault::None;
    for (;;) {
        const char* simple =
            skipSimpleUtf8(reinterpret_cast<const char*>(p), reinterpret_cast<const char*>(end));
        p = reinterpret_cast<const unsigned char*>(
            skipPlainAscii(simple, reinterpret_cast<const char*>(end)));
        if (p == end)
            return fault;
        const unsigned char b = *p;
        if (b < 0x80) {
            if (b != '\t' && b != '\n' && b != '\r')
                fault = TextFault::Forbidden;
            ++p;
            continue;
        }
        int more;
        char32_t c;
        if (b >= 0xC2 && b <= 0xDF) {
            more = 1;
            c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2;
            c = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3;
            c = b & 0x07;
        } else {
            return TextFault::NotUtf8;
        }
        if (end - p <= more)
            return TextFault::NotUtf8;
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return TextFault::NotUtf8;
            c = (c << 6) | (p[i] & 0x3F);
        }
        if ((more == 2 && c < 0x800) || (more == 3 && c < 0x10000) || c > 0x10FFFF ||
            (c >= 0xD800 && c <= 0xDFFF))
            return TextFault::NotUtf8;
        if (c == 0xFFFE || c == 0xFFFF)
            fault = TextFault::Forbidden;
        p += more + 1;
    }
}
