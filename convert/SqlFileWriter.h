#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// "Save to file.": one statement per line, each line ended by CR LF. The lines go to a
// temporary file beside the target, which takes the target's place only at commit(): a failed
// or cancelled conversion leaves whatever file stood there untouched.
class SqlFileWriter
{
public:
    SqlFileWriter() = default;
    SqlFileWriter(const SqlFileWriter&) = delete;
    SqlFileWriter& operator=(const SqlFileWriter&) = delete;

    // False when the file cannot be created; errorString() gives the system's reason.
    bool open(const QString& path);
    // False once writing has failed (disk full, …); the statement has no line end of its own.
    bool write(const QByteArray& statement);
    // Writes what is buffered and puts the file in place; false when anything failed.
    bool commit();
    // Drops what was written; the target stays as it was. The destructor does the same.
    void cancel();

    QString errorString() const { return m_error; }

private:
    bool flush();
    bool writeOut(QByteArrayView bytes);

    QSaveFile m_file;
    QByteArray m_buffer;
    QString m_error;
    bool m_failed = false;
};
