// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SortedListModel.h"
#include "StatusTexts.h"

#include <QWidget>

#include <memory>
#include <optional>

namespace Ui {
class ConversionPanel;
}
class TaskRunner;
class Workspace;
struct ConvertRequest;
struct UnknownType;
enum class UnknownTypes;
struct ConversionRun;

// The "Input" and "Output" frames: the GPX file, the output path derived from it, the
// delivery option, the conversion itself and the editor for the GPX file. It shows the
// workspace and edits it.
class ConversionPanel : public QWidget
{
    Q_OBJECT

public:
    explicit ConversionPanel(QWidget* parent = nullptr);
    ~ConversionPanel() override;

    // Shows `workspace` from now on and runs its work on `runner`.
    void attach(Workspace& workspace, TaskRunner& runner);

    // The question about the types that name no category, asked on the window's thread: Create
    // (loads only) or Chosen, or nothing for Cancel.
    static std::optional<UnknownTypes> askUnknownTypes(QWidget* window, const QList<UnknownType>& unknown,
                                                       bool load, const QString& chosen);

    // The click on "Convert Poi to SQL": checks the inputs, then converts.
    void convert();
    // The click on "Display/Edit PoiFile".
    void displayEdit();
    // Enables "Convert Poi to SQL" and the three output options.
    void enableControls();
    void setRunning(bool running);

    // How many problems the message after a conversion lists one by one.
    static constexpr int kProblemsListed = 20;

signals:
    void categoryMissing();
    void guidance(Guidance step);
    void statusMessage(const QString& text);
    // List1 is emptied as a conversion starts, and given its statements (already in the
    // list's order) when it ends; a load's, only once they are all stored.
    void outputCleared();
    void outputReady(const SortedListModel::Rows& statements);

private:
    using Statements = std::shared_ptr<SortedListModel::Rows>;

    void chooseGpxFile();
    void showGpxFile();
    void showDelivery();
    void showCategorySource();
    void Convert_Poi(const QString& gpxPath, int categoryNumber, const QString& table);
    // Runs the conversion; `listed` holds the statements of an earlier run of the same file,
    // which this one then need not list again.
    void start(const ConvertRequest& request, const QString& categoryLabel, Statements listed);
    void finish(const ConvertRequest& request, const QString& categoryLabel,
                const ConversionRun& run);
    void report(const ConversionRun& run, const ConvertRequest& request,
                const QString& categoryLabel);

    std::unique_ptr<Ui::ConversionPanel> m_ui;
    Workspace* m_workspace = nullptr;
    TaskRunner* m_runner = nullptr;
};
