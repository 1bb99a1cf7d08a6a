// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoredValue.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// quote() gives every digit a real needs to come back exactly, at times twenty of them; the
// shortest text that does the same reads better. An infinity is no number to JSON or CSV
// readers: it stays the shell's word for it.
StoredBytes shortestReal(QByteArrayView printed, QByteArray& scratch)
{
    double value = 0;
    const char* end = printed.data() + printed.size();
    const auto read = std::from_chars(printed.data(), end, value);
    if (read.ec != std::errc() || read.ptr != end || !std::isfinite(value))
        return StoredBytes::ofText(printed);
    char digits[64];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    scratch = QByteArray(digits, written.ptr - digits);
    if (!scratch.contains('.') && !scratch.contains('e'))
        scratch += ".0";
    return {StoredValue::Kind::Number, scratch};
}

} // namespace

QString StoredValue::select(const QString& column)
{
    return QStringLiteral("CASE typeof(%1) WHEN 'null' THEN 'n' WHEN 'integer' THEN 'i' || %1 "
                          "WHEN 'real' THEN 'r' || quote(%1) ELSE 't' || hex(%1) END")
        .arg(column);
}

StoredValue StoredValue::fromShell(QStringView printed)
{
    QByteArray scratch;
    return StoredBytes::fromShell(printed.toLatin1(), scratch).value();
}

StoredBytes StoredBytes::fromShell(QByteArrayView printed, QByteArray& scratch)
{
    if (printed.startsWith('i'))
        return {StoredValue::Kind::Number, printed.sliced(1)};
    if (printed.startsWith('r'))
        return shortestReal(printed.sliced(1), scratch);
    if (printed.startsWith('t')) {
        scratch = QByteArray::fromHex(printed.sliced(1).toByteArray());
        return ofText(scratch);
    }
    return {};
}

StoredBytes StoredBytes::fromPrinted(QByteArrayView printed)
{
    if (printed.isEmpty())
        return {};
    double value = 0;
    const char* end = printed.data() + printed.size();
    const auto read = std::from_chars(printed.data(), end, value);
    if (read.ec != std::errc() || read.ptr != end || !std::isfinite(value))
        return ofText(printed);
    return {StoredValue::Kind::Number, printed};
}

std::optional<double> StoredBytes::number(double limit) const
{
    if (kind != StoredValue::Kind::Number)
        return std::nullopt;
    double read = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, read);
    if (error != std::errc() || stop != end || !(std::abs(read) <= limit))
        return std::nullopt;
    return read;
}

std::optional<qint64> StoredBytes::integer() const
{
    qint64 read = 0;
    const char* end = text.data() + text.size();
    if (kind != StoredValue::Kind::Number || std::from_chars(text.data(), end, read).ptr != end)
        return std::nullopt;
    return read;
}

QString fromHexText(QStringView hex)
{
    return QString::fromUtf8(QByteArray::fromHex(hex.toLatin1()));
}
