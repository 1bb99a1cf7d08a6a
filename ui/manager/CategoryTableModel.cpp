// SPDX-License-Identifier: GPL-3.0-or-later
#include "CategoryTableModel.h"

#include <CategoryStore.h>

void CategoryTableModel::show(QList<CategoryRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

bool CategoryTableModel::isEnabled(const CategoryRow& row)
{
    return CategoryStore::isEnabled(row.enabled.text);
}

int CategoryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CategoryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CategoryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const CategoryRow& row = m_rows[index.row()];
    const auto column = Column(index.column());
    if (role == Qt::CheckStateRole && column == Enabled)
        return isEnabled(row) ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::TextAlignmentRole && (column == Id || column == Pois))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (column) {
    case Id:
        return row.id;
    case Label:
        return row.label;
    case Description:
        return row.description;
    case Enabled:
        return isEnabled(row) ? tr("yes") : tr("no");
    case Pois:
        return row.pois;
    case ColumnCount:
        break;
    }
    return {};
}

QVariant CategoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (Column(section)) {
    case Id:
        return tr("id");
    case Label:
        return tr("label");
    case Description:
        return tr("description");
    case Enabled:
        return tr("enabled");
    case Pois:
        return tr("POIs");
    case ColumnCount:
        break;
    }
    return {};
}

Qt::ItemFlags CategoryTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == Label || index.column() == Description)
        flags |= Qt::ItemIsEditable;
    if (index.column() == Enabled)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool CategoryTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid())
        return false;
    const CategoryRow& row = m_rows[index.row()];
    if (role == Qt::CheckStateRole && index.column() == Enabled)
        emit enableRequested(row.id, value.toInt() == Qt::Checked);
    else if (role == Qt::EditRole && index.column() == Label && value.toString() != row.label)
        emit renameRequested(row.id, value.toString());
    else if (role == Qt::EditRole && index.column() == Description &&
             value.toString() != row.description)
        emit describeRequested(row.id, value.toString());
    return false;
}
