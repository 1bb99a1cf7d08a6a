#include "DirectLoader.h"

namespace {

// The waypoints of the temporary table that the category already holds. Rows with NULLs are
// left out of the comparison: they equal nothing.
QByteArray heldInDatabase(const QString& table, int category)
{
    return QStringLiteral("(lat,lon,label) IN (SELECT lat,lon,label FROM main.%1 WHERE cat_id=%2 "
                          "AND lat IS NOT NULL AND lon IS NOT NULL AND label IS NOT NULL)")
        .arg(table)
        .arg(category)
        .toUtf8();
}

} // namespace

DirectLoader::DirectLoader(const QString& dbPath, const QString& table, int category,
                           Duplicates duplicates)
    : m_dbPath(dbPath), m_table(table), m_category(category), m_duplicatesMode(duplicates),
      m_batch(dbPath)
{
    if (m_duplicatesMode != Duplicates::Load) {
        m_batch.keepOutput();
        // The compared copy of the file lives in memory, not in a temporary file: a third faster.
        m_batch.setSetup("PRAGMA temp_store=MEMORY;");
    }
}

bool DirectLoader::start()
{
    m_error = DatabaseShell::databaseFileProblem(m_dbPath);
    if (!m_error.isEmpty())
        return false;
    if (!m_batch.start()) {
        fail(QStringLiteral("The sqlite3 shell could not be started; nothing was loaded."));
        return false;
    }
    m_active = true;
    // A table of the real one's column types, so that values are stored as they would be.
    if (m_duplicatesMode != Duplicates::Load &&
        !m_batch.add(QStringLiteral("CREATE TEMP TABLE %1 AS SELECT lat,lon,label,desc,cat_id "
                                    "FROM main.%1 WHERE 0;")
                         .arg(m_table)
                         .toUtf8())) {
        fail(QStringLiteral("The database has no table %1 to load into.").arg(m_table));
        m_batch.finish(false);
        return false;
    }
    return true;
}

bool DirectLoader::add(const QByteArray& statement)
{
    if (!m_active)
        return false;
    if (!m_batch.add(statement)) {
        fail(QStringLiteral("Loading into the database failed; nothing was loaded."));
        const ShellResult ended = m_batch.finish(false);
        if (m_detail.isEmpty())
            m_detail = ended.errorMessage;
        return false;
    }
    ++m_sent;
    return true;
}

bool DirectLoader::finish(bool commit)
{
    if (!m_active)
        return false;
    m_active = false;
    const QByteArray held = heldInDatabase(m_table, m_category);
    if (commit && m_duplicatesMode == Duplicates::Count) {
        m_batch.add("SELECT count(*) FROM temp." + m_table.toUtf8() + " WHERE " + held + ';');
        commit = false;
    } else if (commit && m_duplicatesMode == Duplicates::Skip) {
        // Deleted first, then copied: an INSERT that reads its own target in the filter
        // compares every row with every row.
        const QByteArray table = m_table.toUtf8();
        m_batch.add("DELETE FROM temp." + table + " WHERE " + held + ';');
        m_batch.add("INSERT INTO main." + table + "(lat,lon,label,desc,cat_id) SELECT lat,lon,"
                    "label,desc,cat_id FROM temp." + table + " ORDER BY rowid;");
        m_batch.add("SELECT changes(), " + QByteArray::number(m_sent) + "-changes();");
    }
    const ShellResult result = m_batch.finish(commit);
    if (result.ok && m_duplicatesMode != Duplicates::Load) {
        const QStringList last = result.rows.value(result.rows.size() - 1);
        if (m_duplicatesMode == Duplicates::Count) {
            m_duplicates = last.value(0).toLongLong();
        } else {
            m_loaded = last.value(0).toLongLong();
            m_duplicates = last.value(1).toLongLong();
        }
    } else if (result.ok) {
        m_loaded = m_sent;
    }
    if (!result.ok) {
        m_detail = result.errorMessage;
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
    m_detail = m_batch.result().errorMessage;
}
