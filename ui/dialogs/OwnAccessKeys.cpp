// SPDX-License-Identifier: GPL-3.0-or-later
#include "OwnAccessKeys.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>

OwnAccessKeys::OwnAccessKeys(QWidget* window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
    for (QWidget* control : window->findChildren<QWidget*>())
        control->installEventFilter(this);
}

QWidget* OwnAccessKeys::target(const QKeyEvent& key) const
{
    if (key.modifiers() != Qt::AltModifier)
        return nullptr;
    const QKeySequence pressed(key.keyCombination());
    for (QAbstractButton* button : m_window->findChildren<QAbstractButton*>()) {
        if (button->isEnabled() && button->isVisible() &&
            QKeySequence::mnemonic(button->text()) == pressed)
            return button;
    }
    for (QLabel* label : m_window->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (buddy && buddy->isEnabled() && QKeySequence::mnemonic(label->text()) == pressed)
            return buddy;
    }
    return nullptr;
}

bool OwnAccessKeys::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    QWidget* control = target(*static_cast<QKeyEvent*>(event));
    if (!control)
        return QObject::eventFilter(watched, event);
    // Claimed at the override, so that no shortcut of the owner takes the key; acted on as
    // the key itself arrives, as the control's own access key would.
    event->accept();
    if (type == QEvent::KeyPress) {
        control->setFocus(Qt::ShortcutFocusReason);
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->animateClick();
    }
    return true;
}
