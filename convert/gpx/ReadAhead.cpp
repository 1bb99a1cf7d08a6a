// SPDX-License-Identifier: GPL-3.0-or-later
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
                      qsizetype atWord, bool afterCR, bool onThread)
{
    {
        std::lock_guard lock(m_mutex);
        m_block = Block{&device, into, want, &index, atWord, afterCR};
        m_got = 0;
        m_asked = !onThread;
        m_busy = onThread;
    }
    if (!onThread)
        return;
    if (!m_thread.joinable())
        m_thread = std::thread([this] { run(); });
    else
        m_changed.notify_all();
}

qint64 ReadAhead::wait()
{
    if (m_asked) {
        m_asked = false;
        return read(m_block);
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_busy; });
    const qint64 got = m_got;
    m_got = 0;
    return got;
}

qint64 ReadAhead::read(const Block& block)
{
    const qint64 got = block.device->read(block.into, block.want);
    if (got >= 0)
        block.index->markBlock(block.into, got, block.atWord, block.afterCR);
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
        const qint64 got = read(m_block);
        lock.lock();
        m_got = got;
        m_busy = false;
        m_changed.notify_all();
    }
}
