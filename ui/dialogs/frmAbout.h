// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class frmAbout;
}

// The About box: modeless, and gone once closed ("Ok" or the close box), so every opening
// loads it afresh.
class frmAbout : public QWidget
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

    // The release notice of Label3; ends in the month and year of this release.
    static QString releaseNotice();

private:
    std::unique_ptr<Ui::frmAbout> m_ui;
};
