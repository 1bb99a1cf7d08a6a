// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GpxScanner.h"

#include <DatabaseShell.h>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// Which text of a waypoint names its category, when it is not the one chosen category.
enum class CategorySource
{
    Chosen, // every waypoint goes into the chosen category
    Type,   // <type>
    Sym,    // <sym>
};

// What becomes of the waypoints whose type names no category.
enum class UnknownTypes
{
    Create, // each type becomes a new, enabled category
    Chosen, // they go into the chosen category
};

// A type that names no category: its label (as first spelled, blanks trimmed) and how many
// waypoints carry it in any spelling.
struct UnknownType
{
    QString label;
    qint64 count = 0;
};

// Asked once the whole file is read, before anything is stored: Create or Chosen, or nothing
// to store nothing.
using UnknownTypesQuestion =
    std::function<std::optional<UnknownTypes>(const QList<UnknownType>& unknown)>;

// The mapping step of a load by type: each waypoint's type (or sym) against the labels of the
// database's categories, ignoring case and blanks around them. Waypoints without one go into
// the chosen category; types that match none are gathered, with their counts, for the
// question. Each type is looked up once: a file holds few types and many waypoints.
//
//   CategoryByType mapping(CategorySource::Type, categories, chosen);
//   const QByteArray& value = mapping.stagedValue(mapping.slotOf(waypoint)); // per waypoint
//   if (!mapping.unknownTypes().isEmpty()) ask, then mapping.resolve(choice, created numbers);
class CategoryByType
{
public:
    struct Category
    {
        qint64 number = 0;
        QString label;
    };

    CategoryByType(CategorySource source, QList<Category> categories, qint64 chosen);

    // The categories of a database, as number and label, from the rows of listQuery().
    static QByteArray listQuery();
    static QList<Category> fromRows(const ShellRowList& rows);

    // The slot of the waypoint's category; counts the waypoint.
    int slotOf(const Waypoint& waypoint);
    // Types met before, as a first pass over the file gathered them: the unknown ones among
    // them are settled before the waypoints come.
    void addTypes(const QList<UnknownType>& types);
    // Types met since resolve() that name no category (the file changed under the load).
    bool hasUnsettled() const;
    // The category number of a slot as the load stages it: an unknown type's is its place in
    // unknownTypes() as a negative number, -1 for the first, until resolve() settles it.
    const QByteArray& stagedValue(int slot) const { return m_slots[size_t(slot)].staged; }
    qint64 number(int slot) const { return m_slots[size_t(slot)].number; }

    // In the order they were first met.
    QList<UnknownType> unknownTypes() const;
    // Waypoints that go into the chosen category: those without a type, and with Chosen the
    // unknown ones.
    qint64 chosenCount() const;
    bool chosenExists() const;
    qint64 chosen() const { return m_chosen; }

    // Settles the unknown types: with Create, `created` holds the new categories' numbers in
    // the order of unknownTypes().
    void resolve(UnknownTypes choice, const QList<qint64>& created = {});
    // After resolve() (or without unknown types): the categories that receive waypoints.
    int categoriesUsed() const;

private:
    struct Slot
    {
        qint64 number = 0; // 0 while unknown
        QByteArray staged;
        qint64 count = 0;
        QString label; // an unknown type's label
        bool unknown = false;
    };

    int lookUp(QByteArrayView text);

    CategorySource m_source;
    qint64 m_chosen;
    bool m_chosenExists = false;
    std::vector<Slot> m_slots; // 0: the chosen category
    QHash<QString, int> m_byKey;
    std::unordered_map<std::string, int> m_bySpelling;
    std::string m_spelling; // reused for the lookup
    bool m_unknownToChosen = false;
    qint64 m_unknownCount = 0;
};
