// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CommandRunner.h>
#include <ShellOptions.h>

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

// Runs the window's long work (conversions, loads, listings, store routines) one piece at a
// time on a thread of its own, with the core's blocking calls; the window only listens.
// The work never touches a widget: it gets its inputs copied in and hands its results to a
// `done` function that runs back on the window's thread.
class TaskRunner : public QObject
{
    Q_OBJECT

public:
    enum class Total
    {
        Exact,
        Estimated,
    };

    // What the work sees: a stop flag to pass to the core, and a way to report how far it got.
    class Control
    {
    public:
        bool stopRequested() const { return m_stop.load(); }
        StopCheck stopCheck() const
        {
            return [this] { return stopRequested(); };
        }
        // From the worker thread; passed on at most every 100 ms. A total of 0 is unknown; an
        // estimated one moves the bar but is not shown as a number.
        void progress(qint64 done, qint64 total, Total kind = Total::Exact);
        // Passes on the progress held back: the work is about to wait.
        void flush();
        // From the worker thread: the work moves on to a stage it cannot count ("Storing
        // 300,000 waypoints"); the progress held back is dropped.
        void phase(const QString& text);
        // How the work starts the sqlite3 shell; fixed for the whole piece.
        const ShellOptions& shell() const { return m_shell; }
        // From the worker thread: runs `question` on the window's thread and waits for its
        // answer; nothing when a stop comes first (Cancel, the window closing). Progress held
        // back goes out first, so that the bar is up to date while the question waits.
        std::optional<int> ask(std::function<int()> question);

    private:
        friend class TaskRunner;
        struct Answer;
        void wake();
        std::mutex m_asking;
        std::shared_ptr<Answer> m_waiting; // the question the work waits on, if any
        TaskRunner* m_runner = nullptr;
        std::atomic<bool> m_stop{false};
        ShellOptions m_shell;
        QElapsedTimer m_sinceReport;
        struct Progress
        {
            qint64 done;
            qint64 total;
            Total kind;
        };
        std::optional<Progress> m_heldBack; // the newest unsent progress
        void report(const Progress& progress);
    };

    using Work = std::function<void(Control&)>;
    // Runs on the window's thread after the work; `stopped` when Cancel was asked for.
    using Done = std::function<void(bool stopped)>;

    explicit TaskRunner(QObject* parent = nullptr);
    // Stops a running piece of work and waits for it; its `done` is not called.
    ~TaskRunner() override;

    bool isRunning() const { return m_running; }
    // For the pieces started from now on.
    void setShellOptions(const ShellOptions& shell) { m_shell = shell; }
    const ShellOptions& shellOptions() const { return m_shell; }
    // Starts `work`, or queues it behind the running piece (a follow-up such as a refreshed
    // listing). `unit` names what progress counts ("waypoints"); empty when it counts nothing.
    void start(const QString& description, const QString& unit, Work work, Done done);
    // Asks the running work to stop at its next check, and drops what is queued behind it.
    void cancel();
    // Cancels, and the running work's `done` is not called: its window is gone, so it has
    // nothing to tell (no message box after the window was closed).
    void abandon();

signals:
    void started(const QString& description, const QString& unit);
    void progressed(qint64 done, qint64 total, TaskRunner::Total kind);
    void phaseStarted(const QString& text);
    // The work has ended; emitted before its `done` runs, so `done` may start the next piece.
    void finished();

private:
    struct Piece
    {
        QString description;
        QString unit;
        Work work;
        Done done;
    };
    void run(Piece piece);

    QThread m_thread;
    QList<Piece> m_queued;
    QObject* m_worker = nullptr; // lives on m_thread
    Control m_control;
    bool m_running = false;
    bool m_abandoned = false;
    ShellOptions m_shell;
};
