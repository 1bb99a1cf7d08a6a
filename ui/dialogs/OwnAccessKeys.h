// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

// A tool window shares the access keys of the window it belongs to, and where both use a
// letter the owner's may win: Alt+A in the New Category dialog would open the main window's
// About box. While the focus is in `window`, its own access keys come first.
class OwnAccessKeys : public QObject
{
    Q_OBJECT

public:
    // Watches `window` and the controls it holds now.
    explicit OwnAccessKeys(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The control of the window that Alt and this key lead to, or null.
    QWidget* target(const QKeyEvent& key) const;

    QWidget* m_window;
};
