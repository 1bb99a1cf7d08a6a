// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskRunner.h"

#include <QTimer>
#include <QWidget>

class QProgressBar;
class QPushButton;

// The progress of a run at the right of the status bar: a bar with the count
// ("120,000 of 300,000 waypoints", or "120,000 waypoints" while the total is an estimate) and
// the Cancel button. It appears once a run has taken half a second, and its bar is never full
// while work remains: a stage without a count of its own shows it busy.
class RunProgress : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kShowAfterMs = 500;

    RunProgress(TaskRunner& runner, QWidget* parent = nullptr);

private:
    void begin(const QString& unit);
    void advance(qint64 done, qint64 total, TaskRunner::Total kind);
    void busy();
    void end();

    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer m_delay;
    QString m_unit;
};
