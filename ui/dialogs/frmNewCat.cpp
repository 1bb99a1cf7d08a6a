#include "frmNewCat.h"

#include "ui_frmNewCat.h"

#include "Fonts.h"

#include <QShortcut>

frmNewCat::frmNewCat(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::frmNewCat>())
{
    Fonts::installFallbacks();
    setFont(Fonts::msSansSerif());
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->cmdAction, &QPushButton::clicked, this, [this] {
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

QString frmNewCat::description() const
{
    return ui->txtNewDesc->text();
}

void frmNewCat::open()
{
    show();
    raise();
    activateWindow();
}
