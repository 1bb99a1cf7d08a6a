#pragma once

#include "SortedListModel.h"
#include "StatusTexts.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;
class TaskRunner;
struct ConvertRequest;
struct ConvertResult;

// The "Input" and "Output" frames: choosing the GPX file, the output path derived from it,
// the delivery option, the conversion itself and the editor for the GPX file.
class ConversionPanel : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        QGroupBox* Frame3;
        QGroupBox* Frame5;
        QLineEdit* txtPoiPath;
        QPushButton* cmdpFileOpen;
        QPushButton* cmdDispEd;
        QRadioButton* Option1;
        QRadioButton* Option2;
        QRadioButton* Option3;
        QLabel* txtOp;
        QPushButton* cmdConv;
    };
    // What the conversion reads from the setup panel, asked at the moment of use.
    struct Inputs
    {
        std::function<QString()> databasePath;
        std::function<QString()> tempFolder;
        std::function<std::optional<QString>()> categoryNumber;
        std::function<QString()> categoryLabel;
    };

    ConversionPanel(const Controls& controls, Inputs inputs, TaskRunner& runner, QWidget* window);

    // The click on "Convert Poi to SQL": checks the inputs, then converts.
    void convert();
    // The click on "Display/Edit PoiFile".
    void displayEdit();
    // Enables "Convert Poi to SQL" and the three output options.
    void enableControls();
    // `path` becomes the GPX file, as if the chooser had picked it.
    void useGpxFile(const QString& path);
    // Where the GPX chooser opens: the folder of the last GPX file.
    void setGpxFolder(const QString& folder) { m_gpxFolder = folder; }
    void setRunning(bool running);

    // How many problems the message after a conversion lists one by one.
    static constexpr int kProblemsListed = 20;

signals:
    void categoryMissing();
    void guidance(Guidance step);
    void statusMessage(const QString& text);
    // List1 is emptied as a conversion starts, and given its statements (already in the
    // list's order) when it ends.
    void outputCleared();
    void outputReady(const SortedListModel::Rows& statements);
    // A GPX file was chosen or dropped.
    void gpxFileUsed(const QString& path);

private:
    void chooseGpxFile();
    void deriveOutputPath(const QString& gpxPath);
    void Convert_Poi(const QString& gpxPath, int categoryNumber, const QString& table);
    void start(const ConvertRequest& request, bool listLines);
    void finish(const ConvertRequest& request, const ConvertResult& result,
                SortedListModel::Rows& statements);
    void report(const ConvertResult& result, const ConvertRequest& request);

    Controls m_ui;
    Inputs m_inputs;
    TaskRunner& m_runner;
    QWidget* m_window;
    QString m_gpxFolder;
};
