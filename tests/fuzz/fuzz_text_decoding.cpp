// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the start of a GPX file: the encoding its declaration names must be read from
// inside the declaration's quotes; the text must come out the same whether it is decoded whole
// or in blocks that cut its characters anywhere; and the checks of the text (vector code where
// built) must judge it as a plain reading of UTF-8 does.

#include "FuzzChecks.h"

#include "TextDecoding.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdint>

namespace {

// The fault of `text` read the slow and obvious way: not UTF-8 when decoding and encoding again
// changes it (Qt refuses overlong forms, surrogates and values beyond U+10FFFF), forbidden when
// it holds a control other than tab, LF and CR, U+FFFE or U+FFFF.
TextFault plainFault(const QByteArray& text)
{
    const QString decoded = utf8Text({text.constData(), size_t(text.size())});
    if (decoded.toUtf8() != text)
        return TextFault::NotUtf8;
    for (const QChar c : decoded) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r') || u == 0xFFFE || u == 0xFFFF)
            return TextFault::Forbidden;
    }
    return TextFault::None;
}

void checkDeclaration(const QByteArray& bytes)
{
    const QByteArray declared = TextDecoding::declaredEncoding(bytes);
    if (declared.isEmpty())
        return;
    const qsizetype end = bytes.indexOf("?>");
    FUZZ_CHECK(bytes.startsWith("<?xml") && end > 0 && end < 1024);
    const QByteArray declaration = bytes.first(end);
    // What stands trimmed between the quotes after the first "encoding" and its "=".
    const qsizetype named = declaration.indexOf("encoding");
    FUZZ_CHECK(named > 0);
    qsizetype open = named + 8;
    while (open < declaration.size() && declaration[open] != '"' && declaration[open] != '\'')
        ++open;
    FUZZ_CHECK(open < declaration.size() &&
               declaration.sliced(named + 8, open - named - 8).trimmed() == "=");
    const qsizetype close = declaration.indexOf(declaration[open], open + 1);
    FUZZ_CHECK(close > open &&
               declaration.sliced(open + 1, close - open - 1).trimmed() == declared);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkDeclaration(bytes);

    TextDecoding whole;
    if (const Outcome<> setUp = whole.setup(bytes.first(std::min<qsizetype>(bytes.size(), 1024)));
        !setUp) {
        FUZZ_CHECK(!setUp.problem().message.isEmpty() &&
                   !TextDecoding::declaredEncoding(bytes).isEmpty());
        return 0;
    }
    const int bom = whole.bomLength();
    FUZZ_CHECK((bom == 0) || (bom == 3 && bytes.startsWith("\xEF\xBB\xBF")) ||
               (bom == 2 && (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))));
    const QByteArrayView body = QByteArrayView(bytes).sliced(bom);
    QByteArray text;
    whole.toUtf8(body, text);
    if (whole.isPassThrough())
        FUZZ_CHECK(text == body);

    // Blocks of a size the input chooses, as the scanner reads them.
    TextDecoding cut;
    FUZZ_CHECK(cut.setup(bytes.first(std::min<qsizetype>(bytes.size(), 1024))).ok());
    const qsizetype step = qsizetype(1 + size % 11);
    QByteArray pieces;
    for (qsizetype at = 0; at < body.size(); at += step)
        cut.toUtf8(body.sliced(at, std::min(step, body.size() - at)), pieces);
    // The platform's decoders may replace a bad sequence differently where a block cuts it.
    if (whole.kind() != TextDecoding::Kind::Other || !text.contains("\xEF\xBF\xBD"))
        FUZZ_CHECK(pieces == text);

    // Decoded text is UTF-8 but for the surrogates a decoder may pass on, which the checks refuse.
    const TextFault fault = checkUtf8Text(text);
    FUZZ_CHECK(fault == plainFault(text));
    FUZZ_CHECK(checkUtf8Text(bytes) == plainFault(bytes));
    if (!whole.isPassThrough()) {
        FUZZ_CHECK(isXmlText(text) == (fault == TextFault::None));
        if (whole.kind() == TextDecoding::Kind::Latin1 ||
            whole.kind() == TextDecoding::Kind::Windows1252)
            FUZZ_CHECK(fault != TextFault::NotUtf8 &&
                       utf8Text({text.constData(), size_t(text.size())}).size() == body.size());
    }
    return 0;
}
