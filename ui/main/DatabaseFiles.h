// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;
class TaskRunner;
class Workspace;

// The File menu's work on whole database files: a new, empty POI database, which becomes the
// workspace's, and the POIs of the workspace's database back out to a GPX file. Both run on
// the window's TaskRunner.
class DatabaseFiles : public QObject
{
    Q_OBJECT

public:
    DatabaseFiles(Workspace& workspace, TaskRunner& runner, QWidget* window);

    // File → "New POI Database…": asks for a new file's name and creates it.
    void newDatabase();
    // File → "Export POIs to GPX…": asks what to export and where, then writes it.
    void exportPois();

signals:
    void statusMessage(const QString& text);

private:
    Workspace& m_workspace;
    TaskRunner& m_runner;
    QWidget* m_window;
};
