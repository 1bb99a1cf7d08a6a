// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PoiColumns.h"

#include <QAbstractTableModel>

#include <memory>

// The POIs the manager shows: a view of PoiColumns through a list of row positions (sorted,
// filtered), so that neither costs a copy of the rows. An edit is not stored here: it is
// handed on as a request, and the table follows once the database has taken it.
class PoiTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(std::shared_ptr<const PoiColumns> columns, PoiColumns::Rows rows);
    const std::shared_ptr<const PoiColumns>& columns() const { return m_columns; }
    // The position in the columns of the row shown at `index`.
    quint32 rowAt(int index) const { return m_rows[size_t(index)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // The user typed `text` into `column` of the POI numbered `id`.
    void editRequested(qint64 id, PoiColumns::Column column, const QString& text);

private:
    std::shared_ptr<const PoiColumns> m_columns;
    PoiColumns::Rows m_rows;
};
