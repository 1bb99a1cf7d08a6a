// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <GpxMapPreview.h>

#include <QWidget>

#include <memory>

namespace Ui {
class frmGpxMap;
}
class TaskRunner;
class TileSource;
class Workspace;
class frmMain;

// File → "Show GPX File on Map…": the chosen GPX file's waypoints on a map before they are
// loaded, beside the chosen category's POIs. Waypoints the category already holds have a
// colour of their own; those a load would skip are listed with their reasons instead of drawn.
// The file is read on the main window's runner, again whenever the choice it shows changes.
class frmGpxMap : public QWidget
{
    Q_OBJECT

public:
    frmGpxMap(Workspace& workspace, TaskRunner& runner, QWidget* parent = nullptr);
    ~frmGpxMap() override;

    // Answers the window's menu item: the map is made at the first request and kept.
    static void attachTo(frmMain& window);

    // Reads the workspace's GPX file, and its category's POIs, for the map.
    void readFile();
    // True while a reading is asked for or under way.
    bool isReading() const { return m_reading || m_readQueued; }
    // What the map shows; null before the first reading ended well.
    const GpxMapPreview* preview() const { return m_preview.get(); }

private:
    void scheduleRead();
    void present(std::shared_ptr<const GpxMapPreview> preview, const QString& gpxPath,
                 const QString& categoryLabel);
    void showPicked(const QList<qsizetype>& points);
    QString pointLabel(qsizetype point) const;

    std::unique_ptr<Ui::frmGpxMap> m_ui;
    Workspace& m_workspace;
    TaskRunner& m_runner;
    TileSource* m_tiles;
    std::shared_ptr<const GpxMapPreview> m_preview;
    QString m_shownPath;
    QString m_tilesProblem; // why tiles are off, when the settings name a bad server
    bool m_reading = false;
    bool m_readQueued = false;
};
