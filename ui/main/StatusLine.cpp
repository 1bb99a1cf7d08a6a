// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusLine.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>

namespace {
// A menu entry shows this many characters of a longer text; its tooltip has it whole.
constexpr int kEntryLength = 100;
} // namespace

StatusLine::StatusLine(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("statusLine"));
    setTextFormat(Qt::PlainText);
    // The line takes the room the bar has; its text never widens the window.
    setMinimumWidth(0);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // The text stands where the status bar puts a message of its own.
    setContentsMargins(4, 0, 0, 2);
}

void StatusLine::setMessage(const QString& text)
{
    m_message = text;
    if (!text.isEmpty() && (m_history.isEmpty() || m_history.constFirst() != text)) {
        m_history.prepend(text);
        if (m_history.size() > kHistorySize)
            m_history.removeLast();
    }
    elide();
}

void StatusLine::showAgain(const QString& text)
{
    m_message = text;
    elide();
}

void StatusLine::elide()
{
    const QString shown =
        fontMetrics().elidedText(m_message, Qt::ElideRight, contentsRect().width());
    setText(shown);
    setToolTip(shown == m_message ? QString() : m_message);
}

void StatusLine::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    elide();
}

QMenu* StatusLine::historyMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setToolTipsVisible(true);
    QAction* title = menu->addAction(tr("Recent messages (choose one to copy it)"));
    title->setEnabled(false);
    for (const QString& text : std::as_const(m_history)) {
        QString entry = text.size() > kEntryLength ? text.left(kEntryLength) + QChar(0x2026) : text;
        QAction* action = menu->addAction(entry.replace(u'&', QStringLiteral("&&")));
        action->setToolTip(text);
        connect(action, &QAction::triggered, action,
                [text] { QGuiApplication::clipboard()->setText(text); });
    }
    return menu;
}

void StatusLine::contextMenuEvent(QContextMenuEvent* event)
{
    historyMenu(this)->popup(event->globalPos());
}
