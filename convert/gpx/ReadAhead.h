#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <mutex>
#include <thread>

class QIODevice;
class StructuralIndex;

// Reads the next block of a file on a thread of its own, and marks its tags and line breaks,
// while the scan works on the block before: copying out of the file and indexing leave the
// scan's path. One block at a time; the thread lives as long as the object.
//
//   ahead.start(file, bytes, size, index, word, false); ...; const qint64 got = ahead.wait();
class ReadAhead
{
public:
    ReadAhead() = default;
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Reads up to `want` bytes of `device` into `into` and marks them in `index` from word
    // `atWord` on (`afterCR`: the byte before them was a CR). Neither the device nor what it
    // writes may be touched until wait().
    void start(QIODevice& device, char* into, qsizetype want, StructuralIndex& index,
               qsizetype atWord, bool afterCR);
    // The bytes the last block got: 0 at the end of the file, -1 when reading failed (the
    // device says why), 0 too when nothing was started.
    qint64 wait();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_busy = false; // a block is asked for and not read yet
    bool m_quit = false;
    QIODevice* m_device = nullptr;
    char* m_into = nullptr;
    qsizetype m_want = 0;
    StructuralIndex* m_index = nullptr;
    qsizetype m_atWord = 0;
    bool m_afterCR = false;
    qint64 m_got = 0;
    std::thread m_thread; // started with the first block
};
