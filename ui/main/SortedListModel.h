#pragma once

#include <QAbstractListModel>
#include <QCollator>
#include <QLocale>
#include <QStringList>

#include <vector>

// The rows of a sorted list box: every row added takes its place in the locale's text order
// (case-insensitive, a blank before a digit), so "1   |" < "10  |" < "100 |" < "11  |" < "2   |".
// Rows are kept in blocks, so inserting one row stays cheap with a million rows present.
class SortedListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // The C and POSIX locales have no collation of their own; English order stands in for them.
    explicit SortedListModel(QObject* parent = nullptr);
    explicit SortedListModel(const QLocale& locale, QObject* parent = nullptr);

    // A model's rows in its order, in blocks. Built on any thread (sortedRows), so a worker can
    // sort and split a million lines and the window only swaps them in.
    struct Rows
    {
        std::vector<QStringList> blocks; // each sorted, never empty, in order
        std::vector<int> starts;         // first row of each block
        int count = 0;
    };

    // Inserts one row at its sorted place, after any rows that compare equal; returns that row.
    int addItem(const QString& text);
    // Replaces every row; sorts once, keeping the given order among equal rows.
    void setItems(QStringList items);
    // Sorts `items` into the order a model for `locale` keeps (equal rows keep their order)
    // and splits them into blocks; safe on any thread.
    static Rows sortedRows(QStringList items, const QLocale& locale = QLocale());
    // Replaces every row with rows already in this model's order, in one step; the old rows
    // are freed off this thread, so a million of them do not hold up the window.
    void setRows(Rows rows);
    QString item(int row) const;
    QStringList items() const;
    int count() const { return m_rows.count; }
    void clear();

    // Negative when `a` sorts before `b`; the order every row is kept in.
    int compare(const QString& a, const QString& b) const { return m_collator.compare(a, b); }
    QLocale locale() const { return m_collator.locale(); }

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
    Place insertionPlace(const QString& text) const;
    void renumberFrom(std::size_t block);

    QCollator m_collator;
    Rows m_rows;
};
