// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

// Lays every row of a list view out `extent` pixels wide, so that rows up to that width can be
// scrolled into view sideways; text beyond it is cut off.
class HorizontalExtentDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    HorizontalExtentDelegate(int extent, QObject* parent = nullptr);

    int extent() const { return m_extent; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int m_extent;
};
