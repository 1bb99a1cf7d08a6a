// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as a value typed in or given on the command line: a coordinate in the New POI dialog
// and the same text as a GPX file's lat or lon must be judged alike (but that the dialog may
// refuse a number no double holds), the scanner's short lane as its long one, and the table
// name of --table is taken only as a plain SQL name, whatever its case.

#include "FuzzChecks.h"

#include "CoordinateText.h"
#include "PoiStatement.h"
#include "gpx/Coordinates.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

// The same value written longer: zeros after the sign take the scanner's check off its short
// lane, and change neither the number nor whether it is one (given a digit somewhere).
QByteArray padded(const QByteArray& value)
{
    const qsizetype sign = value.startsWith('+') || value.startsWith('-') ? 1 : 0;
    return value.first(sign) + QByteArray(17, '0') + value.sliced(sign);
}

bool hasDigit(const QByteArray& value)
{
    return std::any_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void checkCoordinate(const QByteArray& value, int limit)
{
    const coordinates::Verdict verdict = coordinates::check(value, limit);
    if (hasDigit(value))
        FUZZ_CHECK(coordinates::check(padded(value), limit) == verdict);
    else
        FUZZ_CHECK(verdict == coordinates::Verdict::NotDecimal);

    // The dialog reads the text as the database does, blanks around it and exponents
    // included; a plain decimal means the same number there.
    const QString text = QString::fromUtf8(value);
    const std::optional<double> typed = coordinateValue(text);
    const std::string plain = text.trimmed().toStdString();
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(plain.c_str(), &end);
    const bool fits = errno != ERANGE;
    if (typed)
        FUZZ_CHECK(std::isfinite(*typed) && end == plain.c_str() + plain.size() && read == *typed);
    const bool decimal = !value.contains('e') && !value.contains('E') && text == text.trimmed() &&
                         value == text.toUtf8();
    if (verdict == coordinates::Verdict::Valid)
        FUZZ_CHECK(typed ? std::fabs(*typed) <= limit : !fits);
    if (verdict == coordinates::Verdict::OutOfRange)
        FUZZ_CHECK(typed ? std::fabs(*typed) >= limit : !fits);
    if (decimal && verdict == coordinates::Verdict::NotDecimal)
        FUZZ_CHECK(!typed);
}

// ASCII letters in the other case: SQL keywords are the same in any case.
QString swapCase(const QString& name)
{
    QString swapped = name;
    for (QChar& c : swapped) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
        else if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return swapped;
}

void checkTableName(const QString& name)
{
    const bool taken = PoiStatement::checkTableName(name).ok();
    FUZZ_CHECK(taken == PoiStatement::checkTableName(swapCase(name)).ok());
    if (!taken)
        return;
    FUZZ_CHECK(!name.isEmpty() && !(name[0] >= u'0' && name[0] <= u'9'));
    for (const QChar c : name)
        FUZZ_CHECK(c == u'_' || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                   (c >= u'0' && c <= u'9'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QByteArray value(reinterpret_cast<const char*>(data), qsizetype(size));
    checkCoordinate(value, 90);
    checkCoordinate(value, 180);
    checkTableName(QString::fromUtf8(value));
    return 0;
}
