// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace Platform {

QString defaultTempFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\temp");
#else
    return QDir::toNativeSeparators(QDir::tempPath());
#endif
}

QString outputPathFor(const QString& gpxPath, const QString& tempFolder)
{
    const qsizetype lastSeparator = std::max(gpxPath.lastIndexOf(u'/'), gpxPath.lastIndexOf(u'\\'));
    const QString name = gpxPath.mid(lastSeparator + 1);
    const qsizetype firstDot = name.indexOf(u'.');
    const QString sqlName = firstDot < 0 ? name + QStringLiteral(".sql")
                                         : name.left(firstDot + 1) + QStringLiteral("sql");
    return tempFolder + QDir::separator() + sqlName;
}

bool openInEditor(const QString& path, QString* error)
{
    if (!QFileInfo(path).isFile()) {
        if (error)
            *error = QCoreApplication::translate("Platform", "The file \"%1\" does not exist.")
                         .arg(path);
        return false;
    }
#ifdef Q_OS_WIN
    const bool started = QProcess::startDetached(QStringLiteral("notepad.exe"), {path});
#else
    const bool started = QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#endif
    if (!started && error)
        *error = QCoreApplication::translate("Platform", "No editor could be started for \"%1\".")
                     .arg(path);
    return started;
}

} // namespace Platform
