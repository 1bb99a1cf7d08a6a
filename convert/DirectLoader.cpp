#include "DirectLoader.h"

#include "ByteSearch.h"

#include <ShellRows.h>

#include <QFileInfo>

namespace {

// Rows gathered before a write, and bytes per file the shell imports: small enough that the
// shell starts early and works while the rest of the file is scanned.
constexpr size_t kWriteBytes = 256 * 1024;
constexpr qint64 kChunkBytes = 2 * 1024 * 1024;

// The temporary table the rows are imported into, every value as text.
constexpr char kStaging[] = "geofill_load";

// The columns as the waypoint's INSERT statement gives them: the coordinates are numbers in
// the statement, so "*1" turns their text into the same integer or real value.
QByteArray stagedColumns(int category)
{
    return "lat*1,lon*1,label,desc," + QByteArray::number(category);
}

// The staged waypoints that the category already holds. Rows with NULLs are left out of the
// comparison: they equal nothing.
QByteArray heldInDatabase(const QString& table, int category)
{
    return QStringLiteral("(lat*1,lon*1,label) IN (SELECT lat,lon,label FROM main.%1 WHERE "
                          "cat_id=%2 AND lat IS NOT NULL AND lon IS NOT NULL AND label IS NOT "
                          "NULL)")
        .arg(table)
        .arg(category)
        .toUtf8();
}

bool holdsSeparator(QByteArrayView text)
{
    const char* end = text.data() + text.size();
    return findAny<'\0', ShellRows::kFieldEnd, ShellRows::kRowEnd>(text.data(),
                                                                                 end) != end;
}

void appendField(std::string& rows, QByteArrayView text, char end)
{
    rows.append(text.data(), size_t(text.size()));
    rows += end;
}

} // namespace

DirectLoader::DirectLoader(const QString& dbPath, const QString& table, int category,
                           Duplicates duplicates, const ShellOptions& shell)
    : m_dbPath(dbPath), m_table(table), m_category(category), m_duplicatesMode(duplicates),
      m_batch(dbPath, shell)
{
    if (m_duplicatesMode != Duplicates::Load) {
        m_batch.keepOutput();
        // The compared copy of the file lives in memory, not in a temporary file: a third faster.
        m_batch.setSetup("PRAGMA temp_store=MEMORY;");
    }
}

bool DirectLoader::start()
{
    if (auto missing = DatabaseShell::databaseFileProblem(m_dbPath)) {
        m_error = missing->message;
        return false;
    }
    m_folder = std::make_unique<QTemporaryDir>();
    if (!m_folder->isValid()) {
        m_error = QStringLiteral("No temporary folder could be made for the load; nothing was "
                                 "loaded.");
        m_detail = m_folder->errorString();
        return false;
    }
    m_batch.setWorkingDirectory(m_folder->path());
    if (!m_batch.start()) {
        fail(QStringLiteral("The sqlite3 shell could not be started; nothing was loaded."));
        return false;
    }
    m_active = true;
    // The SELECT fails at once when the table or one of its columns is missing; it comes
    // first, so that the name cannot meet the staging table.
    if (!m_batch.add(QStringLiteral("SELECT lat,lon,label,desc,cat_id FROM %1 WHERE 0;"
                                    "CREATE TEMP TABLE %2(lat,lon,label,desc);")
                         .arg(m_table, QLatin1String(kStaging))
                         .toUtf8())) {
        fail(QStringLiteral("The database has no table %1 to load into.").arg(m_table));
        m_batch.finish(false);
        return false;
    }
    m_rows.reserve(kWriteBytes + 1024);
    return true;
}

bool DirectLoader::add(const Waypoint& waypoint)
{
    if (!m_active)
        return false;
    // The scanner lets none of these through; one would shift the fields of every later row.
    if (holdsSeparator(waypoint.lat) || holdsSeparator(waypoint.lon) ||
        holdsSeparator(waypoint.name) || holdsSeparator(waypoint.desc)) {
        abort();
        m_error = QStringLiteral("The waypoint of line %1 holds a control character that the "
                                 "database cannot take; nothing was loaded.")
                      .arg(waypoint.line);
        return false;
    }
    appendField(m_rows, waypoint.lat, ShellRows::kFieldEnd);
    appendField(m_rows, waypoint.lon, ShellRows::kFieldEnd);
    appendField(m_rows, waypoint.name, ShellRows::kFieldEnd);
    appendField(m_rows, waypoint.desc, ShellRows::kRowEnd);
    ++m_sent;
    if (m_rows.size() >= kWriteBytes && !importChunk()) {
        fail(QStringLiteral("Loading into the database failed; nothing was loaded."));
        m_batch.abort();
        return false;
    }
    return true;
}

// Writes the gathered rows to the open chunk; a full chunk is closed and handed to the shell.
// `last` hands over whatever there is.
bool DirectLoader::importChunk(bool last)
{
    if (m_rows.empty() && !m_chunk.isOpen())
        return true;
    if (!m_chunk.isOpen()) {
        m_chunk.setFileName(m_folder->filePath(QStringLiteral("rows-%1.txt").arg(++m_chunks)));
        if (!m_chunk.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            m_detail = m_chunk.errorString();
            return false;
        }
    }
    if (m_chunk.write(m_rows.data(), qint64(m_rows.size())) != qint64(m_rows.size())) {
        m_detail = m_chunk.errorString();
        return false;
    }
    m_rows.clear();
    if (!last && m_chunk.size() < kChunkBytes)
        return true;
    const QString name = QFileInfo(m_chunk.fileName()).fileName();
    m_chunk.close();
    if (m_chunk.error() != QFileDevice::NoError) {
        m_detail = m_chunk.errorString();
        return false;
    }
    if (!m_batch.importFile(name, QLatin1String(kStaging)))
        return false;
    // A plain load copies each chunk at once, while the scan goes on, and keeps the staging
    // table small; the duplicate checks need the whole file there.
    return m_duplicatesMode != Duplicates::Load ||
           (m_batch.add(copyStatement()) &&
            m_batch.add("DELETE FROM temp." + QByteArray(kStaging) + ';'));
}

QByteArray DirectLoader::copyStatement() const
{
    return "INSERT INTO main." + m_table.toUtf8() + "(lat,lon,label,desc,cat_id) SELECT " +
           stagedColumns(m_category) + " FROM temp." + kStaging + " ORDER BY rowid;";
}

bool DirectLoader::finish(bool commit)
{
    if (!m_active)
        return false;
    m_active = false;
    if (!importChunk(true)) {
        m_error = QStringLiteral("Loading into the database failed; nothing was loaded.");
        if (m_detail.isEmpty())
            m_detail = textOf(m_batch.result().problem);
        m_batch.abort();
        return false;
    }
    const QByteArray staging(kStaging);
    const QByteArray held = heldInDatabase(m_table, m_category);
    if (commit && m_duplicatesMode == Duplicates::Count) {
        m_batch.add("SELECT count(*) FROM temp." + staging + " WHERE " + held + ';');
        commit = false;
    } else if (commit && m_duplicatesMode == Duplicates::Skip) {
        // Deleted first, then copied: an INSERT that reads its own target in the filter
        // compares every row with every row.
        m_batch.add("DELETE FROM temp." + staging + " WHERE " + held + ';');
        m_batch.add(copyStatement());
        m_batch.add("SELECT changes(), " + QByteArray::number(m_sent) + "-changes();");
    }
    const ShellResult result = m_batch.finish(commit);
    if (result.ok() && m_duplicatesMode != Duplicates::Load) {
        const QStringList last = result.rows.value(result.rows.size() - 1);
        if (m_duplicatesMode == Duplicates::Count) {
            m_duplicates = last.value(0).toLongLong();
        } else {
            m_loaded = last.value(0).toLongLong();
            m_duplicates = last.value(1).toLongLong();
        }
    } else if (result.ok()) {
        m_loaded = m_sent;
    }
    if (!result.ok()) {
        m_detail = result.problem->text();
        m_error = QStringLiteral("Loading into the database failed; nothing was loaded.");
        return false;
    }
    return true;
}

void DirectLoader::abort()
{
    if (!m_active)
        return;
    m_active = false;
    m_batch.abort();
}

void DirectLoader::fail(const QString& sentence)
{
    m_active = false;
    m_error = sentence;
    if (m_detail.isEmpty())
        m_detail = textOf(m_batch.result().problem);
}
