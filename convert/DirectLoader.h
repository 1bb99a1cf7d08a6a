#pragma once

#include <DatabaseShell.h>

#include <QByteArray>
#include <QString>

// What a load does with waypoints the database already holds in the same category (same
// lat, lon and label).
enum class Duplicates
{
    Load,  // loads them again
    Skip,  // leaves them out
    Count, // loads nothing: only counts them
};

// "Direct to Database": every statement goes through one sqlite3 shell inside one
// transaction, streamed as the file is scanned. All of them are loaded or none.
// To skip or count duplicates, the statements go into a temporary table of the same name and
// shape, which hides the real one; the whole file is then compared in one query at the end.
class DirectLoader
{
public:
    explicit DirectLoader(const QString& dbPath, const QString& table = QStringLiteral("poi"),
                          int category = 1, Duplicates duplicates = Duplicates::Load);

    // Asked while the load waits for the shell; true stops it before its COMMIT.
    void setStopCheck(StopCheck stop) { m_batch.setStopCheck(std::move(stop)); }
    // Checks the database file and starts the shell; false with error() on failure.
    // A missing file is refused here: the shell would create an empty database in its place.
    bool start();
    // Sends one statement; false once the load has failed.
    bool add(const QByteArray& statement);
    // Commits (or, with commit false, rolls back) and waits for the shell.
    bool finish(bool commit = true);
    // Gives up without committing; the database stays as it was.
    void abort();

    bool isActive() const { return m_active; }
    qint64 sentCount() const { return m_sent; }
    // After finish(): rows stored (none when counting), and waypoints found in the database.
    qint64 loadedCount() const { return m_loaded; }
    qint64 duplicateCount() const { return m_duplicates; }
    // One sentence for the user, and the shell's own message.
    QString error() const { return m_error; }
    QString errorDetail() const { return m_detail; }

private:
    void fail(const QString& sentence);

    QString m_dbPath;
    QString m_table;
    int m_category;
    Duplicates m_duplicatesMode;
    ShellBatch m_batch;
    qint64 m_loaded = 0;
    qint64 m_duplicates = 0;
    bool m_active = false;
    qint64 m_sent = 0;
    QString m_error;
    QString m_detail;
};
