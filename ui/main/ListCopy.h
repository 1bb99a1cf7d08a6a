#pragma once

#include <QObject>

class QAbstractItemView;

// Ctrl+C (the platform's Copy key) in a list copies its selected lines as text, one per line
// in list order; the view's own Copy would take only the current line.
class ListCopy : public QObject
{
    Q_OBJECT

public:
    explicit ListCopy(QAbstractItemView* view);

    // The selected lines, joined by line feeds, in the list's order.
    static QString selectedText(const QAbstractItemView& view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* m_view;
};
