#include "DirectLoader.h"

DirectLoader::DirectLoader(const QString& dbPath) : m_dbPath(dbPath), m_batch(dbPath) {}

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
    const ShellResult result = m_batch.finish(commit);
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
