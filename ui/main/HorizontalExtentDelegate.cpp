// SPDX-License-Identifier: GPL-3.0-or-later
#include "HorizontalExtentDelegate.h"

HorizontalExtentDelegate::HorizontalExtentDelegate(int extent, QObject* parent)
    : QStyledItemDelegate(parent), m_extent(extent)
{
}

QSize HorizontalExtentDelegate::sizeHint(const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(m_extent);
    return size;
}
