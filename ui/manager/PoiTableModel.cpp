// SPDX-License-Identifier: GPL-3.0-or-later
#include "PoiTableModel.h"

void PoiTableModel::show(std::shared_ptr<const PoiColumns> columns, PoiColumns::Rows rows)
{
    beginResetModel();
    m_columns = std::move(columns);
    m_rows = std::move(rows);
    endResetModel();
}

int PoiTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PoiTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : PoiColumns::ColumnCount;
}

QVariant PoiTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_columns)
        return {};
    const auto column = PoiColumns::Column(index.column());
    const quint32 row = rowAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return column == PoiColumns::Category ? m_columns->categoryLabel(row)
                                              : m_columns->text(row, column);
    case Qt::EditRole:
        return m_columns->text(row, column);
    case Qt::ToolTipRole:
        if (column == PoiColumns::Category)
            return tr("Category %1").arg(m_columns->text(row, column));
        return {};
    case Qt::TextAlignmentRole:
        if (column <= PoiColumns::Lon)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant PoiTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (PoiColumns::Column(section)) {
    case PoiColumns::Id:
        return tr("id");
    case PoiColumns::Lat:
        return tr("lat");
    case PoiColumns::Lon:
        return tr("lon");
    case PoiColumns::Label:
        return tr("label");
    case PoiColumns::Description:
        return tr("description");
    case PoiColumns::Category:
        return tr("category");
    case PoiColumns::ColumnCount:
        break;
    }
    return {};
}

Qt::ItemFlags PoiTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const int column = index.column();
    if (column >= PoiColumns::Lat && column <= PoiColumns::Description)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool PoiTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const auto column = PoiColumns::Column(index.column());
    const QString text = value.toString();
    if (text == m_columns->text(rowAt(index.row()), column))
        return false;
    emit editRequested(m_columns->id(rowAt(index.row())), column, text);
    return false;
}
