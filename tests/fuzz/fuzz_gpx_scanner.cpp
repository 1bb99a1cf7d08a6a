// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a GPX file: the scan must end, and every statement must be one well-formed
// INSERT of five values on one line, free of forbidden characters, that gives back the
// waypoint's own texts. The same bytes read in small blocks, on the scanning thread or now and
// then through the read-ahead thread, must give the same waypoints and problems.

#include "FuzzChecks.h"

#include "GpxScanner.h"
#include "PoiStatement.h"
#include "SqlText.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// What a scan found, in order; the waypoints' fields are flattened into one text, which is cheap
// to build and to compare.
struct ScanRecord
{
    std::string waypoints; // line, lat, lon, name and desc of each, every field ended by a NUL
    qint64 waypointCount = 0;
    std::vector<Problem> problems;
    bool scanned = false;
    QString failure; // why the scan failed
};

void appendField(std::string& to, QByteArrayView field)
{
    to.append(field.data(), size_t(field.size()));
    to.push_back('\0');
}

bool sameProblems(const std::vector<Problem>& a, const std::vector<Problem>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Problem& x, const Problem& y) {
                          return x.line == y.line && x.message == y.message && x.detail == y.detail;
                      });
}

// Optional sign, digits, optional fraction, at least one digit; finite and within limit.
bool isCoordinate(std::string_view text, double limit)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i, ++digits;
    }
    if (i != text.size() || digits == 0)
        return false;
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    return end == copy.c_str() + copy.size() && std::isfinite(value) && std::fabs(value) <= limit;
}

std::string_view view(QByteArrayView bytes)
{
    return {bytes.data(), size_t(bytes.size())};
}

void checkStatement(const Waypoint& w, std::string_view s)
{
    constexpr std::string_view prefix = "INSERT INTO poi(lat,lon,label,desc,cat_id) VALUES(";
    constexpr std::string_view suffix = ",1);";
    FUZZ_CHECK(s.substr(0, prefix.size()) == prefix);
    size_t at = prefix.size();

    // lat and lon: numbers as written in the file.
    const size_t latEnd = s.find(',', at);
    FUZZ_CHECK(latEnd != std::string_view::npos);
    const std::string_view lat = s.substr(at, latEnd - at);
    FUZZ_CHECK(isCoordinate(lat, 90) && lat == view(w.lat));
    at = latEnd + 1;
    const size_t lonEnd = s.find(',', at);
    FUZZ_CHECK(lonEnd != std::string_view::npos);
    const std::string_view lon = s.substr(at, lonEnd - at);
    FUZZ_CHECK(isCoordinate(lon, 180) && lon == view(w.lon));
    at = lonEnd + 1;

    // label and desc: literals that read back as the texts.
    std::string label, desc;
    FUZZ_CHECK(readSqlLiteral(s, &at, &label) && label == view(w.name));
    FUZZ_CHECK(at < s.size() && s[at] == ',');
    ++at;
    FUZZ_CHECK(readSqlLiteral(s, &at, &desc) && desc == view(w.desc));

    // cat_id, and nothing after the statement's end.
    FUZZ_CHECK(s.substr(at) == suffix);

    // One line, with no character XML forbids: no control but tab (a NUL would end the shell's
    // line, 0x1E and 0x1F split listed rows), no U+FFFE, U+FFFF or surrogate.
    for (size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        FUZZ_CHECK(c >= 0x20 || c == '\t');
        const auto next = i + 2 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
        FUZZ_CHECK(!(c == 0xED && next >= 0xA0));
        FUZZ_CHECK(!(c == 0xEF && next == 0xBF && static_cast<unsigned char>(s[i + 2]) >= 0xBE));
    }

    // The texts are UTF-8 whatever the file's encoding, and the gateway spells them the same.
    const QString name = utf8Text(view(w.name));
    const QString description = utf8Text(view(w.desc));
    FUZZ_CHECK(name.toUtf8() == w.name && description.toUtf8() == w.desc);
    std::string literal;
    PoiStatement::appendLiteral(literal, w.name);
    FUZZ_CHECK(view(SqlText::literal(name).toUtf8()) == literal);
}

// Scans `bytes`; `check` has every waypoint's statement built and checked, which a scan that is
// compared with a checked one can leave out.
ScanRecord scan(const QByteArray& bytes, qsizetype blockSize, BlockReading reading, bool check)
{
    ScanRecord record;
    static const PoiStatement builder; // made once: its setup would cost more than the scan
    std::string statement;
    GpxScanner scanner;
    scanner.setBlockSize(blockSize);
    scanner.setBlockReading(reading);
    scanner.setWaypointHandler([&](const Waypoint& w) {
        if (check) {
            builder.build(w, statement);
            checkStatement(w, statement);
        }
        ++record.waypointCount;
        record.waypoints += std::to_string(w.line);
        record.waypoints.push_back('\0');
        for (const QByteArrayView field : {w.lat, w.lon, w.name, w.desc, w.type, w.sym})
            appendField(record.waypoints, field);
        return true;
    });
    scanner.setProblemHandler([&](const GpxProblem& problem) {
        FUZZ_CHECK(record.problems.empty() || record.problems.back().line <= problem.line);
        record.problems.push_back(problem);
    });
    QBuffer device;
    device.setData(bytes);
    FUZZ_CHECK(device.open(QIODevice::ReadOnly));
    const Outcome<> scanned = scanner.scan(device);
    record.scanned = scanned.ok();
    record.failure = scanned.problemText();
    FUZZ_CHECK(scanner.waypointCount() == record.waypointCount);
    FUZZ_CHECK(scanner.problemCount() == qint64(record.problems.size()));
    return record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    // One block for the whole input, as a file smaller than the default block is read; the
    // default itself would cost a megabyte of buffer on every run.
    const ScanRecord whole = scan(bytes, qsizetype(size) + 1, BlockReading::Auto, true);
    // Blocks of 1 to 71 bytes cut the constructs everywhere, short of, across and past a word of
    // the tag index; the size follows the input, not a byte of it. One input in 32 has its
    // blocks read on the read-ahead thread, so that the hand-off stays fuzzed; as each block is
    // a round trip between the threads, those blocks are at least an eighth of the input.
    const bool threaded = size % 32 == 0;
    const qsizetype blockSize =
        std::max(qsizetype(1 + size % 71), threaded ? qsizetype(size / 8) : 1);
    const ScanRecord cut =
        scan(bytes, blockSize, threaded ? BlockReading::Threaded : BlockReading::Inline, false);
    FUZZ_CHECK(whole.scanned == cut.scanned && whole.failure == cut.failure);
    FUZZ_CHECK(whole.waypoints == cut.waypoints);
    FUZZ_CHECK(sameProblems(whole.problems, cut.problems));
    return 0;
}
