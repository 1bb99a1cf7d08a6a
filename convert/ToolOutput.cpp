// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolOutput.h"

#include <csignal>

namespace ToolOutput {

void say(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

int usageError(std::FILE* err, const QString& program, const QString& message, const char* usage)
{
    QString why = message;
    if (!why.endsWith(u'.'))
        why += u'.';
    say(err, QStringLiteral("%1: %2\n").arg(program, why));
    std::fputs(usage, err);
    say(err, QStringLiteral("Try '%1 --help' for more.\n").arg(program));
    return kExitUsage;
}

std::optional<qint64> wholeNumber(const QString& text)
{
    bool isNumber = false;
    const qint64 value = text.toLongLong(&isNumber);
    if (!isNumber)
        return std::nullopt;
    return value;
}

int endProgram(int status)
{
#ifdef SIGPIPE
    if (status == kExitReaderGone) {
        std::signal(SIGPIPE, SIG_DFL);
        std::raise(SIGPIPE);
    }
#endif
    return status;
}

} // namespace ToolOutput
