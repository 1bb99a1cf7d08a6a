#include "TaskRunner.h"

namespace {
constexpr qint64 kReportEveryMs = 100;
}

void TaskRunner::Control::progress(qint64 done, qint64 total)
{
    if (m_sinceReport.isValid() && m_sinceReport.elapsed() < kReportEveryMs)
        return;
    m_sinceReport.start();
    QMetaObject::invokeMethod(
        m_runner, [runner = m_runner, done, total] { emit runner->progressed(done, total); },
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
    if (m_running)
        m_control.m_stop = true;
}

void TaskRunner::abandon()
{
    cancel();
    m_abandoned = true;
}
