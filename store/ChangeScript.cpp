// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChangeScript.h"

#include "RowImages.h"

#include <ShellBatch.h>

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <charconv>
#include <future>

namespace {

constexpr qsizetype kIdsPerStatement = 5000;

} // namespace

QString ChangeScript::idTable(const QString& table)
{
    return QStringLiteral("geofill_ids_") + table;
}

QStringList ChangeScript::fillIds(const QString& table, const QList<qint64>& ids)
{
    QStringList statements{
        QStringLiteral("CREATE TEMP TABLE %1(id INTEGER PRIMARY KEY);").arg(idTable(table))};
    const QString head = QStringLiteral("INSERT OR IGNORE INTO temp.%1 VALUES").arg(idTable(table));
    std::array<char, 24> digits;
    for (qsizetype start = 0; start < ids.size(); start += kIdsPerStatement) {
        const qsizetype end = std::min(ids.size(), start + kIdsPerStatement);
        QString insert = head;
        insert.reserve(head.size() + (end - start) * 22);
        for (qsizetype i = start; i < end; ++i) {
            if (i != start)
                insert += u',';
            insert += u'(';
            const auto written = std::to_chars(digits.begin(), digits.end(), ids[i]);
            insert += QLatin1String(digits.data(), written.ptr - digits.data());
            insert += u')';
        }
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

ChangeScript::ChangeScript(bool keepImages) : m_keepImages(keepImages)
{
    if (keepImages)
        m_images = RowImages::make();
}

ChangeScript::ChangeScript(std::shared_ptr<const RowImages> images)
    : m_keepImages(false), m_images(std::move(images))
{
}

void ChangeScript::add(const QString& statement)
{
    m_statements << statement;
    m_changing = true;
}

void ChangeScript::add(const QStringList& statements)
{
    m_statements << statements;
    m_changing = true;
}

void ChangeScript::collectIds(const QString& table, const QString& select)
{
    const QStringList collect{
        QStringLiteral("CREATE TEMP TABLE %1(id INTEGER PRIMARY KEY);").arg(idTable(table)),
        QStringLiteral("INSERT OR IGNORE INTO temp.%1 %2;").arg(idTable(table), select)};
    m_statements << collect;
    m_collect << collect;
    keepTable(table);
}

void ChangeScript::collectIds(const QString& table, const QList<qint64>& ids)
{
    const QStringList collect = fillIds(table, ids);
    m_statements << collect;
    m_collect << collect;
    keepTable(table);
}

void ChangeScript::keepTable(const QString& table)
{
    m_tables << table;
    if (!m_keepImages)
        return;
    m_statements << createImage(table, StoredChange::Side::After);
}

QString ChangeScript::createImage(const QString& table, StoredChange::Side side)
{
    // Columns without a type take every value as it is: a text stays a text, a number a number.
    QStringList values = columns(table);
    values.front() = QStringLiteral("id INTEGER PRIMARY KEY");
    return QStringLiteral("CREATE TABLE %1(%2);")
        .arg(RowImages::rows(table, side), values.join(u','));
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
    QStringList copy;
    for (const QString& table : std::as_const(m_tables)) {
        if (side == StoredChange::Side::Before)
            copy << createImage(table, StoredChange::Side::Before);
        copy << QStringLiteral("INSERT INTO %1 SELECT %2 FROM main.%3 WHERE rowid IN temp.%4;")
                    .arg(RowImages::rows(table, side), columns(table).join(u','), table,
                         idTable(table));
    }
    if (side == StoredChange::Side::Before && !m_changing && !m_keptBefore)
        m_copyBefore = m_collect + copy;
    else
        m_statements << copy;
    m_keptBefore = m_keptBefore || side == StoredChange::Side::Before;
}

void ChangeScript::note(const QString& name, const QString& expression)
{
    m_statements << QStringLiteral("SELECT 'n', '%1', (%2);").arg(name, expression);
}

Outcome<ShellRowList> ChangeScript::runBesideCopy(const QString& dbPath, const RowImages& images,
                                                  const StopCheck& stop,
                                                  const ShellOptions& shell) const
{
    // The change's shell keeps what it changes in memory until its COMMIT (no cache spill), so
    // the file holds the rows as they were before it until then, and a second shell copies them
    // meanwhile. The COMMIT waits for the copy.
    ShellBatch batch(dbPath, shell);
    batch.setStopCheck(stop);
    batch.keepOutput();
    batch.setWorkingDirectory(images.folder());
    batch.setSetup(images.attachAfter() + " PRAGMA cache_spill = OFF;");
    if (const Outcome<> started = batch.start(); !started)
        return started.problem();
    // Once the shell answers it holds the write lock: no other program changes the rows now.
    if (const Outcome<ShellRowList> locked = batch.query("SELECT 1;"); !locked)
        return locked.problem();
    const QString copy = QString::fromUtf8(images.attachBefore()) + QStringLiteral("\nBEGIN;\n") +
                         m_copyBefore.join(u'\n') + QStringLiteral("\nCOMMIT;");
    auto copied = std::async(std::launch::async,
                             [&] { return DatabaseShell::runStatement(dbPath, copy, stop, shell); });
    for (const QString& statement : m_statements) {
        if (!batch.add(statement.toUtf8()))
            break;
    }
    const Outcome<ShellRowList> changed = batch.query("SELECT 1;");
    const Outcome<ShellRowList> kept = copied.get();
    if (!changed || !kept) {
        batch.abort();
        return !changed ? changed.problem() : kept.problem();
    }
    return batch.finish(true);
}

Outcome<> ChangeScript::run(const QString& dbPath, StoredChange& change, const StopCheck& stop,
                            const ShellOptions& shell)
{
    if (!m_images)
        return m_images.problem();
    const std::shared_ptr<const RowImages>& images = *m_images;
    if (m_keepImages && !m_keptBefore) {
        // Undo puts back no rows, but finds the table of them.
        for (const QString& table : std::as_const(m_tables))
            m_statements << createImage(table, StoredChange::Side::Before);
        m_keptBefore = true;
    }
    const Outcome<ShellRowList> ran =
        m_copyBefore.isEmpty()
            ? DatabaseShell::runInTransaction(dbPath, m_statements, stop, shell,
                                              images ? images->attach() : QByteArray())
            : runBesideCopy(dbPath, *images, stop, shell);
    if (!ran) {
        static const QRegularExpression tripped(QStringLiteral("geofill_refusal_(\\d+)_"));
        const QRegularExpressionMatch match = tripped.match(ran.problemText());
        if (match.hasMatch())
            return m_refusals.value(match.captured(1).toInt());
        return ran.problem();
    }
    for (const QStringList& row : *ran) {
        if (row.value(0) == QLatin1String("n"))
            m_notes.insert(row.value(1), row.value(2).toLongLong());
    }
    if (m_keepImages) {
        change.tables = m_tables;
        change.images = images;
    }
    return {};
}
