// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ReadAhead.h"
#include "StructuralIndex.h"
#include "TextDecoding.h"
#include "UnsetBuffer.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>

class QIODevice;

// The first stage of the scan: a device's bytes as a window of UTF-8 text that slides over the
// file block by block, and the line number of any place in it. The reader marks how far it has
// consumed the window; the next fill() lets that part go and reads on. A UTF-8 file that can be
// read at any place has its next block read ahead, on a second thread while the reader works
// when the file is longer than two blocks (BlockReading says otherwise).
//
//   DecodingWindow window(1 << 20);
//   if (Outcome<> opened = window.open(device); !opened) fail(opened.problem());
//   while (window.fill() == DecodingWindow::Fill::Data) { ...; window.consumeTo(n); }
class DecodingWindow
{
public:
    enum class Fill
    {
        Data,  // more text was read
        End,   // the device has no more
        Failed // reading failed; readFailure() says why
    };

    explicit DecodingWindow(qsizetype blockSize, BlockReading reading = BlockReading::Auto);

    // Reads the byte-order mark and the XML declaration to choose the decoding; fails when the
    // declared encoding cannot be read.
    Outcome<> open(QIODevice& device);
    // Drops the consumed text and reads the next block behind what is left.
    Fill fill();

    // The window's text starts at consumed() after a fill, not always at data().
    const char* data() const { return m_data; }
    qsizetype size() const { return m_len; }
    // Where the '<' of the window are, remade at every fill.
    const StructuralIndex& index() const { return m_buffers[m_current].index; }
    // True once the device has no more: what the window holds is all there is.
    bool atEnd() const { return m_atEnd; }
    qsizetype consumed() const { return m_pos; }
    void consumeTo(qsizetype at) { m_pos = at; }

    // The line, counted from 1, of the character at `at`, from consumed() to size().
    int lineAt(qsizetype at) const { return int(m_linesBefore + index().breaksBefore(at) + 1); }
    // True when the text came from another encoding, so it is UTF-8 by construction.
    bool isDecoded() const { return !m_decoding.isPassThrough(); }
    // True once a block was read on the second thread.
    bool readsOnThread() const { return m_ahead && m_ahead->hasThread(); }

    qsizetype blockSize() const { return m_blockSize; }
    qint64 bytesRead() const { return m_bytesRead; }
    qint64 bytesTotal() const { return m_bytesTotal; }
    // Why the last fill() failed.
    Problem readFailure() const { return Problem{m_error, {}, 0}; }

private:
    bool crBefore(qsizetype at) const;
    Fill fillAhead();
    Fill readFailed();
    void readAhead();

    struct Buffer
    {
        UnsetBuffer<char> bytes;
        StructuralIndex index;
    };

    QIODevice* m_device = nullptr;
    TextDecoding m_decoding;
    qsizetype m_blockSize;
    BlockReading m_reading;
    // The window lies in one buffer while the next block is read into the other.
    std::array<Buffer, 2> m_buffers;
    int m_current = 0;
    const char* m_data = nullptr;
    std::unique_ptr<ReadAhead> m_ahead; // set when the file is read ahead, on a thread or not
    bool m_pending = false;             // a block is being read ahead
    qsizetype m_front = 0;              // room before a block read ahead, whole words
    qsizetype m_begin = 0;              // where the window's text starts
    qsizetype m_len = 0;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    QByteArray m_block;   // raw bytes of a block that needs decoding
    QByteArray m_decoded; // and their UTF-8

    // Line breaks in the file before the index's origin, and whether the byte before the
    // window's text was a CR.
    qint64 m_linesBefore = 0;
    bool m_afterCR = false;

    qint64 m_bytesRead = 0;
    qint64 m_bytesTotal = 0;
    QString m_error;
};
