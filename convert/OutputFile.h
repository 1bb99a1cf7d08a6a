// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Outcome.h>

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cstdio>

// Where statements or a GPX document are written, checked to the end: every write, the final
// flush and the commit. A regular file (or a new name) is written to a temporary file beside
// it, which takes its place only at commit(): a failed or cancelled run leaves the earlier
// file as it was. What cannot be replaced (a FIFO, a device) is written directly, and a
// stream such as standard output is written and flushed.
class OutputFile
{
public:
    OutputFile() = default;
    ~OutputFile() { cancel(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Fails, with the system's reason, when the file cannot be created.
    Outcome<> open(const QString& path);
    // Writes to `stream`, which stays open; named "standard output" in messages.
    void open(std::FILE* stream);
    // Gathers the bytes, then `end` (a line end, say), copied, and writes them out in large
    // blocks; false once writing has failed (a full disk, a closed pipe …), status() then
    // saying why.
    bool write(QByteArrayView bytes, QByteArrayView end = {});
    // Writes what is gathered, makes it durable and puts the file in place; fails when
    // anything failed, the earlier file then untouched.
    Outcome<> commit();
    // Drops what was written; an earlier file stays as it was. The destructor does the same.
    void cancel();

    // The reader of the stream went away (a closed pipe): nobody is there to be told.
    bool readerGone() const { return m_readerGone; }
    // Fine so far, or the system's reason for the failure.
    Outcome<> status() const;

    // Writes all of `bytes` to an unbuffered file; false, with the file's errorString()
    // saying why, when the system takes only part.
    static bool writeWhole(QFileDevice& file, QByteArrayView bytes);

private:
    bool flush();
    bool writeOut(QByteArrayView bytes);
    bool fail(const QString& error);
    Problem failure(const QString& error);

    QSaveFile m_save;
    QFile m_direct; // a FIFO or a device
    std::FILE* m_stream = nullptr;
    QFileDevice* m_file = nullptr; // m_save or m_direct while open
    QByteArray m_buffer;
    QString m_error;
    bool m_failed = false;
    bool m_readerGone = false;
};
