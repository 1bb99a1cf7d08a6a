// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutputFile.h"

#include <FileName.h>

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <utility>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

constexpr qsizetype kFlushAt = 1 << 20;

// Forces the written bytes to the disk: a full or failing disk may say so only here. (The
// save file syncs too, but does not look at the answer.)
bool syncToDisk([[maybe_unused]] int handle)
{
#ifdef Q_OS_UNIX
    return ::fsync(handle) == 0;
#else
    return true;
#endif
}

} // namespace

bool OutputFile::writeWhole(QFileDevice& file, QByteArrayView bytes)
{
    // A write cut short (the disk filled up) says why only when tried again.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

Outcome<> OutputFile::open(const QString& path)
{
    cancel();
    m_failed = false;
    m_readerGone = false;
    m_error.clear();
    m_buffer.resize(0);
    if (const Outcome<> name = FileName::check(path); !name) {
        fail(name.problem().message);
        return name;
    }
    const QFileInfo info(path);
    // Renaming over a FIFO or a device would put a plain file in its place.
    if (info.exists() && !info.isFile() && !info.isDir()) {
        m_direct.setFileName(path);
        if (!m_direct.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return failure(m_direct.errorString());
        m_file = &m_direct;
    } else {
        m_save.setFileName(path);
        // Unbuffered, so that every failed write reaches the save file's own error state: a
        // failure in a buffered flush would not stop commit() from replacing the target.
        if (!m_save.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return failure(m_save.errorString());
        m_file = &m_save;
    }
    m_buffer.reserve(kFlushAt + 4096);
    return {};
}

void OutputFile::open(std::FILE* stream)
{
    cancel();
    m_stream = stream;
    m_failed = false;
    m_readerGone = false;
    m_error.clear();
    m_buffer.resize(0);
    m_buffer.reserve(kFlushAt + 4096);
}

bool OutputFile::fail(const QString& error)
{
    m_error = error;
    m_failed = true;
    return false;
}

Problem OutputFile::failure(const QString& error)
{
    fail(error);
    return Problem{error, {}, 0};
}

Outcome<> OutputFile::status() const
{
    if (m_error.isEmpty())
        return {};
    return Problem{m_error, {}, 0};
}

bool OutputFile::write(QByteArrayView bytes, QByteArrayView end)
{
    if (m_failed || (!m_file && !m_stream))
        return false;
    if (bytes.size() >= kFlushAt) { // a very long piece goes out without a copy
        if (!flush() || !writeOut(bytes))
            return false;
        bytes = {};
    }
    // One copy into the block, the line end with it.
    const qsizetype old = m_buffer.size();
    m_buffer.resize(old + bytes.size() + end.size());
    char* to = m_buffer.data() + old;
    if (!bytes.isEmpty())
        std::memcpy(to, bytes.data(), size_t(bytes.size()));
    to += bytes.size();
    for (const char c : end) // a line end: a byte or two, not worth a call
        *to++ = c;
    return m_buffer.size() < kFlushAt || flush();
}

bool OutputFile::writeOut(QByteArrayView bytes)
{
    if (m_stream) {
        errno = 0;
        if (std::fwrite(bytes.data(), 1, size_t(bytes.size()), m_stream) == size_t(bytes.size()))
            return true;
        m_readerGone = errno == EPIPE;
        return fail(QString::fromLocal8Bit(std::strerror(errno ? errno : EIO)));
    }
    return writeWhole(*m_file, bytes) || fail(m_file->errorString());
}

bool OutputFile::flush()
{
    if (m_buffer.isEmpty())
        return true;
    if (!writeOut(m_buffer))
        return false;
    m_buffer.resize(0);
    return true;
}

Outcome<> OutputFile::commit()
{
    if (!m_file && !m_stream)
        return status();
    if (m_failed || !flush()) {
        cancel();
        return status();
    }
    if (m_stream) {
        std::FILE* stream = std::exchange(m_stream, nullptr);
        errno = 0;
        if (std::fflush(stream) == 0 && !std::ferror(stream))
            return {};
        const int error = errno ? errno : EIO;
        m_readerGone = error == EPIPE;
        return failure(QString::fromLocal8Bit(std::strerror(error)));
    }
    if (m_file == &m_direct) { // written unbuffered: nothing is left to flush
        m_file = nullptr;
        m_direct.close();
        return {};
    }
    if (!syncToDisk(int(m_save.handle()))) {
        const int error = errno;
        cancel();
        return failure(QString::fromLocal8Bit(std::strerror(error)));
    }
    m_file = nullptr;
    if (!m_save.commit())
        return failure(m_save.errorString());
    return {};
}

void OutputFile::cancel()
{
    if (m_file == &m_save) {
        m_save.cancelWriting();
        m_save.commit(); // removes the temporary file; the target is untouched
    }
    m_direct.close(); // a FIFO or a device keeps what it was sent
    m_file = nullptr;
    m_stream = nullptr;
}
