#include "ReadAhead.h"

#include "StructuralIndex.h"

#include <QIODevice>

ReadAhead::~ReadAhead()
{
    if (!m_thread.joinable())
        return;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_busy; });
        m_quit = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void ReadAhead::start(QIODevice& device, char* into, qsizetype want, StructuralIndex& index,
                      qsizetype atWord, bool afterCR)
{
    {
        std::lock_guard lock(m_mutex);
        m_device = &device;
        m_into = into;
        m_want = want;
        m_index = &index;
        m_atWord = atWord;
        m_afterCR = afterCR;
        m_got = 0;
        m_busy = true;
    }
    if (!m_thread.joinable())
        m_thread = std::thread([this] { run(); });
    else
        m_changed.notify_all();
}

qint64 ReadAhead::wait()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_busy; });
    const qint64 got = m_got;
    m_got = 0;
    return got;
}

void ReadAhead::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_busy || m_quit; });
        if (m_quit)
            return;
        lock.unlock();
        const qint64 got = m_device->read(m_into, m_want);
        if (got >= 0)
            m_index->markBlock(m_into, got, m_atWord, m_afterCR);
        lock.lock();
        m_got = got;
        m_busy = false;
        m_changed.notify_all();
    }
}
