// SPDX-License-Identifier: GPL-3.0-or-later
#include "DropTarget.h"

#include "Workspace.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

QStringList localFiles(const QDropEvent& event)
{
    QStringList files;
    if (!event.mimeData() || !event.mimeData()->hasUrls())
        return files;
    for (const QUrl& url : event.mimeData()->urls()) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            files << url.toLocalFile();
    }
    return files;
}

bool isGpx(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("gpx"), Qt::CaseInsensitive) == 0;
}

} // namespace

DropTarget::DropTarget(QWidget* window, Workspace& workspace)
    : QObject(window), m_workspace(workspace)
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (child->acceptDrops())
            child->installEventFilter(this);
    }
}

bool DropTarget::accepts(const QDropEvent& event) const
{
    return !m_running && !localFiles(event).isEmpty();
}

bool DropTarget::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!accepts(*drag))
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* dropped = static_cast<QDropEvent*>(event);
        if (!accepts(*dropped))
            return false;
        dropped->acceptProposedAction();
        drop(*dropped);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

void DropTarget::drop(const QDropEvent& event)
{
    // One file of each kind at most: the first GPX file and the first other file.
    bool gpxTaken = false;
    bool databaseTaken = false;
    for (const QString& path : localFiles(event)) {
        if (isGpx(path) && !gpxTaken) {
            gpxTaken = true;
            m_workspace.setGpxFile(path);
        } else if (!isGpx(path) && !databaseTaken) {
            databaseTaken = true;
            m_workspace.openDatabase(path);
        }
    }
}
