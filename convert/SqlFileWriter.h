#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// "Save to file.": one statement per line, each line ended by CR LF. The file is created or
// emptied by open(), before anything is scanned.
class SqlFileWriter
{
public:
    SqlFileWriter() = default;
    ~SqlFileWriter();
    SqlFileWriter(const SqlFileWriter&) = delete;
    SqlFileWriter& operator=(const SqlFileWriter&) = delete;

    // False when the file cannot be created; errorString() gives the system's reason.
    bool open(const QString& path);
    // False once writing has failed (disk full, …); the statement has no line end of its own.
    bool write(const QByteArray& statement);
    // Writes what is buffered and closes; false when anything could not be written.
    bool close();

    QString errorString() const { return m_error; }

private:
    bool flush();

    QFile m_file;
    QByteArray m_buffer;
    QString m_error;
    bool m_failed = false;
};
