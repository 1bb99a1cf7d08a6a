// SPDX-License-Identifier: GPL-3.0-or-later
// Any two texts as a POI's label and description read from the database: the export writes them
// into a GPX file, or leaves the POI out when a text holds a character GPX cannot carry; what it
// writes must read back through the scanner as exactly the same texts, cut into blocks anywhere.

#include "FuzzChecks.h"

#include "GpxScanner.h"
#include "GpxWriter.h"
#include "OutputFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    // Any UTF-16 code units, lone surrogates included, as the database's texts may hold.
    QString units(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, size_t(units.size()) * 2);
    const qsizetype third = units.size() / 3;
    const GpxPoint point{QStringLiteral("51.5"), QStringLiteral("-0.12"), units.first(third),
                         units.sliced(third, third), units.sliced(2 * third)};
    if (GpxWriter::unwritableAt(units) >= 0)
        return 0;
    // The category record carries the same texts back.
    const GpxCategoryInfo category{point.type, point.name, size % 2 == 0};

    // The writer writes through an output file; one temporary stream serves every run, and
    // only what this run wrote is read back.
    static std::FILE* const stream = std::tmpfile();
    FUZZ_CHECK(stream && std::fseek(stream, 0, SEEK_SET) == 0);
    OutputFile out;
    out.open(stream);
    GpxWriter writer(out);
    FUZZ_CHECK(writer.begin() && writer.write(point) && writer.writeCategories({category}) &&
               writer.end() && out.commit().ok());
    const long written = std::ftell(stream);
    FUZZ_CHECK(written > 0 && std::fseek(stream, 0, SEEK_SET) == 0);
    QByteArray document(qsizetype(written), Qt::Uninitialized);
    FUZZ_CHECK(std::fread(document.data(), 1, size_t(written), stream) == size_t(written));
    QBuffer file(&document);

    GpxScanner scanner;
    scanner.setBlockSize(qsizetype(1 + size % 17));
    scanner.setBlockReading(BlockReading::Inline);
    int waypoints = 0;
    scanner.setWaypointHandler([&](const Waypoint& w) {
        ++waypoints;
        FUZZ_CHECK(w.lat == "51.5" && w.lon == "-0.12");
        FUZZ_CHECK(w.name == point.name.toUtf8() && w.desc == point.desc.toUtf8() &&
                   w.type == point.type.toUtf8());
        return true;
    });
    int categories = 0;
    scanner.setCategoryHandler([&](const GpxCategory& c) {
        ++categories;
        FUZZ_CHECK(c.label == category.label.toUtf8() && c.desc == category.desc.toUtf8() &&
                   c.enabled == category.enabled);
    });
    scanner.setProblemHandler([](const GpxProblem&) { FUZZ_CHECK(false); });
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    FUZZ_CHECK(scanner.scan(file).ok() && waypoints == 1 && categories == 1);
    return 0;
}
