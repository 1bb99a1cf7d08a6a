#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <optional>

class frmMain;
class frmNewCat;

// The "Setup" frame: choosing the database, the category chooser and its four read-back
// fields, and the New Category dialog.
class SetupPanel : public QObject
{
    Q_OBJECT

public:
    explicit SetupPanel(frmMain& window);

    // Shows the window's one file-open dialog with a "description|pattern|" filter list, the
    // second entry preselected; the chosen path, or empty when cancelled.
    QString Pick_File(const QString& filterList);

    // Refills the category chooser and CatRows from the database in txtDb.
    void Load_Cat();
    // Inserts the New Category dialog's texts as an enabled category, then reloads.
    void Insert_Cat();
    // Opens the one New Category dialog, modeless.
    void Add_Cat();

    // The rows of the last category listing, in the chooser's order.
    const QList<QStringList>& CatRows() const { return m_catRows; }
    // The chosen category's own number (field 0 of its row): the picked entry, or the entry
    // whose label is the typed text; nothing when no entry is meant.
    std::optional<QString> chosenCategoryNumber() const;

    bool isLoading() const { return m_loading; }
    frmNewCat* newCategoryDialog() const;

    static QString noCategoryText() { return QStringLiteral("Select a Category"); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseDatabase();
    void enableConversion();
    void showChosenCategory();
    std::optional<int> chosenEntry() const;

    frmMain& m_window;
    QList<QStringList> m_catRows;
    QPointer<frmNewCat> m_newCat;
    bool m_loading = false;
};
