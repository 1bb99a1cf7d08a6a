// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <mutex>
#include <thread>

class QIODevice;
class StructuralIndex;

// Where the blocks of a UTF-8 file that can be read at any place are read and marked.
enum class BlockReading
{
    Auto,    // on a second thread once more than two blocks are left to read
    Inline,  // all on the scanning thread
    Threaded // every block on the second thread, however small the file
};

// Reads the next block of a file and marks its tags and line breaks: on a thread of its own
// while the scan works on the block before, so that copying out of the file and indexing leave
// the scan's path, or on the scanning thread when wait() asks for it, which costs no hand-off
// for a file of a block or two. Both ways run the same code. One block at a time; the thread,
// once started, lives as long as the object.
//
//   ahead.start(file, bytes, size, index, word, false, true); ...; const qint64 got = ahead.wait();
class ReadAhead
{
public:
    ReadAhead() = default;
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Asks for up to `want` bytes of `device` into `into`, marked in `index` from word `atWord`
    // on (`afterCR`: the byte before them was a CR). `onThread` starts the reading on the second
    // thread now; otherwise wait() reads. Neither the device nor what it writes may be touched
    // until wait().
    void start(QIODevice& device, char* into, qsizetype want, StructuralIndex& index,
               qsizetype atWord, bool afterCR, bool onThread);
    // The bytes the last block got: 0 at the end of the file, -1 when reading failed (the
    // device says why), 0 too when nothing was started.
    qint64 wait();
    // True once a block went to the second thread.
    bool hasThread() const { return m_thread.joinable(); }

private:
    struct Block
    {
        QIODevice* device = nullptr;
        char* into = nullptr;
        qsizetype want = 0;
        StructuralIndex* index = nullptr;
        qsizetype atWord = 0;
        bool afterCR = false;
    };

    static qint64 read(const Block& block);
    void run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    Block m_block;
    bool m_asked = false; // a block is asked for to be read by wait()
    bool m_busy = false;  // a block is asked for on the thread and not read yet
    bool m_quit = false;
    qint64 m_got = 0;
    std::thread m_thread; // started with the first block asked for on it
};
