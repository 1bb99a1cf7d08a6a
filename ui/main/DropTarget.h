// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;
class QDropEvent;
class Workspace;

// Files dropped on the window: a .gpx file becomes the workspace's GPX file, any other file is
// opened as its database, exactly as the two choosers would take them. The window and its text
// fields (which would otherwise take the file's address as text) all pass drops here.
class DropTarget : public QObject
{
    Q_OBJECT

public:
    DropTarget(QWidget* window, Workspace& workspace);

    // While a run goes, drops are refused like every other change of the inputs.
    void setRunning(bool running) { m_running = running; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool accepts(const QDropEvent& event) const;
    void drop(const QDropEvent& event);

    Workspace& m_workspace;
    bool m_running = false;
};
