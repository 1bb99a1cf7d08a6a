// SPDX-License-Identifier: GPL-3.0-or-later
#include "LockableComboBox.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

LockableComboBox::LockableComboBox(QWidget* parent) : QComboBox(parent) {}

void LockableComboBox::setLocked(bool locked)
{
    m_locked = locked;
    if (QLineEdit* edit = lineEdit())
        edit->setReadOnly(m_locked);
}

void LockableComboBox::showPopup()
{
    if (!m_locked)
        QComboBox::showPopup();
}

void LockableComboBox::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    emit focusEntered();
}

void LockableComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        emit focusLeft();
}

void LockableComboBox::keyPressEvent(QKeyEvent* event)
{
    // Keys that would choose another entry; cursor keys within the text still work.
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_F4:
    case Qt::Key_Space:
        if (m_locked) {
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QComboBox::keyPressEvent(event);
}

void LockableComboBox::wheelEvent(QWheelEvent* event)
{
    if (m_locked) {
        event->accept();
        return;
    }
    QComboBox::wheelEvent(event);
}
