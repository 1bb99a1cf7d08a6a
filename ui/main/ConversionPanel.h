#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class frmMain;
class SetupPanel;
struct ConvertRequest;
struct ConvertResult;
struct GpxProblem;

// The "Input" and "Output" frames: choosing the GPX file, the output path derived from it,
// the delivery option, the conversion itself and the editor for the GPX file.
class ConversionPanel : public QObject
{
    Q_OBJECT

public:
    ConversionPanel(frmMain& window, SetupPanel& setup);

    // The click on "Convert Poi to SQL": checks the inputs, then converts.
    void convert();
    // The click on "Display/Edit PoiFile".
    void displayEdit();

    bool isConverting() const { return m_converting; }

    // How many problems the message after a conversion lists one by one.
    static constexpr int kProblemsListed = 20;

private:
    void chooseGpxFile();
    void deriveOutputPath(const QString& gpxPath);
    void Convert_Poi(const QString& gpxPath, int categoryNumber, const QString& table);
    ConvertResult run(const ConvertRequest& request, QStringList* lines,
                      QList<GpxProblem>* problems);
    void setConversionControlsEnabled(bool enabled);
    void report(const ConvertResult& result, const QString& gpxPath);

    frmMain& m_window;
    SetupPanel& m_setup;
    bool m_converting = false;
};
