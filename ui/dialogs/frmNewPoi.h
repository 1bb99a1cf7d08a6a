// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <memory>

class QLineEdit;

namespace Ui {
class frmNewPoi;
}

// Takes one point of interest. Each coordinate is checked as the focus is about to leave
// its field; a refused check keeps the focus there and swallows the click that caused it.
// Closed by "Cancel", by the close box or by the owner after a successful addition, and then
// deleted: the next opening starts empty.
class frmNewPoi : public QWidget
{
    Q_OBJECT

public:
    explicit frmNewPoi(QWidget* parent = nullptr);
    ~frmNewPoi() override;

signals:
    // "Action" with latitude, longitude and label filled in. The receiver adds the point and
    // closes the dialog when that succeeded.
    void addRequested(const QString& lat, const QString& lon, const QString& label,
                      const QString& description);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void showEvent(QShowEvent* event) override;

private:
    // True when the focus may leave `field`; otherwise the user has been told why.
    bool fieldMayBeLeft(QLineEdit* field);
    void action();

    std::unique_ptr<Ui::frmNewPoi> ui;
};
