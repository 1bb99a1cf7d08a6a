#include "DecodingWindow.h"

#include "ByteSearch.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

// The first bytes, where a BOM or the encoding declaration sits. A pipe hands over only what
// was written so far, so a sequential device is read until it has them all or ends; the
// transaction keeps them for the scan.
QByteArray peekHead(QIODevice& device, qint64 size)
{
    if (!device.isSequential())
        return device.peek(size);
    device.startTransaction();
    QByteArray head;
    while (head.size() < size) {
        const QByteArray more = device.read(size - head.size());
        if (more.isEmpty())
            break;
        head += more;
    }
    device.rollbackTransaction();
    return head;
}

} // namespace

DecodingWindow::DecodingWindow(qsizetype blockSize) : m_blockSize(blockSize), m_buf(16) {}

bool DecodingWindow::open(QIODevice& device)
{
    m_device = &device;
    m_len = m_pos = m_countedTo = 0;
    m_lines = 0;
    m_lastWasCR = false;
    m_sawCR = false;
    m_bytesRead = 0;
    m_error.clear();
    if (!m_decoding.setup(QByteArrayView(peekHead(device, 1024)))) {
        m_error = m_decoding.errorString();
        return false;
    }
    if (m_decoding.bomLength() > 0)
        device.skip(m_decoding.bomLength());
    m_bytesTotal = device.size();
    return true;
}

DecodingWindow::Fill DecodingWindow::fill()
{
    // Keep only what is not consumed yet: an unfinished tag, usually a few bytes.
    const bool stalled = m_len > 0 && m_pos == 0;
    if (m_pos > 0) {
        countLines(m_pos);
        std::memmove(m_buf.data(), m_buf.data() + m_pos, m_len - m_pos);
        m_len -= m_pos;
        m_countedTo -= m_pos;
        m_pos = 0;
    }
    // A construct longer than the window doubles the next read, so long ones stay linear.
    const qsizetype want = stalled ? std::max(m_blockSize, m_len) : m_blockSize;
    qint64 got;
    if (m_decoding.isPassThrough()) {
        if (qsizetype(m_buf.size()) < m_len + want)
            m_buf.resize(m_len + want);
        got = m_device->read(m_buf.data() + m_len, want);
        if (got > 0)
            m_len += got;
    } else {
        m_block.resize(want);
        got = m_device->read(m_block.data(), want);
        if (got > 0) {
            m_decoded.resize(0);
            m_decoding.toUtf8(QByteArrayView(m_block.constData(), got), m_decoded);
            if (qsizetype(m_buf.size()) < m_len + m_decoded.size())
                m_buf.resize(m_len + m_decoded.size());
            std::memcpy(m_buf.data() + m_len, m_decoded.constData(), m_decoded.size());
            m_len += m_decoded.size();
        }
    }
    if (got < 0) {
        m_error = QStringLiteral("Reading the GPX file failed: %1.").arg(m_device->errorString());
        return Fill::Failed;
    }
    m_bytesRead += got;
    m_atEnd = got == 0;
    m_index.build(m_buf.data(), m_len);
    return m_atEnd ? Fill::End : Fill::Data;
}

int DecodingWindow::lineAt(qsizetype at)
{
    countLines(at);
    return int(m_lines + 1);
}

void DecodingWindow::countLines(qsizetype upTo)
{
    if (upTo <= m_countedTo)
        return;
    const char* p = m_buf.data() + m_countedTo;
    if (m_lastWasCR && *p == '\n')
        ++p; // the LF of a CR LF cut in two
    // Once a file shows a CR, its ranges are counted the careful way at once.
    const qint64 feeds = m_sawCR ? -1 : countLineFeeds(p, m_buf.data() + upTo);
    m_sawCR = feeds < 0;
    m_lines += feeds >= 0 ? feeds : countLineBreaks(p, m_buf.data() + upTo);
    m_lastWasCR = m_buf[upTo - 1] == '\r';
    m_countedTo = upTo;
}
