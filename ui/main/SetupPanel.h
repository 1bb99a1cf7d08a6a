// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StatusTexts.h"
#include "Workspace.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

namespace Ui {
class SetupPanel;
}
struct Problem;
class TaskRunner;
class frmNewCat;

// The "Setup" frame: the database, the temporary folder, the category chooser with its four
// read-back fields, and the New Category dialog. It shows the workspace and edits it; the
// database becomes the workspace's only once its categories have been read.
class SetupPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SetupPanel(QWidget* parent = nullptr);
    ~SetupPanel() override;

    // Shows `workspace` from now on and runs its work on `runner`.
    void attach(Workspace& workspace, TaskRunner& runner);

    // Reads the categories of the database in use again.
    void Load_Cat();
    // Inserts the New Category dialog's texts as an enabled category, then reloads.
    void Insert_Cat();
    // Opens the one New Category dialog, modeless.
    void Add_Cat();

    void focusCategoryChooser();
    // While a run goes, nothing here can start another or change its inputs.
    void setRunning(bool running);
    frmNewCat* newCategoryDialog() const;

    // The chooser's text while no category is chosen.
    static QString noCategoryText() { return tr("Select a Category"); }

signals:
    // The category chooser got the focus: the conversion controls may be enabled.
    void categoryChooserEntered();
    void guidance(Guidance step);
    void statusMessage(const QString& text);

private:
    void chooseDatabase();
    void takeTypedDatabase();
    // Reads the categories of `path`; only when that succeeds does it become the database.
    void openDatabase(const QString& path, Workspace::Origin origin);
    void refuseDatabase(const QString& path, const Problem& problem, Workspace::Origin origin);
    void showDatabase();
    void showCategories();
    void showCategory();
    // The chooser's choice goes to the workspace as the focus leaves it.
    void takeChosenCategory();
    void takeTypedNumber(const QString& text);
    std::optional<int> chosenEntry() const;

    std::unique_ptr<Ui::SetupPanel> m_ui;
    Workspace* m_workspace = nullptr;
    TaskRunner* m_runner = nullptr;
    QPointer<frmNewCat> m_newCat;
    // The number field is being typed in: it keeps the text as typed.
    bool m_typingNumber = false;
};
