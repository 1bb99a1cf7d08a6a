#pragma once

#include <QFileDevice>
#include <QPointer>

// A stretch of a file seen through a memory map, so its bytes need no copy into a buffer. The
// map covers a segment of some megabytes at a time and moves on with the reader, so memory
// stays flat whatever the file size.
//
//   FileMapping map(file);
//   const char* bytes = map.span(from, to); // nullptr: read the file instead
class FileMapping
{
public:
    explicit FileMapping(QFileDevice* file) : m_file(file) {}
    ~FileMapping() { release(); }
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    // The bytes at file offsets [from, to), or nullptr when the file cannot be mapped there
    // (the last span then stays valid until release()). Earlier spans are let go once a later
    // one needs a new map.
    const char* span(qint64 from, qint64 to);
    // The file's size now: a file that shrinks while mapped must not be read past its end.
    qint64 fileSize() const { return m_file ? m_file->size() : 0; }
    void release();

private:
    QPointer<QFileDevice> m_file;
    uchar* m_map = nullptr;
    qint64 m_offset = 0;
    qint64 m_size = 0;
};
