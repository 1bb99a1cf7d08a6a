// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmNewPoi.h"

#include "ui_frmNewPoi.h"

#include "Fonts.h"

#include "PoiFields.h"
#include "Prompts.h"

#include <QMouseEvent>
#include <QShortcut>
#include <QWindow>

frmNewPoi::frmNewPoi(QWidget* parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::frmNewPoi>())
{
    Fonts::installFallbacks();
    setFont(Fonts::msSansSerif());
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(ui->Command1, &QPushButton::clicked, this, &frmNewPoi::action);
    connect(ui->Command2, &QPushButton::clicked, this, &QWidget::close);
    // Escape is the Cancel button.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    ui->txtLat->setFocus();
}

frmNewPoi::~frmNewPoi() = default;

bool frmNewPoi::fieldMayBeLeft(QLineEdit* field)
{
    const Outcome<> checked = field == ui->txtLat    ? PoiFields::checkLatitude(field->text())
                              : field == ui->txtLong ? PoiFields::checkLongitude(field->text())
                                                     : Outcome<>();
    if (checked)
        return true;
    showMessage(this, checked.problem().message);
    field->setFocus();
    return false;
}

bool frmNewPoi::eventFilter(QObject* watched, QEvent* event)
{
    // A click elsewhere in the dialog moves the focus: check the field being left first, and
    // swallow the click when the check refuses. The window sees the press before Qt moves
    // the focus to the clicked control.
    if (watched == windowHandle() && (event->type() == QEvent::MouseButtonPress ||
                                      event->type() == QEvent::MouseButtonDblClick)) {
        const auto* press = static_cast<QMouseEvent*>(event);
        QWidget* target = childAt(mapFromGlobal(press->globalPosition().toPoint()));
        auto* focused = qobject_cast<QLineEdit*>(focusWidget());
        if (focused && target && target != focused && (target->focusPolicy() & Qt::ClickFocus) &&
            !fieldMayBeLeft(focused))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmNewPoi::showEvent(QShowEvent* event)
{
    if (windowHandle())
        windowHandle()->installEventFilter(this);
    QWidget::showEvent(event);
}

bool frmNewPoi::focusNextPrevChild(bool next)
{
    auto* focused = qobject_cast<QLineEdit*>(focusWidget());
    if (focused && !fieldMayBeLeft(focused))
        return true;
    return QWidget::focusNextPrevChild(next);
}

void frmNewPoi::action()
{
    if (ui->txtLat->text().isEmpty() || ui->txtLong->text().isEmpty() ||
        ui->txtPLab->text().isEmpty()) {
        showMessage(this, tr("You must have valid entries in Lat,Long and Label fields"));
        return;
    }
    emit addRequested(ui->txtLat->text(), ui->txtLong->text(), ui->txtPLab->text(),
                      ui->txtPDesc->text());
}
