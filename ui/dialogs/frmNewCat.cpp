// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmNewCat.h"

#include "ui_frmNewCat.h"

#include "CategoryLabels.h"
#include "Fonts.h"
#include "OwnAccessKeys.h"
#include "Prompts.h"

#include <QScreen>
#include <QShortcut>

frmNewCat::frmNewCat(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::frmNewCat>())
{
    Fonts::installFallbacks();
    setFont(Fonts::msSansSerif());
    ui->setupUi(this);
    new OwnAccessKeys(this);
    setFixedSize(size());
    // The buttons only hide it; its close box unloads it, so it opens empty next time.
    setAttribute(Qt::WA_DeleteOnClose);
    connect(ui->cmdAction, &QPushButton::clicked, this, [this] {
        // A category without a label, or with another's, could never be told apart.
        if (const auto problem = CategoryLabels::problem(label(), m_taken)) {
            showMessage(this, *problem);
            ui->txtNewLab->setFocus();
            return;
        }
        emit actionRequested();
        hide();
    });
    connect(ui->cmdNExit, &QPushButton::clicked, this, &QWidget::hide);
    // Escape is the Exit button.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, ui->cmdNExit,
            &QPushButton::click);
    ui->txtNewLab->setFocus();
}

frmNewCat::~frmNewCat() = default;

QString frmNewCat::label() const
{
    return ui->txtNewLab->text();
}

void frmNewCat::setTakenLabels(const QStringList& labels)
{
    m_taken = labels;
}

QString frmNewCat::description() const
{
    return ui->txtNewDesc->text();
}

void frmNewCat::open()
{
    if (!m_placed) {
        // Centred over the main window, or on the screen when it stands alone.
        const QRect area = parentWidget() ? parentWidget()->window()->frameGeometry()
                                          : screen()->availableGeometry();
        create(); // its frame is known from here on
        QRect placed = frameGeometry();
        placed.moveCenter(area.center());
        move(placed.topLeft());
        m_placed = true;
    }
    show();
    raise();
    activateWindow();
}
