#pragma once

#include "StatusTexts.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <optional>

class LockableComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;
class TaskRunner;
class frmNewCat;

// The "Setup" frame: choosing the database, the category chooser and its four read-back
// fields, and the New Category dialog. It reaches only its own controls.
class SetupPanel : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        QGroupBox* Frame4;
        QLineEdit* txtDb;
        QLineEdit* TxtTemp;
        QPushButton* cmdPoiOpen;
        LockableComboBox* cmbCat;
        QPushButton* cmdNewCat;
        QLineEdit* txtCurrentCatNo;
        QLineEdit* txtCurrentCatLab;
        QLineEdit* txtCurrentCatDesc;
        QLineEdit* txtCurrentCatEn;
    };

    SetupPanel(const Controls& controls, TaskRunner& runner, QWidget* window);

    // Refills the category chooser and CatRows from the database in txtDb.
    void Load_Cat();
    // Inserts the New Category dialog's texts as an enabled category, then reloads.
    void Insert_Cat();
    // Opens the one New Category dialog, modeless.
    void Add_Cat();
    // `path` becomes the database exactly as if the chooser had picked it.
    void useDatabase(const QString& path);
    // The database remembered from the last run: taken as chosen only when its categories
    // can be read; otherwise rememberedDatabaseFailed, and nothing else changes.
    void restoreDatabase(const QString& path);

    // The rows of the last category listing, in the chooser's order.
    const QList<QStringList>& CatRows() const { return m_catRows; }
    // The chosen category's own number (field 0 of its row): the picked entry, or the entry
    // whose label is the typed text; nothing when no entry is meant.
    std::optional<QString> chosenCategoryNumber() const;
    // The chooser's text, and the label of the chosen entry (empty when none is meant).
    QString categoryText() const;
    QString chosenCategoryLabel() const;
    QString databasePath() const;
    QString tempFolder() const;
    // The number shown in txtCurrentCatNo, as the user may have typed it.
    QString shownCategoryNumber() const;

    void focusCategoryChooser();
    // While a run goes, nothing here can start another or change its inputs.
    void setRunning(bool running);
    frmNewCat* newCategoryDialog() const;

    static QString noCategoryText() { return QStringLiteral("Select a Category"); }

signals:
    // A database was chosen: its controls elsewhere may be enabled.
    void databaseChosen();
    // The category chooser got the focus: the conversion controls may be enabled.
    void categoryChooserEntered();
    void guidance(Guidance step);
    void statusMessage(const QString& text);
    // The category table changed (a category was added).
    void categoriesChanged();
    void rememberedDatabaseFailed(const QString& path, const QString& reason);

private:
    void chooseDatabase();
    // Reads the categories of `dbPath`; only when that succeeds does it replace the chooser's
    // entries and, for a `newDatabase`, become the database in use.
    void loadCategories(const QString& dbPath, bool newDatabase);
    void fillCategories(QList<QStringList> rows);
    void showChosenCategory();
    std::optional<int> chosenEntry() const;

    Controls m_ui;
    TaskRunner& m_runner;
    QWidget* m_window;
    QList<QStringList> m_catRows;
    QPointer<frmNewCat> m_newCat;
};
