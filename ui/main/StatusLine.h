// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QStringList>

class QMenu;

// The status bar's one line of text. A text too long for the bar is cut short with "…" and
// shown whole as the tooltip; the last texts are kept, newest first, and the line's context
// menu offers them again to copy, so that no message is lost by being replaced.
class StatusLine : public QLabel
{
    Q_OBJECT

public:
    static constexpr int kHistorySize = 10;

    explicit StatusLine(QWidget* parent = nullptr);

    void setMessage(const QString& text);
    // Shows an earlier text again (the one from before a run): no new message for the history.
    void showAgain(const QString& text);
    QString message() const { return m_message; }
    QStringList history() const { return m_history; }
    // The menu of the last texts; choosing one puts it on the clipboard.
    QMenu* historyMenu(QWidget* parent);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void elide();

    QString m_message;
    QStringList m_history;
};
