// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListCopy.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

#include <algorithm>

ListCopy::ListCopy(QAbstractItemView* view) : QObject(view), m_view(view)
{
    view->installEventFilter(this);
}

QString ListCopy::copiedText(const QAbstractItemView& view)
{
    QModelIndexList selected = view.selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        for (int row = 0; row < view.model()->rowCount(); ++row)
            selected << view.model()->index(row, 0);
    }
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList lines;
    lines.reserve(selected.size());
    for (const QModelIndex& index : std::as_const(selected))
        lines << index.data(Qt::DisplayRole).toString();
    return lines.join(u'\n');
}

bool ListCopy::eventFilter(QObject* watched, QEvent* event)
{
    // The override is claimed too, so that no window shortcut takes the key first.
    if (watched == m_view &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        event->accept();
        if (event->type() == QEvent::KeyPress)
            QGuiApplication::clipboard()->setText(copiedText(*m_view));
        return true;
    }
    return QObject::eventFilter(watched, event);
}
