// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileName.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <filesystem>

namespace FileName {

Outcome<> check(const QString& path)
{
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path[i];
        const bool pairedSurrogate =
            c.isHighSurrogate() && i + 1 < path.size() && path[i + 1].isLowSurrogate();
        if (pairedSurrogate) {
            ++i;
            continue;
        }
        if (c == QChar::ReplacementCharacter || c.isSurrogate())
            return Problem{QCoreApplication::translate(
                               "FileName", "The file name %1 cannot be used: it holds bytes that "
                                           "are not UTF-8 text, shown here as \uFFFD, and would "
                                           "reach another file. Rename the file.")
                               .arg(path),
                           {},
                           0};
    }
    return {};
}

bool same(const QString& a, const QString& b)
{
    std::error_code error;
    return std::filesystem::equivalent(QFileInfo(a).filesystemAbsoluteFilePath(),
                                       QFileInfo(b).filesystemAbsoluteFilePath(), error) &&
           !error;
}

} // namespace FileName
