// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetupPanel.h"
#include "ui_SetupPanel.h"

#include "CategoryStore.h"
#include "PickFile.h"
#include "Pictures.h"
#include "Prompts.h"
#include "ShellCheck.h"
#include "TaskRunner.h"
#include "frmNewCat.h"

#include <QFileInfo>
#include <QSignalBlocker>

namespace {

// The rows of the category listing as categories; a row without a number as its first field
// names no category that could be chosen.
QList<Category> categoriesOf(const QList<QStringList>& rows)
{
    QList<Category> categories;
    categories.reserve(rows.size());
    for (const QStringList& row : rows) {
        bool isNumber = false;
        const qint64 id = row.value(0).trimmed().toLongLong(&isNumber);
        if (isNumber)
            categories.append(
                {id, row.value(1), row.value(2), CategoryStore::isEnabled(row.value(3))});
    }
    return categories;
}

} // namespace

SetupPanel::SetupPanel(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::SetupPanel>())
{
    m_ui->setupUi(this);
    m_ui->cmdPoiOpen->setIcon(Pictures::openButton());
    m_ui->Image1->setPixmap(Pictures::image1());
}

SetupPanel::~SetupPanel() = default;

void SetupPanel::attach(Workspace& workspace, TaskRunner& runner)
{
    m_workspace = &workspace;
    m_runner = &runner;
    Ui::SetupPanel& ui = *m_ui;
    connect(ui.cmbCat, &LockableComboBox::focusEntered, this, &SetupPanel::categoryChooserEntered);
    connect(ui.cmbCat, &LockableComboBox::focusLeft, this, &SetupPanel::takeChosenCategory);
    connect(ui.cmdPoiOpen, &QPushButton::clicked, this, &SetupPanel::chooseDatabase);
    connect(ui.txtDb, &QLineEdit::editingFinished, this, &SetupPanel::takeTypedDatabase);
    connect(ui.cmdNewCat, &QPushButton::clicked, this, &SetupPanel::Add_Cat);
    connect(ui.txtCurrentCatNo, &QLineEdit::textChanged, this,
            [this] { emit guidance(Guidance::SelectGpxFile); });
    connect(ui.txtCurrentCatNo, &QLineEdit::textEdited, this, &SetupPanel::takeTypedNumber);
    connect(ui.TxtTemp, &QLineEdit::textChanged, m_workspace, &Workspace::setTempFolder);

    connect(m_workspace, &Workspace::databaseRequested, this, &SetupPanel::openDatabase);
    connect(m_workspace, &Workspace::databaseChanged, this, &SetupPanel::showDatabase);
    connect(m_workspace, &Workspace::tempFolderChanged, this,
            [this] { m_ui->TxtTemp->setText(m_workspace->tempFolder()); });
    connect(m_workspace, &Workspace::categoriesChanged, this, &SetupPanel::showCategories);
    connect(m_workspace, &Workspace::categoryChanged, this, &SetupPanel::showCategory);
    // Categories added, renamed or deleted anywhere reach the chooser.
    connect(m_workspace, &Workspace::tableChanged, this, [this](TableReader::Table table) {
        if (table == TableReader::Table::Category)
            Load_Cat();
    });
    ui.TxtTemp->setText(m_workspace->tempFolder());
}

void SetupPanel::chooseDatabase()
{
    const QString path =
        Pick_File(window(), tr("All Files (*.*)|*.*|Database Files (*.db)|*.db|"));
    // A cancelled dialog changes nothing.
    if (!path.isEmpty())
        m_workspace->openDatabase(path);
}

void SetupPanel::takeTypedDatabase()
{
    const QString typed = m_ui->txtDb->text();
    if (typed == m_workspace->databasePath())
        return;
    if (typed.isEmpty())
        showDatabase();
    else
        m_workspace->openDatabase(typed);
}

void SetupPanel::openDatabase(const QString& path, Workspace::Origin origin)
{
    const bool remembered = origin == Workspace::Origin::Remembered;
    auto listing = std::make_shared<Outcome<ShellRowList>>(ShellRowList());
    m_runner->start(
        remembered ? tr("Opening the database from last time")
                   : tr("Reading the categories"),
        QString(),
        [listing, path](TaskRunner::Control& run) {
            *listing = CategoryStore::list(path, run.stopCheck(), run.shell());
        },
        [this, listing, path, origin, remembered](bool stopped) {
            // Until the new file's categories are read, the database in use stays as it was.
            // A cancel forgets nothing: a remembered database is opened again next time.
            if (stopped) {
                showDatabase();
                emit statusMessage(
                    remembered
                        ? tr("Opening the database from last time was cancelled.")
                        : tr("Reading the categories was cancelled."));
                return;
            }
            if (!*listing) {
                refuseDatabase(path, listing->problem(), origin);
                return;
            }
            m_workspace->setDatabase(path, true);
            emit guidance(Guidance::SelectCategory);
            m_workspace->setCategories(categoriesOf(**listing));
        });
}

void SetupPanel::refuseDatabase(const QString& path, const Problem& problem,
                                Workspace::Origin origin)
{
    const bool remembered = origin == Workspace::Origin::Remembered;
    if (const std::optional<QString> missing =
            ShellCheck::missingShellText(m_runner->shellOptions())) {
        // The file is not at fault: a remembered one stays the one to open once the shell is
        // there, and is shown as such.
        if (remembered && m_workspace->databasePath().isEmpty())
            m_workspace->setDatabase(path, false);
        showDatabase();
        showMessage(window(), *missing, problem.text());
        return;
    }
    showDatabase();
    if (remembered) {
        m_workspace->refuseDatabase(path, problem.text(), origin);
        return;
    }
    const QString inUse = m_workspace->databasePath();
    showMessage(window(),
                tr("\"%1\" is not a POI database or cannot be read. %2")
                    .arg(QFileInfo(path).fileName(),
                         inUse.isEmpty() ? tr("No database is chosen yet.")
                                         : tr("The database in use stays \"%1\".")
                                               .arg(QFileInfo(inUse).fileName())),
                problem.text());
}

void SetupPanel::Load_Cat()
{
    const QString path = m_workspace->databasePath();
    auto listing = std::make_shared<Outcome<ShellRowList>>(ShellRowList());
    m_runner->start(
        tr("Reading the categories"), QString(),
        [listing, path](TaskRunner::Control& run) {
            *listing = CategoryStore::list(path, run.stopCheck(), run.shell());
        },
        [this, listing, path](bool stopped) {
            if (stopped) {
                emit statusMessage(tr("Reading the categories was cancelled."));
                return;
            }
            // The database may have been replaced meanwhile; its categories are read already.
            if (path != m_workspace->databasePath())
                return;
            if (!*listing) {
                ShellCheck::showDatabaseProblem(
                    window(), m_runner->shellOptions(),
                    tr("The categories could not be read from this database."),
                    listing->problemText());
                return;
            }
            m_workspace->setCategories(categoriesOf(**listing));
        });
}

void SetupPanel::Insert_Cat()
{
    if (!m_newCat)
        return;
    const QString label = m_newCat->label();
    const QString description = m_newCat->description();
    const QString dbPath = m_workspace->databasePath();
    // Without a database the insert and the reload would each fail: one message says why.
    if (!m_workspace->databaseOpened()) {
        showMessage(window(), tr("You must select a valid poi database"));
        return;
    }
    auto inserted = std::make_shared<Outcome<>>();
    m_runner->start(
        tr("Adding the category"), QString(),
        [=](TaskRunner::Control& run) {
            *inserted = CategoryStore::insert(dbPath, label, description, run.shell());
        },
        [this, inserted, label](bool) {
            // A failed insert changed nothing: there is nothing to read again.
            if (!*inserted) {
                ShellCheck::showDatabaseProblem(window(), m_runner->shellOptions(),
                                                tr("New Category failed"),
                                                inserted->problemText());
                return;
            }
            emit statusMessage(tr("Added category \"%1\".").arg(label));
            m_workspace->noteTableChanged(TableReader::Table::Category);
        });
}

void SetupPanel::Add_Cat()
{
    if (!m_newCat) {
        m_newCat = new frmNewCat(window());
        connect(m_newCat, &frmNewCat::actionRequested, this, &SetupPanel::Insert_Cat);
    }
    m_newCat->setEnabled(!m_runner->isRunning());
    m_newCat->open();
}

frmNewCat* SetupPanel::newCategoryDialog() const
{
    return m_newCat;
}

void SetupPanel::setRunning(bool running)
{
    m_ui->Frame4->setEnabled(!running);
    if (m_newCat)
        m_newCat->setEnabled(!running);
}

void SetupPanel::focusCategoryChooser()
{
    m_ui->cmbCat->setFocus();
}

void SetupPanel::showDatabase()
{
    m_ui->txtDb->setText(m_workspace->databasePath());
}

void SetupPanel::showCategories()
{
    LockableComboBox& chooser = *m_ui->cmbCat;
    QStringList labels;
    labels.reserve(m_workspace->categories().size());
    for (const Category& category : m_workspace->categories())
        labels << category.label;
    chooser.clear();
    chooser.addItems(labels);
    // Adding entries picks the first one; the chooser starts with none.
    chooser.setCurrentIndex(-1);
    const bool opened = m_workspace->databaseOpened();
    chooser.setEditText(opened ? noCategoryText() : QString());
    chooser.setLocked(!opened);
}

void SetupPanel::showCategory()
{
    Ui::SetupPanel& ui = *m_ui;
    const std::optional<Category>& category = m_workspace->category();
    if (!category) {
        {
            // Emptied fields are no step forward: the guidance stays.
            const QSignalBlocker noGuidance(ui.txtCurrentCatNo);
            for (QLineEdit* field : {ui.txtCurrentCatNo, ui.txtCurrentCatLab, ui.txtCurrentCatDesc,
                                     ui.txtCurrentCatEn}) {
                if (field != ui.txtCurrentCatNo || !m_typingNumber)
                    field->clear();
            }
        }
        // A chooser naming an entry would name a category no longer chosen; a text the user
        // typed that names none stays.
        if (ui.cmbCat->findText(ui.cmbCat->currentText(),
                                Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0) {
            ui.cmbCat->setCurrentIndex(-1);
            ui.cmbCat->setEditText(noCategoryText());
        }
        return;
    }
    const QString number = QString::number(category->id);
    if (!m_typingNumber && ui.txtCurrentCatNo->text() != number)
        ui.txtCurrentCatNo->setText(number);
    ui.txtCurrentCatLab->setText(category->label);
    ui.txtCurrentCatDesc->setText(category->description);
    ui.txtCurrentCatEn->setText(category->enabled ? tr("Enabled")
                                                  : tr("Disabled"));
    const qsizetype entry = m_workspace->categories().indexOf(*category);
    if (entry >= 0 &&
        (ui.cmbCat->currentIndex() != entry || ui.cmbCat->currentText() != category->label)) {
        ui.cmbCat->setCurrentIndex(int(entry));
        ui.cmbCat->setEditText(category->label);
    }
}

std::optional<int> SetupPanel::chosenEntry() const
{
    const LockableComboBox& chooser = *m_ui->cmbCat;
    const QString text = chooser.currentText();
    if (text.isEmpty() || text == noCategoryText())
        return std::nullopt;
    // The entry picked, unless the text typed over it names another (no entry reads empty).
    const int picked = chooser.currentIndex();
    if (chooser.itemText(picked) == text)
        return picked;
    const int named = chooser.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (named >= 0)
        return named;
    return std::nullopt;
}

void SetupPanel::takeChosenCategory()
{
    const std::optional<int> entry = chosenEntry();
    const QList<Category>& categories = m_workspace->categories();
    m_workspace->setCategory(entry && *entry < categories.size() ? std::optional(categories[*entry])
                                                                 : std::nullopt);
}

void SetupPanel::takeTypedNumber(const QString& text)
{
    // A typed number that names a category chooses it; any other text chooses none.
    m_typingNumber = true;
    bool isNumber = false;
    const qint64 id = text.trimmed().toLongLong(&isNumber);
    if (isNumber)
        m_workspace->chooseCategory(id);
    else
        m_workspace->setCategory(std::nullopt);
    m_typingNumber = false;
}
