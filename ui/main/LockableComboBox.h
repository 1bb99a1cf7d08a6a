// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

// A combo box that can be locked: while locked, its entries can be neither picked nor typed
// over, but it still takes the focus and shows its text.
class LockableComboBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(bool locked READ isLocked WRITE setLocked)

public:
    explicit LockableComboBox(QWidget* parent = nullptr);

    bool isLocked() const { return m_locked; }
    void setLocked(bool locked);

    void showPopup() override;

signals:
    // The chooser got the focus, or lost it to another control (opening its own list is
    // part of picking and does not count).
    void focusEntered();
    void focusLeft();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool m_locked = false;
};
