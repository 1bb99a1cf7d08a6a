// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChangeScript.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr qsizetype kIdsPerStatement = 5000;

// A value as SQL that gives it back with its type: texts by their bytes, so that no character
// of theirs (a line break, a separator) reaches the shell's output as itself.
QString exactValue(const QString& column)
{
    return QStringLiteral("CASE typeof(%1) WHEN 'text' THEN 'CAST(X''' || hex(%1) || ''' AS "
                          "TEXT)' ELSE quote(%1) END")
        .arg(column);
}

QString sideTag(StoredChange::Side side)
{
    return side == StoredChange::Side::Before ? QStringLiteral("b") : QStringLiteral("a");
}

} // namespace

QString ChangeScript::idTable(const QString& table)
{
    return QStringLiteral("geofill_ids_") + table;
}

QStringList ChangeScript::fillIds(const QString& table, const QList<qint64>& ids)
{
    QStringList statements{
        QStringLiteral("CREATE TEMP TABLE %1(id INTEGER PRIMARY KEY);").arg(idTable(table))};
    for (qsizetype start = 0; start < ids.size(); start += kIdsPerStatement) {
        QString insert = QStringLiteral("INSERT OR IGNORE INTO temp.%1 VALUES").arg(idTable(table));
        const qsizetype end = std::min(ids.size(), start + kIdsPerStatement);
        insert.reserve(insert.size() + (end - start) * 10);
        for (qsizetype i = start; i < end; ++i)
            insert += (i == start ? QStringLiteral("(") : QStringLiteral(",(")) +
                      QString::number(ids[i]) + u')';
        statements << insert + u';';
    }
    return statements;
}

QStringList ChangeScript::columns(const QString& table)
{
    if (table == QLatin1String("category"))
        return {QStringLiteral("rowid"), QStringLiteral("\"label\""), QStringLiteral("\"desc\""),
                QStringLiteral("\"enabled\"")};
    return {QStringLiteral("rowid"),   QStringLiteral("\"lat\""),  QStringLiteral("\"lon\""),
            QStringLiteral("\"label\""), QStringLiteral("\"desc\""), QStringLiteral("\"cat_id\"")};
}

ChangeScript::ChangeScript(bool keepImages) : m_keepImages(keepImages) {}

void ChangeScript::add(const QString& statement)
{
    m_statements << statement;
}

void ChangeScript::add(const QStringList& statements)
{
    m_statements << statements;
}

void ChangeScript::collectIds(const QString& table, const QString& select)
{
    m_statements << QStringLiteral("CREATE TEMP TABLE %1(id INTEGER PRIMARY KEY);").arg(idTable(table))
                 << QStringLiteral("INSERT OR IGNORE INTO temp.%1 %2;").arg(idTable(table), select);
    m_tables << table;
}

void ChangeScript::collectIds(const QString& table, const QList<qint64>& ids)
{
    m_statements << fillIds(table, ids);
    m_tables << table;
}

void ChangeScript::guard(const QString& condition, const Problem& refusal)
{
    // A CHECK that fails ends the shell (-bail) before COMMIT; its name says which one it was.
    // A condition that is NULL counts as false.
    const int number = int(m_refusals.size());
    m_refusals << refusal;
    m_statements << QStringLiteral("CREATE TEMP TABLE geofill_guard_%1(ok INTEGER CONSTRAINT "
                                   "geofill_refusal_%1_ CHECK(ok));")
                        .arg(number)
                 << QStringLiteral("INSERT INTO temp.geofill_guard_%1 VALUES(CASE WHEN (%2) THEN "
                                   "1 ELSE 0 END);")
                        .arg(number)
                        .arg(condition);
}

void ChangeScript::image(StoredChange::Side side)
{
    if (!m_keepImages)
        return;
    for (const QString& table : std::as_const(m_tables)) {
        QStringList values;
        for (const QString& column : columns(table))
            values << exactValue(column);
        m_statements << QStringLiteral("SELECT '%1', '%2', rowid, '(' || %3 || ')' FROM main.%2 "
                                       "WHERE rowid IN temp.%4 ORDER BY rowid;")
                            .arg(sideTag(side), table,
                                 values.join(QStringLiteral(" || ',' || ")), idTable(table));
    }
}

void ChangeScript::note(const QString& name, const QString& expression)
{
    m_statements << QStringLiteral("SELECT 'n', '%1', (%2);").arg(name, expression);
}

Outcome<> ChangeScript::run(const QString& dbPath, StoredChange& change, const StopCheck& stop,
                            const ShellOptions& shell)
{
    const Outcome<ShellRowList> ran =
        DatabaseShell::runInTransaction(dbPath, m_statements, stop, shell);
    if (!ran) {
        static const QRegularExpression tripped(QStringLiteral("geofill_refusal_(\\d+)_"));
        const QRegularExpressionMatch match = tripped.match(ran.problemText());
        if (match.hasMatch())
            return m_refusals.value(match.captured(1).toInt());
        return ran.problem();
    }
    QHash<QString, TableImage> images;
    for (const QStringList& row : *ran) {
        const QString tag = row.value(0);
        if (tag == QLatin1String("n")) {
            m_notes.insert(row.value(1), row.value(2).toLongLong());
            continue;
        }
        TableImage& image = images[row.value(1)];
        image.table = row.value(1);
        image.ids << row.value(2).toLongLong();
        (tag == QLatin1String("b") ? image.before : image.after) << row.value(3);
    }
    change.tables.clear();
    for (const QString& table : std::as_const(m_tables)) {
        if (!m_keepImages)
            break;
        TableImage image = images.value(table);
        image.table = table;
        std::sort(image.ids.begin(), image.ids.end());
        image.ids.erase(std::unique(image.ids.begin(), image.ids.end()), image.ids.end());
        change.tables << image;
    }
    return {};
}
