// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QAbstractItemView;

// Ctrl+C (the platform's Copy key) in a list copies its selected lines as text, one per line
// in list order; the view's own Copy would take only the current line. A click moves a line
// to the other list at once, so a list seldom keeps a selection: then its lines are copied
// all, and those of lstSelected are the lines the user picked.
class ListCopy : public QObject
{
    Q_OBJECT

public:
    explicit ListCopy(QAbstractItemView* view);

    // The selected lines (all, without a selection), joined by line feeds, in the list's order.
    static QString copiedText(const QAbstractItemView& view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* m_view;
};
