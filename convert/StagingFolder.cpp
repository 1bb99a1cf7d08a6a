// SPDX-License-Identifier: GPL-3.0-or-later
#include "StagingFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QMutex>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <iterator>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// The folders that exist now; every access under the mutex.
struct Folders
{
    QMutex mutex;
    QStringList paths;
};

Folders& folders()
{
    // Never destroyed: a signal may come while static objects are torn down at exit.
    static Folders* all = new Folders;
    return *all;
}

#ifdef Q_OS_UNIX

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int g_wakeUp[2] = {-1, -1};
struct sigaction g_previous[std::size(kSignals)];

// The handler only passes the signal on through a pipe (async-signal-safe); a thread of its
// own removes the folders, since deleting files takes calls no handler may make.
void passOn(int signal)
{
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_wakeUp[1], &number, 1);
    errno = saved;
}

void removeAllThenResend()
{
    for (;;) {
        unsigned char number = 0;
        if (::read(g_wakeUp[0], &number, 1) != 1) {
            if (errno == EINTR)
                continue;
            return;
        }
        {
            const QMutexLocker lock(&folders().mutex);
            for (const QString& path : std::as_const(folders().paths))
                QDir(path).removeRecursively();
        }
        // Then whatever the signal did before: by default, the end of the process.
        for (size_t i = 0; i < std::size(kSignals); ++i) {
            if (kSignals[i] == number)
                ::sigaction(number, &g_previous[i], nullptr);
        }
        ::raise(number);
    }
}

void watchSignals()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (::pipe(g_wakeUp) != 0)
            return;
        // Not for the sqlite3 shell, which inherits what is not closed on exec.
        for (const int end : g_wakeUp)
            ::fcntl(end, F_SETFD, FD_CLOEXEC);
        std::thread(removeAllThenResend).detach();
        for (size_t i = 0; i < std::size(kSignals); ++i) {
            struct sigaction action = {};
            action.sa_handler = passOn;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESTART;
            ::sigaction(kSignals[i], nullptr, &g_previous[i]);
            // A signal the process ignores (nohup) stays ignored.
            if (g_previous[i].sa_handler != SIG_IGN)
                ::sigaction(kSignals[i], &action, nullptr);
        }
    });
}

#else

void watchSignals() {}

#endif

} // namespace

StagingFolder::StagingFolder()
{
    if (!m_dir.isValid())
        return;
    watchSignals();
    const QMutexLocker lock(&folders().mutex);
    folders().paths.append(m_dir.path());
}

StagingFolder::~StagingFolder()
{
    if (!m_dir.isValid())
        return;
    // Removed while still listed, so that a signal meanwhile finds it either way.
    const QMutexLocker lock(&folders().mutex);
    m_dir.remove();
    folders().paths.removeOne(m_dir.path());
}

Outcome<> StagingFolder::created() const
{
    if (m_dir.isValid())
        return {};
    return Problem{QCoreApplication::translate("StagingFolder", "%1 (in the temporary folder %2)")
                       .arg(m_dir.errorString(), QDir::toNativeSeparators(QDir::tempPath())),
                   {},
                   0};
}
