// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecodingWindow.h"

#include <QCoreApplication>
#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

// Room before a block read ahead, for the unfinished construct the window carries over: a tag
// or a run of text, usually a few bytes. A longer one makes the window anew. A smaller file
// gets room for all of it, and no more.
constexpr qsizetype kFront = 64 << 10;

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

DecodingWindow::DecodingWindow(qsizetype blockSize, BlockReading reading)
    : m_blockSize(blockSize), m_reading(reading)
{
    m_buffers[0].bytes.grow(16, 0);
    m_data = m_buffers[0].bytes.data();
}

Outcome<> DecodingWindow::open(QIODevice& device)
{
    if (m_pending)
        m_ahead->wait(); // a block of an earlier device
    m_pending = false;
    m_device = &device;
    m_len = m_pos = m_begin = 0;
    m_current = 0;
    m_data = m_buffers[0].bytes.data();
    m_linesBefore = 0;
    m_afterCR = false;
    for (Buffer& buffer : m_buffers)
        buffer.index.build(buffer.bytes.data(), 0, false);
    m_bytesRead = 0;
    m_error.clear();
    if (Outcome<> decoding = m_decoding.setup(QByteArrayView(peekHead(device, 1024))); !decoding)
        return decoding;
    if (m_decoding.bomLength() > 0) // read, though no text: progress reaches the file's size
        m_bytesRead = std::max<qint64>(0, device.skip(m_decoding.bomLength()));
    m_bytesTotal = device.size();
    m_front = std::clamp<qint64>((m_bytesTotal + 63) & ~qint64(63), 64, kFront);
    if (!device.isSequential() && m_decoding.isPassThrough()) {
        if (!m_ahead)
            m_ahead = std::make_unique<ReadAhead>();
        readAhead();
    } else {
        m_ahead.reset();
    }
    return {};
}

DecodingWindow::Fill DecodingWindow::fill()
{
    if (m_ahead)
        return fillAhead();
    UnsetBuffer<char>& buf = m_buffers[0].bytes;
    // Keep only what is not consumed yet: an unfinished tag, usually a few bytes.
    const bool stalled = m_len > 0 && m_pos == 0;
    if (m_pos > 0) {
        m_linesBefore += index().breaksBefore(m_pos);
        m_afterCR = crBefore(m_pos);
        std::memmove(buf.data(), buf.data() + m_pos, m_len - m_pos);
        m_len -= m_pos;
        m_pos = 0;
    }
    // A construct longer than the window doubles the next read, so long ones stay linear.
    const qsizetype want = stalled ? std::max(m_blockSize, m_len) : m_blockSize;
    qint64 got;
    if (m_decoding.isPassThrough()) {
        buf.grow(m_len + want, m_len);
        got = m_device->read(buf.data() + m_len, want);
        if (got > 0)
            m_len += got;
    } else {
        m_block.resize(want);
        got = m_device->read(m_block.data(), want);
        if (got > 0) {
            m_decoded.resize(0);
            m_decoding.toUtf8(QByteArrayView(m_block.constData(), got), m_decoded);
            buf.grow(m_len + m_decoded.size(), m_len);
            std::memcpy(buf.data() + m_len, m_decoded.constData(), m_decoded.size());
            m_len += m_decoded.size();
        }
    }
    if (got < 0)
        return readFailed();
    m_bytesRead += got;
    m_atEnd = got == 0;
    m_data = buf.data();
    m_buffers[0].index.build(m_data, m_len, m_afterCR);
    return m_atEnd ? Fill::End : Fill::Data;
}

// The block read ahead becomes the window, behind what is left of the one before; the next
// block is read into the buffer let go.
DecodingWindow::Fill DecodingWindow::fillAhead()
{
    const qsizetype left = m_len - m_pos;
    const bool stalled = left > 0 && m_pos == m_begin;
    const bool textAfterCR = crBefore(m_pos);
    qint64 got = m_pending ? m_ahead->wait() : 0;
    m_pending = false;
    if (got < 0)
        return readFailed();
    Buffer& next = m_buffers[1 - m_current];
    const qsizetype front = (left + 63) & ~qsizetype(63);
    if (!stalled && front <= m_front) {
        // What is left goes right before the block, behind blanks up to a whole word of the
        // index; the reader starts after them.
        m_linesBefore += index().breaksBefore(m_len); // up to the block's start
        char* const start = next.bytes.data() + m_front - front;
        std::memset(start, ' ', size_t(front - left));
        std::memcpy(start + front - left, m_data + m_pos, size_t(left));
        next.index.markFront(start, front, front - left, textAfterCR, (m_front - front) >> 6,
                             front + got);
        m_data = start;
        m_len = front + got;
        m_begin = front - left;
    } else {
        // A construct longer than the room before the block, or one the whole window could not
        // hold: the window is made anew, twice as long when it was stalled, so that long
        // constructs stay linear.
        const qsizetype want = stalled ? std::max(m_blockSize, m_len - m_begin) : got;
        m_linesBefore += index().breaksBefore(m_pos);
        // The block moves behind what is left, in its own buffer.
        next.bytes.grow(left + std::max<qint64>(got, want), m_front + got);
        std::memmove(next.bytes.data() + left, next.bytes.data() + m_front, size_t(got));
        std::memcpy(next.bytes.data(), m_data + m_pos, size_t(left));
        if (got > 0 && want > got) {
            const qint64 more = m_device->read(next.bytes.data() + left + got, want - got);
            if (more < 0)
                return readFailed();
            got += more;
        }
        next.index.build(next.bytes.data(), left + got, textAfterCR);
        m_data = next.bytes.data();
        m_len = left + got;
        m_begin = 0;
    }
    m_current = 1 - m_current;
    m_pos = m_begin;
    m_afterCR = textAfterCR;
    m_bytesRead += got;
    m_atEnd = got == 0;
    if (!m_atEnd)
        readAhead();
    return m_atEnd ? Fill::End : Fill::Data;
}

void DecodingWindow::readAhead()
{
    Buffer& spare = m_buffers[1 - m_current];
    spare.bytes.grow(m_front + m_blockSize, 0);
    // A file of a block or two is read here: starting a thread and handing it the blocks
    // would cost more than reading them.
    const bool onThread = m_reading == BlockReading::Threaded ||
                          (m_reading == BlockReading::Auto &&
                           (m_ahead->hasThread() || m_device->bytesAvailable() > 2 * m_blockSize));
    m_ahead->start(*m_device, spare.bytes.data() + m_front, m_blockSize, spare.index, m_front >> 6,
                   crBefore(m_len), onThread);
    m_pending = true;
}

DecodingWindow::Fill DecodingWindow::readFailed()
{
    m_error = QCoreApplication::translate("DecodingWindow", "Reading the GPX file failed: %1.")
                  .arg(m_device->errorString());
    return Fill::Failed;
}

bool DecodingWindow::crBefore(qsizetype at) const
{
    return at > m_begin ? m_data[at - 1] == '\r' : m_afterCR;
}
