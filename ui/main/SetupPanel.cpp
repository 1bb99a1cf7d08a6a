#include "SetupPanel.h"

#include "ui_frmMain.h"

#include "CategoryStore.h"
#include "Prompts.h"
#include "frmMain.h"
#include "frmNewCat.h"

#include <QFocusEvent>
#include <QGuiApplication>

namespace {

// Clears a flag on every way out of a scope.
struct FlagGuard
{
    explicit FlagGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagGuard() { m_flag = false; }
    bool& m_flag;
};

} // namespace

SetupPanel::SetupPanel(frmMain& window) : QObject(&window), m_window(window)
{
    Ui::frmMain& ui = window.ui();
    ui.cmbCat->setInsertPolicy(QComboBox::NoInsert);
    ui.cmbCat->installEventFilter(this);
    connect(ui.cmdPoiOpen, &QPushButton::clicked, this, &SetupPanel::chooseDatabase);
    connect(ui.cmdNewCat, &QPushButton::clicked, this, &SetupPanel::Add_Cat);
    connect(ui.txtCurrentCatNo, &QLineEdit::textChanged, this,
            [this] { m_window.setGuidance(frmMain::Guidance::SelectGpxFile); });
}

QString SetupPanel::Pick_File(const QString& filterList)
{
    Prompts::FileRequest request;
    request.filters = filtersFromList(filterList);
    request.selectedFilter = 1;
    return Prompts::current().openFile(&m_window, request);
}

void SetupPanel::chooseDatabase()
{
    if (m_loading)
        return;
    const QString path =
        Pick_File(QStringLiteral("All Files (*.*)|*.*|Database Files (*.db)|*.db|"));
    // A cancelled dialog changes nothing.
    if (path.isEmpty())
        return;
    Ui::frmMain& ui = m_window.ui();
    ui.txtDb->setText(path);
    ui.cmdViewPoi->setEnabled(true);
    ui.cmdViewCat->setEnabled(true);
    ui.Frame1->setEnabled(true);
    m_window.setGuidance(frmMain::Guidance::SelectCategory);
    Load_Cat();
}

void SetupPanel::Load_Cat()
{
    if (m_loading)
        return;
    FlagGuard loading(m_loading);
    Ui::frmMain& ui = m_window.ui();
    ui.cmbCat->clear();
    ui.cmbCat->setEditText(noCategoryText());
    ui.cmbCat->setLocked(false);
    m_catRows.clear();

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ShellResult listing = CategoryStore::list(ui.txtDb->text());
    QGuiApplication::restoreOverrideCursor();
    if (!listing.ok) {
        showMessage(&m_window,
                    QStringLiteral("The categories could not be read from this database."),
                    listing.errorMessage);
        return;
    }
    m_catRows = std::move(listing.rows);
    QStringList labels;
    labels.reserve(m_catRows.size());
    for (const QStringList& row : std::as_const(m_catRows))
        labels << row.value(1);
    ui.cmbCat->addItems(labels);
    // Adding entries picks the first one; the chooser starts with none.
    ui.cmbCat->setCurrentIndex(-1);
    ui.cmbCat->setEditText(noCategoryText());
}

void SetupPanel::Insert_Cat()
{
    if (m_loading || !m_newCat)
        return;
    const ShellResult inserted = CategoryStore::insert(m_window.ui().txtDb->text(),
                                                       m_newCat->label(), m_newCat->description());
    if (!inserted.ok)
        showMessage(&m_window, QStringLiteral("New Category failed"), inserted.errorMessage);
    Load_Cat();
}

void SetupPanel::Add_Cat()
{
    if (m_loading)
        return;
    if (!m_newCat) {
        m_newCat = new frmNewCat(&m_window);
        connect(m_newCat, &frmNewCat::actionRequested, this, &SetupPanel::Insert_Cat);
    }
    m_newCat->open();
}

frmNewCat* SetupPanel::newCategoryDialog() const
{
    return m_newCat;
}

std::optional<int> SetupPanel::chosenEntry() const
{
    const auto* cmbCat = m_window.ui().cmbCat;
    const QString text = cmbCat->currentText();
    if (text.isEmpty() || text == noCategoryText())
        return std::nullopt;
    const int picked = cmbCat->currentIndex();
    if (picked >= 0 && cmbCat->itemText(picked) == text)
        return picked;
    const int named = cmbCat->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
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

bool SetupPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window.ui().cmbCat) {
        if (event->type() == QEvent::FocusIn)
            enableConversion();
        // Opening the chooser's list is part of picking, not leaving it.
        if (event->type() == QEvent::FocusOut &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            showChosenCategory();
    }
    return QObject::eventFilter(watched, event);
}

void SetupPanel::enableConversion()
{
    Ui::frmMain& ui = m_window.ui();
    ui.cmdConv->setEnabled(true);
    ui.Option1->setEnabled(true);
    ui.Option2->setEnabled(true);
    ui.Option3->setEnabled(true);
}

void SetupPanel::showChosenCategory()
{
    const int picked = m_window.ui().cmbCat->currentIndex();
    if (picked < 0 || picked >= m_catRows.size())
        return;
    const QStringList& row = m_catRows[picked];
    Ui::frmMain& ui = m_window.ui();
    ui.txtCurrentCatNo->setText(row.value(0));
    ui.txtCurrentCatLab->setText(row.value(1));
    ui.txtCurrentCatDesc->setText(row.value(2));
    ui.txtCurrentCatEn->setText(CategoryStore::isEnabled(row.value(3))
                                    ? QStringLiteral("Enabled")
                                    : QStringLiteral("Disabled"));
}
