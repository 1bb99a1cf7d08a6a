// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunProgress.h"

#include "StatusTexts.h"
#include "TaskRunner.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>

namespace {
// The bar's steps; the last one is reached only when the run has ended.
constexpr int kSteps = 1000;
} // namespace

RunProgress::RunProgress(TaskRunner& runner, QWidget* parent) : QWidget(parent)
{
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->setFixedWidth(230);
    m_bar->setTextVisible(true);
    m_bar->setAlignment(Qt::AlignCenter);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cancel->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 4, 0);
    layout->setSpacing(4);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel);
    hide();

    m_delay.setSingleShot(true);
    m_delay.setInterval(kShowAfterMs);
    connect(&m_delay, &QTimer::timeout, this, &QWidget::show);
    connect(m_cancel, &QPushButton::clicked, &runner, &TaskRunner::cancel);
    connect(&runner, &TaskRunner::started, this,
            [this](const QString&, const QString& unit) { begin(unit); });
    connect(&runner, &TaskRunner::progressed, this, &RunProgress::advance);
    connect(&runner, &TaskRunner::phaseStarted, this, &RunProgress::busy);
    connect(&runner, &TaskRunner::finished, this, &RunProgress::end);
}

void RunProgress::begin(const QString& unit)
{
    m_unit = unit;
    // Until a count arrives the bar only shows that something is going on.
    busy();
    m_delay.start();
}

void RunProgress::busy()
{
    m_bar->setRange(0, 0);
    m_bar->setFormat(QString());
}

void RunProgress::advance(qint64 done, qint64 total, TaskRunner::Total kind)
{
    if (m_unit.isEmpty())
        return;
    if (total <= 0) {
        m_bar->setRange(0, 0);
        m_bar->setFormat(countText(done) + u' ' + m_unit);
        return;
    }
    m_bar->setRange(0, kSteps);
    m_bar->setValue(int(std::min<qint64>(kSteps - 1, done * kSteps / total)));
    m_bar->setFormat(kind == TaskRunner::Total::Estimated
                         ? countText(done) + u' ' + m_unit
                         : tr("%1 of %2 %3").arg(countText(done), countText(total), m_unit));
}

void RunProgress::end()
{
    m_delay.stop();
    hide();
}
