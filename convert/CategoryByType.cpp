// SPDX-License-Identifier: GPL-3.0-or-later
#include "CategoryByType.h"

#include <LabelKey.h>

#include <QSet>

CategoryByType::CategoryByType(CategorySource source, QList<Category> categories, qint64 chosen)
    : m_source(source), m_chosen(chosen)
{
    m_slots.push_back({chosen, QByteArray::number(chosen), 0, {}, false});
    for (const Category& category : categories) {
        if (category.number == chosen)
            m_chosenExists = true;
        const QString key = labelKey(category.label);
        // Of two labels alike, as an older database may hold, the first category takes them.
        if (key.isEmpty() || m_byKey.contains(key))
            continue;
        m_byKey.insert(key, int(m_slots.size()));
        m_slots.push_back({category.number, QByteArray::number(category.number), 0, {}, false});
    }
}

QByteArray CategoryByType::listQuery()
{
    // Hex, so that no label can split its row.
    return "SELECT rowid, hex(label) FROM main.category ORDER BY rowid;";
}

QList<CategoryByType::Category> CategoryByType::fromRows(const ShellRowList& rows)
{
    QList<Category> categories;
    for (const QStringList& row : rows) {
        if (row.size() >= 2)
            categories.append(
                {row[0].toLongLong(), QString::fromUtf8(QByteArray::fromHex(row[1].toLatin1()))});
    }
    return categories;
}

int CategoryByType::slotOf(const Waypoint& waypoint)
{
    const int slot =
        m_source == CategorySource::Chosen
            ? 0
            : lookUp(m_source == CategorySource::Type ? waypoint.type : waypoint.sym);
    ++m_slots[size_t(slot)].count;
    return slot;
}

void CategoryByType::addTypes(const QList<UnknownType>& types)
{
    for (const UnknownType& type : types)
        m_slots[size_t(lookUp(type.label.toUtf8()))].count += type.count;
}

bool CategoryByType::hasUnsettled() const
{
    for (const Slot& slot : m_slots) {
        if (slot.unknown && slot.number == 0)
            return true;
    }
    return false;
}

int CategoryByType::lookUp(QByteArrayView text)
{
    if (text.isEmpty())
        return 0;
    m_spelling.assign(text.data(), size_t(text.size()));
    if (const auto found = m_bySpelling.find(m_spelling); found != m_bySpelling.end())
        return found->second;
    const QString label = QString::fromUtf8(text);
    const QString key = labelKey(label);
    int slot = 0;
    if (!key.isEmpty()) {
        slot = m_byKey.value(key, -1);
        if (slot < 0) {
            slot = int(m_slots.size());
            const qint64 provisional = -++m_unknownCount;
            m_slots.push_back({0, QByteArray::number(provisional), 0, label, true});
            m_byKey.insert(key, slot);
        }
    }
    m_bySpelling.emplace(m_spelling, slot);
    return slot;
}

QList<UnknownType> CategoryByType::unknownTypes() const
{
    QList<UnknownType> unknown;
    for (const Slot& slot : m_slots) {
        if (slot.unknown)
            unknown.append({slot.label, slot.count});
    }
    return unknown;
}

qint64 CategoryByType::chosenCount() const
{
    qint64 count = m_slots.front().count;
    for (const Slot& slot : m_slots) {
        if (slot.unknown && m_unknownToChosen)
            count += slot.count;
    }
    return count;
}

bool CategoryByType::chosenExists() const
{
    return m_chosenExists;
}

void CategoryByType::resolve(UnknownTypes choice, const QList<qint64>& created)
{
    m_unknownToChosen = choice == UnknownTypes::Chosen;
    qsizetype next = 0;
    for (Slot& slot : m_slots) {
        if (!slot.unknown || slot.number != 0)
            continue;
        slot.number = m_unknownToChosen ? m_chosen : created.value(next++);
        slot.staged = QByteArray::number(slot.number);
    }
}

int CategoryByType::categoriesUsed() const
{
    QSet<qint64> used;
    for (const Slot& slot : m_slots) {
        if (slot.count > 0)
            used.insert(slot.unknown && m_unknownToChosen ? m_chosen : slot.number);
    }
    return int(used.size());
}
