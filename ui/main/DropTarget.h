#pragma once

#include <QObject>

class QWidget;
class QDropEvent;

// Files dropped on the window: a .gpx file becomes the GPX file, any other file is taken as
// the database, exactly as the two choosers would take them. The window and its text fields
// (which would otherwise take the file's address as text) all pass drops here.
class DropTarget : public QObject
{
    Q_OBJECT

public:
    explicit DropTarget(QWidget* window);

    // While a run goes, drops are refused like every other change of the inputs.
    void setRunning(bool running) { m_running = running; }

signals:
    void gpxFileDropped(const QString& path);
    void databaseFileDropped(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool accepts(const QDropEvent& event) const;
    void drop(const QDropEvent& event);

    bool m_running = false;
};
