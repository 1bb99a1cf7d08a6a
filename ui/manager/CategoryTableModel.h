// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CategoryListing.h>

#include <QAbstractTableModel>

// The categories the manager shows, with the number of POIs each holds. Edits (label,
// description, the enabled box) are handed on as requests; the table follows the database.
class CategoryTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        Id,
        Label,
        Description,
        Enabled,
        Pois,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    void show(QList<CategoryRow> rows);
    const QList<CategoryRow>& rows() const { return m_rows; }
    static bool isEnabled(const CategoryRow& row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void renameRequested(qint64 id, const QString& label);
    void describeRequested(qint64 id, const QString& description);
    void enableRequested(qint64 id, bool enabled);

private:
    QList<CategoryRow> m_rows;
};
