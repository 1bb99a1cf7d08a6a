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

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool m_locked = false;
};
