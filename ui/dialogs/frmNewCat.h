// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>

namespace Ui {
class frmNewCat;
}

// Takes the label and description of a new category. Modeless; both buttons only hide it,
// so the texts stay for the next opening, while its close box unloads it.
class frmNewCat : public QWidget
{
    Q_OBJECT

public:
    explicit frmNewCat(QWidget* parent = nullptr);
    ~frmNewCat() override;

    QString label() const;
    QString description() const;
    // The labels of the database's categories: "Action" refuses one of them (CategoryLabels).
    void setTakenLabels(const QStringList& labels);

    // Shows the dialog (again; centred the first time) and brings it to the front; the texts
    // stay as they are.
    void open();

signals:
    // "Action" was clicked: the receiver inserts the category; the dialog hides afterwards.
    void actionRequested();

private:
    std::unique_ptr<Ui::frmNewCat> ui;
    bool m_placed = false;
    QStringList m_taken;
};
