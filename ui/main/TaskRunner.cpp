// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskRunner.h"

#include <condition_variable>

namespace {
constexpr qint64 kReportEveryMs = 100;
}

// Shared by the waiting work and the question on the window's thread: either may outlive
// the other.
struct TaskRunner::Control::Answer
{
    std::mutex mutex;
    std::condition_variable given;
    std::optional<int> value;
};

std::optional<int> TaskRunner::Control::ask(std::function<int()> question)
{
    flush();
    auto answer = std::make_shared<Answer>();
    {
        const std::lock_guard lock(m_asking);
        m_waiting = answer;
    }
    QMetaObject::invokeMethod(
        m_runner,
        [runner = m_runner, answer, question = std::move(question)] {
            // Cancelled or closed before the question came up: it is not asked.
            if (runner->m_control.stopRequested())
                return;
            const int value = question();
            const std::lock_guard lock(answer->mutex);
            answer->value = value;
            answer->given.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(answer->mutex);
    answer->given.wait(lock, [&] { return answer->value || stopRequested(); });
    const std::optional<int> value = stopRequested() ? std::nullopt : answer->value;
    lock.unlock();
    const std::lock_guard clear(m_asking);
    m_waiting.reset();
    return value;
}

void TaskRunner::Control::wake()
{
    std::shared_ptr<Answer> answer;
    {
        const std::lock_guard lock(m_asking);
        answer = m_waiting;
    }
    if (!answer)
        return;
    // Under the lock: the work cannot be between its check of the stop flag and its wait.
    const std::lock_guard lock(answer->mutex);
    answer->given.notify_all();
}

void TaskRunner::Control::progress(qint64 done, qint64 total, Total kind)
{
    if (m_sinceReport.isValid() && m_sinceReport.elapsed() < kReportEveryMs) {
        m_heldBack = Progress{done, total, kind};
        return;
    }
    report({done, total, kind});
}

void TaskRunner::Control::flush()
{
    if (m_heldBack)
        report(*m_heldBack);
}

void TaskRunner::Control::phase(const QString& text)
{
    m_heldBack.reset();
    QMetaObject::invokeMethod(
        m_runner, [runner = m_runner, text] { emit runner->phaseStarted(text); },
        Qt::QueuedConnection);
}

void TaskRunner::Control::report(const Progress& progress)
{
    m_heldBack.reset();
    m_sinceReport.start();
    QMetaObject::invokeMethod(
        m_runner,
        [runner = m_runner, progress] {
            emit runner->progressed(progress.done, progress.total, progress.kind);
        },
        Qt::QueuedConnection);
}

TaskRunner::TaskRunner(QObject* parent) : QObject(parent), m_worker(new QObject)
{
    m_control.m_runner = this;
    m_thread.setObjectName(QStringLiteral("geofill-worker"));
    m_worker->moveToThread(&m_thread);
    m_thread.start();
}

TaskRunner::~TaskRunner()
{
    cancel();
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

void TaskRunner::start(const QString& description, const QString& unit, Work work, Done done)
{
    Piece piece{description, unit, std::move(work), std::move(done)};
    m_abandoned = false;
    if (m_running)
        m_queued.append(std::move(piece));
    else
        run(std::move(piece));
}

void TaskRunner::run(Piece piece)
{
    m_running = true;
    m_control.m_stop = false;
    m_control.m_sinceReport.invalidate();
    m_control.m_heldBack.reset();
    m_control.m_shell = m_shell;
    emit started(piece.description, piece.unit);
    QMetaObject::invokeMethod(
        m_worker,
        [this, work = std::move(piece.work), done = std::move(piece.done)]() mutable {
            work(m_control);
            // Queued to this object: dropped unread when the runner is gone by then.
            QMetaObject::invokeMethod(
                this,
                [this, done = std::move(done)] {
                    m_running = false;
                    const bool stopped = m_control.stopRequested();
                    emit finished();
                    if (done && !m_abandoned)
                        done(stopped);
                    if (!m_running && !m_queued.isEmpty())
                        run(m_queued.takeFirst());
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void TaskRunner::cancel()
{
    m_queued.clear();
    if (m_running) {
        m_control.m_stop = true;
        m_control.wake();
    }
}

void TaskRunner::abandon()
{
    cancel();
    m_abandoned = true;
}
