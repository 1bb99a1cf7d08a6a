#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// "Save to file.": one statement per line, each line ended by CR LF. The lines go to a
// temporary file beside the target, which replaces the target only when close() succeeds:
// a failed or abandoned run leaves any earlier file at that path as it was.
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
    // Writes what is buffered and puts the file in place; false when anything could not be
    // written.
    bool close();
    // Drops everything written; the target stays as it was. Also done on destruction when
    // close() was not called.
    void discard();

    QString errorString() const { return m_error; }

private:
    bool flush();

    QSaveFile m_file;
    QByteArray m_buffer;
    QString m_error;
    bool m_failed = false;
};
