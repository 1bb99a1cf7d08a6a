#include "SqlFileWriter.h"

namespace {
constexpr qsizetype kFlushAt = 1 << 20;
}

SqlFileWriter::~SqlFileWriter()
{
    discard();
}

void SqlFileWriter::discard()
{
    if (m_file.isOpen()) {
        m_file.cancelWriting();
        m_file.commit(); // closes without replacing the target after cancelWriting()
    }
    m_buffer.resize(0);
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
    m_buffer.append(statement);
    m_buffer.append("\r\n", 2);
    return m_buffer.size() < kFlushAt || flush();
}

bool SqlFileWriter::flush()
{
    if (m_buffer.isEmpty())
        return true;
    if (m_file.write(m_buffer) != m_buffer.size()) {
        m_error = m_file.errorString();
        m_failed = true;
        return false;
    }
    m_buffer.resize(0);
    return true;
}

bool SqlFileWriter::close()
{
    if (!m_file.isOpen())
        return !m_failed;
    const bool flushed = !m_failed && flush();
    if (!flushed)
        m_file.cancelWriting();
    const bool synced = m_file.commit();
    if (flushed && !synced && m_error.isEmpty()) {
        m_error = m_file.errorString();
        m_failed = true;
    }
    return flushed && synced && !m_failed;
}
