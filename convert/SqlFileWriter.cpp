#include "SqlFileWriter.h"

namespace {
constexpr qsizetype kFlushAt = 1 << 20;
}

bool SqlFileWriter::open(const QString& path)
{
    m_file.setFileName(path);
    m_failed = false;
    m_error.clear();
    m_buffer.resize(0);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_error = m_file.errorString();
        m_failed = true;
        return false;
    }
    m_buffer.reserve(kFlushAt + 4096);
    return true;
}

bool SqlFileWriter::write(const QByteArray& statement)
{
    if (m_failed || !m_file.isOpen())
        return false;
    if (statement.size() < kFlushAt)
        m_buffer.append(statement);
    else if (!flush() || !writeOut(statement)) // a very long one goes out without a copy
        return false;
    m_buffer.append("\r\n", 2);
    return m_buffer.size() < kFlushAt || flush();
}

// Copies as it writes: the statement may be a view of a buffer that is overwritten next.
bool SqlFileWriter::writeOut(QByteArrayView bytes)
{
    if (m_file.write(bytes.data(), bytes.size()) != bytes.size()) {
        m_error = m_file.errorString();
        m_failed = true;
        return false;
    }
    return true;
}

bool SqlFileWriter::flush()
{
    if (m_buffer.isEmpty())
        return true;
    if (!writeOut(m_buffer))
        return false;
    m_buffer.resize(0);
    return true;
}

bool SqlFileWriter::commit()
{
    if (!m_file.isOpen())
        return !m_failed;
    if (m_failed || !flush()) {
        cancel();
        return false;
    }
    if (!m_file.commit()) {
        m_error = m_file.errorString();
        m_failed = true;
        return false;
    }
    return true;
}

void SqlFileWriter::cancel()
{
    if (!m_file.isOpen())
        return;
    m_file.cancelWriting();
    m_file.commit(); // removes the temporary file; the target is untouched
}
