// SPDX-License-Identifier: GPL-3.0-or-later
#include "PoiExport.h"

#include "GpxWriter.h"
#include "OutputFile.h"

#include <DatabaseShell.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

namespace {

// The shell's quote() gives a real number with every digit it needs to come back exactly;
// GPX wants it as a plain decimal within `limit`.
std::optional<QString> coordinate(QStringView quoted, double limit)
{
    bool isNumber = false;
    const double value = quoted.toDouble(&isNumber);
    if (!isNumber || value < -limit || value > limit)
        return std::nullopt;
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

// Texts come hex-encoded, so that no byte of theirs can be taken for the shell's separators.
QString text(QStringView hex, bool* valid)
{
    const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
    const QString decoded = QString::fromUtf8(bytes);
    if (decoded.toUtf8() != bytes)
        *valid = false;
    return decoded;
}

Problem failure(const QString& message, const QString& detail = {})
{
    return Problem{message, detail, 0};
}

} // namespace

Outcome<ExportSummary> exportPois(const ExportRequest& rq, const StopCheck& stop, bool* readerGone)
{
    if (readerGone)
        *readerGone = false;
    ExportSummary result;
    if (!rq.stream && QFileInfo::exists(rq.outputPath) &&
        QFileInfo(rq.outputPath).canonicalFilePath() == QFileInfo(rq.dbPath).canonicalFilePath())
        return failure(QCoreApplication::translate("PoiExport", "The GPX file %1 is the database itself; choose "
                                      "another name.")
                           .arg(rq.outputPath));

    QString statement = QStringLiteral(
        "SELECT p.rowid, quote(p.lat), quote(p.lon), hex(p.label), hex(p.desc), hex(c.label) "
        "FROM poi p LEFT JOIN category c ON c.rowid = p.cat_id");
    QStringList conditions;
    if (rq.category)
        conditions << QStringLiteral("p.cat_id = %1").arg(*rq.category);
    if (!rq.ids.isEmpty()) {
        QStringList numbers;
        numbers.reserve(rq.ids.size());
        for (qint64 id : rq.ids)
            numbers << QString::number(id);
        conditions << QStringLiteral("p.rowid IN (%1)").arg(numbers.join(u','));
    }
    if (!conditions.isEmpty())
        statement += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    statement += QStringLiteral(" ORDER BY p.rowid;");

    OutputFile file;
    if (rq.stream)
        file.open(rq.stream);
    else if (const Outcome<> opened = file.open(rq.outputPath); !opened)
        return failure(QCoreApplication::translate("PoiExport", "Cannot create the GPX file %1.").arg(rq.outputPath),
                       opened.problem().message);
    // The rows go to the file as the shell prints them; the header waits for the first, so
    // that a database that cannot be read leaves nothing on standard output.
    GpxWriter writer(file);
    bool begun = false;
    bool writeOk = true;
    const Outcome<> listing = DatabaseShell::runStatementStreamed(
        rq.dbPath, statement,
        [&](std::span<const QStringView> f) {
            if (f.size() < 6)
                return true;
            bool valid = true;
            GpxPoint point{{}, {}, text(f[3], &valid), text(f[4], &valid), text(f[5], &valid)};
            const std::optional<QString> lat = coordinate(f[1], 90);
            const std::optional<QString> lon = coordinate(f[2], 180);
            const qint64 number = f[0].toLongLong();
            if (!lat || !lon) {
                result.leftOut.append(
                    {number, point.name,
                     failure(QCoreApplication::translate("PoiExport", "Its coordinates are not numbers within range."))});
                return true;
            }
            for (const QString* t : {&point.name, &point.desc, &point.type}) {
                if (!valid || GpxWriter::unwritableAt(*t) >= 0) {
                    result.leftOut.append(
                        {number, point.name,
                         failure(QCoreApplication::translate("PoiExport", "Its texts hold a character a GPX file cannot "
                                                "carry."))});
                    return true;
                }
            }
            point.lat = *lat;
            point.lon = *lon;
            if (!begun)
                writeOk = begun = writer.begin();
            writeOk = writeOk && writer.write(point);
            result.written += writeOk ? 1 : 0;
            return writeOk;
        },
        stop, rq.shell);
    if (stop && stop())
        return failure(QCoreApplication::translate("PoiExport", "The export was stopped; no file was written."));
    if (listing && !begun)
        writeOk = writer.begin();
    if (listing && writeOk) {
        // The categories of the POIs written, for a load to make them as they were; a whole
        // database takes its empty categories along too.
        QList<GpxCategoryInfo> categories;
        const Outcome<ShellRowList> rows = DatabaseShell::runStatement(
            rq.dbPath,
            QStringLiteral("SELECT hex(c.label), hex(c.desc), coalesce(c.enabled, 1) != 0 FROM "
                           "category c%1 ORDER BY c.rowid;")
                .arg(conditions.isEmpty()
                         ? QString()
                         : QStringLiteral(" WHERE c.rowid IN (SELECT p.cat_id FROM poi p WHERE %1)")
                               .arg(conditions.join(QStringLiteral(" AND ")))),
            stop, rq.shell);
        if (!rows)
            return failure(QCoreApplication::translate("PoiExport", "The categories could not be read from the database."),
                           rows.problemText());
        for (const QStringList& row : *rows) {
            bool valid = true;
            GpxCategoryInfo info{text(row.value(0), &valid), text(row.value(1), &valid),
                                 row.value(2) != u"0"};
            if (valid && GpxWriter::unwritableAt(info.label) < 0 && GpxWriter::unwritableAt(info.desc) < 0)
                categories.append(info);
        }
        writeOk = writer.writeCategories(categories);
    }
    if (!listing && writeOk)
        return failure(QCoreApplication::translate("PoiExport", "The POIs could not be read from the database."),
                       listing.problemText());
    if (writeOk && writer.end() && file.commit())
        return result;
    if (readerGone)
        *readerGone = file.readerGone();
    return failure(rq.stream ? QCoreApplication::translate("PoiExport", "Writing the GPX text to standard output failed.")
                             : QCoreApplication::translate("PoiExport", "Writing the GPX file %1 failed.").arg(rq.outputPath),
                   file.status().problemText());
}
