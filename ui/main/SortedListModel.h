// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LineStore.h"
#include "ListOrder.h"

#include <QAbstractListModel>
#include <QLocale>
#include <QStringList>

#include <memory>
#include <vector>

// The rows of a sorted list box: every row added takes its place in the list's order
// (ListOrder: the locale's text order, case-insensitive, a blank before a digit).
// Rows are kept in blocks, so inserting one row stays cheap with a million rows present; a
// row is a view of UTF-8 bytes in a LineStore, so a million rows cost little beyond their text.
class SortedListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit SortedListModel(QObject* parent = nullptr);
    explicit SortedListModel(const QLocale& locale, QObject* parent = nullptr);

    // A model's rows in its order, in blocks, with the stores their bytes live in. Built on
    // any thread (sortedRows), so a worker can sort a million lines and the window only swaps
    // them in.
    struct Rows
    {
        std::vector<std::vector<Line>> blocks; // each sorted, never empty, in order
        std::vector<int> starts;               // first row of each block
        int count = 0;
        std::vector<std::shared_ptr<const LineStore>> stores;
    };

    // Inserts one row at its sorted place, after any rows that compare equal; returns that row.
    int addItem(const QString& text);
    // Replaces every row; sorts once, keeping the given order among equal rows.
    void setItems(const QStringList& items);
    // Sorts the store's lines into the order a model for `locale` keeps (equal lines keep
    // their order) and splits them into blocks; safe on any thread.
    static Rows sortedRows(LineStore lines, const QLocale& locale = QLocale());
    static Rows sortedRows(const QStringList& items, const QLocale& locale = QLocale());
    // Rows of lines already in the model's order, whose bytes live in `store`.
    static Rows rowsInOrder(const std::vector<Line>& lines, std::shared_ptr<const LineStore> store);
    // Replaces every row with rows already in this model's order, in one step; the old rows
    // are freed off this thread.
    void setRows(Rows rows);
    QString item(int row) const;
    QStringList items() const;
    int count() const { return m_rows.count; }
    void clear();

    // Negative when `a` sorts before `b`; the order every row is kept in.
    int compare(const QString& a, const QString& b) const { return m_order.compare(a, b); }
    QLocale locale() const { return m_order.locale(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

private:
    struct Place
    {
        std::size_t block;
        int offset;
    };

    Place locate(int row) const;
    Place insertionPlace(QUtf8StringView text) const;
    void renumberFrom(std::size_t block);

    ListOrder m_order;
    Rows m_rows;
    // Where the rows added one at a time keep their text; one of m_rows.stores once used.
    std::shared_ptr<LineStore> m_added;
};
