#pragma once

#include <QObject>

#include <functional>
#include <optional>

class QWidget;
class TaskRunner;

// The File menu's work on whole database files: a new, empty POI database, and the POIs of
// the chosen database back out to a GPX file. Both run on the window's TaskRunner.
class DatabaseFiles : public QObject
{
    Q_OBJECT

public:
    // What the export reads from the setup panel, asked at the moment of use.
    struct Inputs
    {
        std::function<QString()> databasePath;
        std::function<std::optional<QString>()> categoryNumber;
        std::function<QString()> categoryLabel;
    };

    DatabaseFiles(Inputs inputs, TaskRunner& runner, QWidget* window);

    // File → "New POI Database…": asks for a new file's name and creates it.
    void newDatabase();
    // File → "Export POIs to GPX…": asks what to export and where, then writes it.
    void exportPois();

signals:
    // The new database is ready: it becomes the chosen one.
    void databaseCreated(const QString& path);
    void statusMessage(const QString& text);

private:
    Inputs m_inputs;
    TaskRunner& m_runner;
    QWidget* m_window;
};
