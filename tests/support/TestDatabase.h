// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

// A real POI database made from the sample schema in a temporary folder, and a direct line
// to the sqlite3 shell for checking what a test stored, independent of the code under test.
class TestDatabase
{
public:
    explicit TestDatabase(const QString& fileName = QStringLiteral("poi.db"))
        : m_path(m_dir.filePath(fileName))
    {
        QFile schema(QStringLiteral(GEOFILL_SAMPLES_DIR "/schema.sql"));
        if (!schema.open(QIODevice::ReadOnly))
            qFatal("cannot read the sample schema");
        m_ok = shell(QString::fromUtf8(schema.readAll())).has_value();
    }

    bool isValid() const { return m_ok && m_dir.isValid(); }
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    // Runs `sql` in a plain sqlite3 shell; the output with "|" between fields and "\n" after
    // rows, or nothing when the shell failed.
    std::optional<QString> shell(const QString& sql) const
    {
        QProcess process;
        process.start(QStringLiteral("sqlite3"),
                      {QStringLiteral("-init"), QProcess::nullDevice(), QStringLiteral("-batch"),
                       QStringLiteral("-bail"), m_path});
        if (!process.waitForStarted())
            return std::nullopt;
        process.write(sql.toUtf8() + '\n');
        process.closeWriteChannel();
        process.waitForFinished(-1);
        const QByteArray error = process.readAllStandardError();
        if (process.exitCode() != 0 || !error.isEmpty()) {
            qWarning("sqlite3: %s", error.constData());
            return std::nullopt;
        }
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    // The whole table as the plain shell prints it; for "nothing changed" checks.
    QString dump(const QString& table) const
    {
        return shell(QStringLiteral("select * from %1 order by 1;").arg(table))
            .value_or(QStringLiteral("<failed>"));
    }

    int count(const QString& table) const
    {
        return shell(QStringLiteral("select count(*) from %1;").arg(table))
            .value_or(QStringLiteral("-1"))
            .trimmed()
            .toInt();
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_ok = false;
};

// Holds an exclusive lock on a database from a second sqlite3 process until destroyed.
class DatabaseLocker
{
public:
    // With releaseAfterMs, only for that long, as a program in the middle of a save would:
    // it holds the write lock, and readers may go on.
    explicit DatabaseLocker(const QString& dbPath, int releaseAfterMs = -1)
    {
        m_process.start(QStringLiteral("sqlite3"),
                        {QStringLiteral("-init"), QProcess::nullDevice(), dbPath});
        m_process.waitForStarted();
        // The select answers once the lock is held.
        m_process.write(releaseAfterMs < 0 ? "BEGIN EXCLUSIVE;\n" : "BEGIN IMMEDIATE;\n");
        m_process.write("select 'locked';\n");
        if (releaseAfterMs >= 0)
            m_process.write(".system sleep " + QByteArray::number(releaseAfterMs / 1000.0) +
                            "\nROLLBACK;\n");
        m_process.waitForReadyRead(5000);
    }
    ~DatabaseLocker()
    {
        m_process.write("ROLLBACK;\n");
        m_process.closeWriteChannel();
        m_process.waitForFinished(5000);
    }
    bool isLocking() const { return m_process.state() == QProcess::Running; }

private:
    QProcess m_process;
};
