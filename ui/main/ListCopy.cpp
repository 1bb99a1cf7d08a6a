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

QString ListCopy::selectedText(const QAbstractItemView& view)
{
    QModelIndexList selected = view.selectionModel()->selectedIndexes();
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
        if (event->type() == QEvent::KeyPress && m_view->selectionModel()->hasSelection())
            QGuiApplication::clipboard()->setText(selectedText(*m_view));
        return true;
    }
    return QObject::eventFilter(watched, event);
}
