#include "SetupPanel.h"

#include "CategoryStore.h"
#include "LockableComboBox.h"
#include "PickFile.h"
#include "Prompts.h"
#include "TaskRunner.h"
#include "frmNewCat.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <memory>

SetupPanel::SetupPanel(const Controls& controls, TaskRunner& runner, QWidget* window)
    : QObject(window), m_ui(controls), m_runner(runner), m_window(window)
{
    m_ui.cmbCat->setInsertPolicy(QComboBox::NoInsert);
    connect(m_ui.cmbCat, &LockableComboBox::focusEntered, this,
            &SetupPanel::categoryChooserEntered);
    connect(m_ui.cmbCat, &LockableComboBox::focusLeft, this, &SetupPanel::showChosenCategory);
    connect(m_ui.cmdPoiOpen, &QPushButton::clicked, this, &SetupPanel::chooseDatabase);
    connect(m_ui.cmdNewCat, &QPushButton::clicked, this, &SetupPanel::Add_Cat);
    connect(m_ui.txtCurrentCatNo, &QLineEdit::textChanged, this,
            [this] { emit guidance(Guidance::SelectGpxFile); });
}

void SetupPanel::chooseDatabase()
{
    const QString path =
        Pick_File(m_window, QStringLiteral("All Files (*.*)|*.*|Database Files (*.db)|*.db|"));
    // A cancelled dialog changes nothing.
    if (!path.isEmpty())
        useDatabase(path);
}

void SetupPanel::useDatabase(const QString& path)
{
    loadCategories(path, true);
}

void SetupPanel::restoreDatabase(const QString& path)
{
    auto listing = std::make_shared<ShellResult>();
    m_runner.start(
        QStringLiteral("Opening the database from last time"), QString(),
        [listing, path](TaskRunner::Control& run) {
            *listing = CategoryStore::list(path, run.stopCheck(), run.shell());
        },
        [this, listing, path](bool stopped) {
            if (stopped || !listing->ok()) {
                emit rememberedDatabaseFailed(path, stopped ? QStringLiteral("cancelled")
                                                            : listing->problem->text());
                return;
            }
            m_ui.txtDb->setText(path);
            emit databaseChosen();
            emit guidance(Guidance::SelectCategory);
            fillCategories(std::move(listing->rows));
        });
}

void SetupPanel::Load_Cat()
{
    loadCategories(databasePath(), false);
}

void SetupPanel::loadCategories(const QString& dbPath, bool newDatabase)
{
    auto listing = std::make_shared<ShellResult>();
    m_runner.start(
        QStringLiteral("Reading the categories"), QString(),
        [listing, dbPath](TaskRunner::Control& run) {
            *listing = CategoryStore::list(dbPath, run.stopCheck(), run.shell());
        },
        [this, listing, dbPath, newDatabase](bool stopped) {
            // Until the new file's categories are read, the database in use stays as it was.
            if (stopped) {
                emit statusMessage(QStringLiteral("Reading the categories was cancelled."));
                return;
            }
            if (!listing->ok()) {
                const QString inUse = databasePath();
                showMessage(
                    m_window,
                    newDatabase
                        ? QStringLiteral("\"%1\" is not a POI database or cannot be read. %2")
                              .arg(QFileInfo(dbPath).fileName(),
                                   inUse.isEmpty()
                                       ? QStringLiteral("No database is chosen yet.")
                                       : QStringLiteral("The database in use stays \"%1\".")
                                             .arg(QFileInfo(inUse).fileName()))
                        : QStringLiteral("The categories could not be read from this database."),
                    listing->problem->text());
                return;
            }
            if (newDatabase) {
                m_ui.txtDb->setText(dbPath);
                emit databaseChosen();
                emit guidance(Guidance::SelectCategory);
            }
            fillCategories(std::move(listing->rows));
        });
}

void SetupPanel::fillCategories(QList<QStringList> rows)
{
    m_catRows = std::move(rows);
    QStringList labels;
    labels.reserve(m_catRows.size());
    for (const QStringList& row : std::as_const(m_catRows))
        labels << row.value(1);
    m_ui.cmbCat->clear();
    m_ui.cmbCat->addItems(labels);
    // Adding entries picks the first one; the chooser starts with none.
    m_ui.cmbCat->setCurrentIndex(-1);
    m_ui.cmbCat->setEditText(noCategoryText());
    m_ui.cmbCat->setLocked(false);
}

void SetupPanel::Insert_Cat()
{
    if (!m_newCat)
        return;
    const QString label = m_newCat->label();
    const QString description = m_newCat->description();
    const QString dbPath = databasePath();
    // Without a database the insert and the reload would each fail: one message says why.
    if (dbPath.isEmpty()) {
        showMessage(m_window, QStringLiteral("You must select a valid poi database"));
        return;
    }
    auto inserted = std::make_shared<ShellResult>();
    m_runner.start(
        QStringLiteral("Adding the category"), QString(),
        [=](TaskRunner::Control& run) {
            *inserted = CategoryStore::insert(dbPath, label, description, run.shell());
        },
        [this, inserted, label](bool) {
            // A failed insert changed nothing: there is nothing to read again.
            if (!inserted->ok()) {
                showMessage(m_window, QStringLiteral("New Category failed"),
                            inserted->problem->text());
                return;
            }
            emit statusMessage(QStringLiteral("Added category \"%1\".").arg(label));
            emit categoriesChanged();
            Load_Cat();
        });
}

void SetupPanel::Add_Cat()
{
    if (!m_newCat) {
        m_newCat = new frmNewCat(m_window);
        connect(m_newCat, &frmNewCat::actionRequested, this, &SetupPanel::Insert_Cat);
    }
    m_newCat->setEnabled(!m_runner.isRunning());
    m_newCat->open();
}

frmNewCat* SetupPanel::newCategoryDialog() const
{
    return m_newCat;
}

void SetupPanel::setRunning(bool running)
{
    m_ui.Frame4->setEnabled(!running);
    if (m_newCat)
        m_newCat->setEnabled(!running);
}

void SetupPanel::focusCategoryChooser()
{
    m_ui.cmbCat->setFocus();
}

std::optional<int> SetupPanel::chosenEntry() const
{
    const QString text = categoryText();
    if (text.isEmpty() || text == noCategoryText())
        return std::nullopt;
    const int picked = m_ui.cmbCat->currentIndex();
    if (picked >= 0 && m_ui.cmbCat->itemText(picked) == text)
        return picked;
    const int named = m_ui.cmbCat->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (named >= 0)
        return named;
    return std::nullopt;
}

std::optional<QString> SetupPanel::chosenCategoryNumber() const
{
    const std::optional<int> entry = chosenEntry();
    if (!entry || *entry >= m_catRows.size())
        return std::nullopt;
    return m_catRows[*entry].value(0);
}

QString SetupPanel::categoryText() const
{
    return m_ui.cmbCat->currentText();
}

QString SetupPanel::chosenCategoryLabel() const
{
    const std::optional<int> entry = chosenEntry();
    return entry ? m_ui.cmbCat->itemText(*entry) : QString();
}

QString SetupPanel::databasePath() const
{
    return m_ui.txtDb->text();
}

QString SetupPanel::tempFolder() const
{
    return m_ui.TxtTemp->text();
}

QString SetupPanel::shownCategoryNumber() const
{
    return m_ui.txtCurrentCatNo->text();
}

void SetupPanel::showChosenCategory()
{
    // The fields show the entry the chooser's text names, the one Convert uses; a text that
    // names none leaves them empty.
    const std::optional<int> entry = chosenEntry();
    if (!entry || *entry >= m_catRows.size()) {
        const QSignalBlocker noGuidance(m_ui.txtCurrentCatNo);
        for (QLineEdit* field : {m_ui.txtCurrentCatNo, m_ui.txtCurrentCatLab,
                                 m_ui.txtCurrentCatDesc, m_ui.txtCurrentCatEn})
            field->clear();
        return;
    }
    const QStringList& row = m_catRows[*entry];
    m_ui.txtCurrentCatNo->setText(row.value(0));
    m_ui.txtCurrentCatLab->setText(row.value(1));
    m_ui.txtCurrentCatDesc->setText(row.value(2));
    m_ui.txtCurrentCatEn->setText(CategoryStore::isEnabled(row.value(3))
                                      ? QStringLiteral("Enabled")
                                      : QStringLiteral("Disabled"));
}
