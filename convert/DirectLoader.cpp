// SPDX-License-Identifier: GPL-3.0-or-later
#include "DirectLoader.h"

#include "ByteSearch.h"
#include "OutputFile.h"

#include <CategoryCheck.h>
#include <LabelKey.h>
#include <ShellRows.h>
#include <SqlText.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Rows gathered before a write, and bytes per file the shell imports: small enough that the
// shell starts early and works while the rest of the file is scanned.
constexpr size_t kWriteBytes = 256 * 1024;
constexpr qint64 kChunkBytes = 2 * 1024 * 1024;

// The temporary table the rows are imported into, every value as text.
constexpr char kStaging[] = "geofill_load";
// The temporary table of the staged rows the category already holds.
constexpr char kHeld[] = "geofill_held";
// By type: the numbers of the categories made for unknown types, by their place among them.
constexpr char kMade[] = "geofill_made";

// The staged waypoints that the category already holds, each once, by their row in the
// staging table. The poi table is read once; each of its rows looks up its label in an index
// of the staged labels, three times faster than a row-value IN over the table. NULLs equal
// nothing, so rows with one are never held.
QByteArray findHeldStatements(const QString& table, const QByteArray& category)
{
    const QByteArray staging(kStaging);
    return "CREATE INDEX temp." + staging + "_label ON " + staging + "(label);" +
           "CREATE TEMP TABLE " + kHeld + "(id INTEGER PRIMARY KEY);" +
           "INSERT OR IGNORE INTO temp." + kHeld + " SELECT s.rowid FROM main." + table.toUtf8() +
           " p JOIN temp." + staging +
           " s ON s.label=p.label WHERE p.cat_id=" + category +
           " AND p.lat=s.lat*1 AND p.lon=s.lon*1;";
}

bool holdsSeparator(QByteArrayView text)
{
    const char* end = text.data() + text.size();
    return findAny<'\0', ShellRows::kFieldEnd, ShellRows::kRowEnd>(text.data(), end) != end;
}

void appendField(std::string& rows, QByteArrayView text, char end)
{
    rows.append(text.data(), size_t(text.size()));
    rows += end;
}

} // namespace

DirectLoader::DirectLoader(const QString& dbPath, const QString& table, int category,
                           Duplicates duplicates, const ShellOptions& shell)
    : m_dbPath(dbPath), m_table(table), m_category(category), m_duplicatesMode(duplicates),
      m_batch(dbPath, shell)
{
    if (m_duplicatesMode != Duplicates::Load) {
        // The compared copy of the file lives in memory, not in a temporary file: a third faster.
        m_batch.setSetup("PRAGMA temp_store=MEMORY;");
    }
}

Outcome<> DirectLoader::start()
{
    if (const Outcome<> file = DatabaseShell::checkDatabaseFile(m_dbPath); !file) {
        m_problem = file.problem();
        return m_problem;
    }
    m_folder = std::make_unique<StagingFolder>();
    if (const Outcome<> made = m_folder->created(); !made) {
        m_problem.message =
            QCoreApplication::translate("DirectLoader", "No temporary folder could be made for the load; nothing was "
                           "loaded.");
        m_problem.detail = made.problem().message;
        return m_problem;
    }
    m_batch.setWorkingDirectory(m_folder->path());
    if (!m_batch.start()) {
        fail(QCoreApplication::translate("DirectLoader", "The sqlite3 shell could not be started; nothing was loaded."));
        return m_problem;
    }
    m_active = true;
    // The SELECT fails at once when the table or one of its columns is missing; it comes
    // first, so that the name cannot meet the staging table.
    const bool byType = m_source != CategorySource::Chosen;
    if (!m_batch.add(QStringLiteral("SELECT lat,lon,label,desc,cat_id FROM %1 WHERE 0;"
                                    "CREATE TEMP TABLE %2(lat,lon,label,desc%3);")
                         .arg(m_table, QLatin1String(kStaging),
                              byType ? QStringLiteral(",cat INTEGER") : QString())
                         .toUtf8())) {
        fail(QCoreApplication::translate("DirectLoader", "The database has no table %1 to load into.").arg(m_table));
        static_cast<void>(m_batch.finish(false)); // a rollback: nothing to report
        return m_problem;
    }
    m_stageAll = m_duplicatesMode != Duplicates::Load;
    if (byType) {
        // The categories as the transaction sees them, its lock held from here; the load's own
        // category is checked at the end, and only when waypoints go into it.
        const Outcome<ShellRowList> categories = m_batch.query(CategoryByType::listQuery());
        if (!categories) {
            fail(QCoreApplication::translate("DirectLoader", "The categories could not be read from the database; nothing was loaded."));
            m_batch.abort();
            return m_problem;
        }
        m_mapping.emplace(m_source, CategoryByType::fromRows(*categories), m_category);
        m_mapping->addTypes(m_types);
        if (!settleTypes()) {
            m_active = false;
            if (m_problem.message.isEmpty())
                m_problem.message = QCoreApplication::translate("DirectLoader", "Loading into the database failed; nothing was loaded.");
            if (m_problem.detail.isEmpty())
                m_problem.detail = m_batch.status().problemText();
            static_cast<void>(m_batch.finish(false));
            return m_problem;
        }
        m_rows.reserve(kWriteBytes + 1024);
        return {};
    }
    // Answered while the scan goes on, even when the database keeps the shell waiting for its
    // lock; the lock, held from here, keeps others from changing the answer. When duplicates
    // matter, a category without rows holds none of the waypoints, and the load then copies
    // chunk by chunk as a plain one does.
    const QByteArray category = QByteArray::number(m_category);
    m_categoryQuestion =
        m_batch.ask("SELECT " + CategoryCheck::existsExpression(m_category).toUtf8() +
                    (m_stageAll ? ", EXISTS(SELECT 1 FROM main." + m_table.toUtf8() +
                                      " WHERE cat_id=" + category + ")"
                                : QByteArray()) +
                    ';');
    m_rows.reserve(kWriteBytes + 1024);
    return {};
}

Outcome<> DirectLoader::add(const Waypoint& waypoint)
{
    if (!m_active)
        return m_problem;
    // The scanner lets none of these through; one would shift the fields of every later row.
    if (holdsSeparator(waypoint.lat) || holdsSeparator(waypoint.lon) ||
        holdsSeparator(waypoint.name) || holdsSeparator(waypoint.desc) ||
        holdsSeparator(waypoint.type) || holdsSeparator(waypoint.sym)) {
        abort();
        m_problem.message = QCoreApplication::translate("DirectLoader", "The waypoint of line %1 holds a control character "
                                           "that the database cannot take; nothing was loaded.")
                                .arg(waypoint.line);
        m_problem.line = waypoint.line;
        return m_problem;
    }
    appendField(m_rows, waypoint.lat, ShellRows::kFieldEnd);
    appendField(m_rows, waypoint.lon, ShellRows::kFieldEnd);
    appendField(m_rows, waypoint.name, ShellRows::kFieldEnd);
    if (m_mapping) {
        appendField(m_rows, waypoint.desc, ShellRows::kFieldEnd);
        const int slot = m_pendingSlot >= 0 ? m_pendingSlot : m_mapping->slotOf(waypoint);
        m_pendingSlot = -1;
        appendField(m_rows, m_mapping->stagedValue(slot), ShellRows::kRowEnd);
    } else {
        appendField(m_rows, waypoint.desc, ShellRows::kRowEnd);
    }
    ++m_sent;
    if (m_rows.size() >= kWriteBytes && !importChunk()) {
        fail(QCoreApplication::translate("DirectLoader", "Loading into the database failed; nothing was loaded."));
        m_batch.abort();
        return m_problem;
    }
    return {};
}

bool DirectLoader::staging(const QString& detail)
{
    m_problem.message = QCoreApplication::translate("DirectLoader", "Writing the waypoints to the temporary folder %1 failed; "
                                       "nothing was loaded.")
                            .arg(QDir::toNativeSeparators(m_folder->path()));
    m_problem.detail = detail;
    return false;
}

// Looks at the answer about the category once it is there (with `wait`, waits for it);
// false when the category does not exist or the question failed.
bool DirectLoader::checkCategory(bool wait)
{
    if (m_categoryQuestion == 0) // answered already
        return true;
    // Most often it came long ago: no need to wait for the shell's other work.
    std::optional<Outcome<ShellRowList>> answer = m_batch.answer(m_categoryQuestion, false);
    if (!answer && wait)
        answer = m_batch.answer(m_categoryQuestion, true);
    if (!answer)
        return true;
    if (!*answer)
        return false;
    m_categoryQuestion = 0;
    const QStringList row = answer->value().value(0);
    if (row.value(0) != u"1") {
        m_categoryMissing = true;
        const Outcome<ShellRowList> first = m_batch.query(CategoryCheck::listQuery().toUtf8());
        m_problem = CategoryCheck::missing(QString::number(m_category), m_dbPath,
                                           first ? *first : ShellRowList());
        return false;
    }
    if (m_stageAll)
        m_stageAll = row.value(1) == u"1";
    return true;
}

// Writes the gathered rows to the open chunk; a full chunk is closed and handed to the shell.
// `last` hands over whatever there is.
bool DirectLoader::importChunk(bool last)
{
    if (m_rows.empty() && !m_chunk.isOpen())
        return true;
    if (!m_chunk.isOpen()) {
        m_chunk.setFileName(m_folder->filePath(QStringLiteral("rows-%1.txt").arg(++m_chunks)));
        // Unbuffered: a buffered write that fails only at close() loses the system's reason.
        if (!m_chunk.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            return staging(m_chunk.errorString());
    }
    if (!OutputFile::writeWhole(m_chunk, QByteArrayView(m_rows.data(), qsizetype(m_rows.size()))))
        return staging(m_chunk.errorString());
    m_rows.clear();
    if (!last && m_chunk.size() < kChunkBytes)
        return true;
    const QString name = QFileInfo(m_chunk.fileName()).fileName();
    m_chunk.close();
    if (!m_batch.importFile(name, QLatin1String(kStaging)) || !checkCategory(false))
        return false;
    // A plain load copies each chunk at once, while the scan goes on, and keeps the staging
    // table small; the duplicate checks need the whole file there.
    return m_stageAll || (m_batch.add(copyStatement()) &&
                          m_batch.add("DELETE FROM temp." + QByteArray(kStaging) + ';'));
}

// The columns as the waypoint's INSERT statement gives them: the coordinates are numbers in
// the statement, so "*1" turns their text into the same integer or real value.
QByteArray DirectLoader::stagedColumns() const
{
    return "lat*1,lon*1,label,desc," + (m_mapping ? QByteArray("cat") : QByteArray::number(m_category));
}

QByteArray DirectLoader::copyStatement(bool leaveOutHeld) const
{
    return "INSERT INTO main." + m_table.toUtf8() + "(lat,lon,label,desc,cat_id) SELECT " +
           stagedColumns() + " FROM temp." + kStaging +
           (leaveOutHeld ? QByteArray(" WHERE rowid NOT IN temp.") + kHeld : QByteArray()) +
           " ORDER BY rowid;";
}

// Counts the staged waypoints the category already holds, with the shell waiting afterwards.
bool DirectLoader::findHeld()
{
    if (!m_batch.add(findHeldStatements(
            m_table, m_mapping ? QByteArray("s.cat") : QByteArray::number(m_category))))
        return false;
    const Outcome<ShellRowList> held =
        m_batch.query("SELECT count(*) FROM temp." + QByteArray(kHeld) + ';');
    if (!held)
        return false;
    m_duplicates = held->value(0).value(0).toLongLong();
    return true;
}

Outcome<> DirectLoader::finish(bool commit)
{
    if (!m_active)
        return m_problem;
    m_active = false;
    const auto failed = [this] {
        if (m_problem.message.isEmpty())
            m_problem.message =
                QCoreApplication::translate("DirectLoader", "Loading into the database failed; nothing was loaded.");
        if (m_problem.detail.isEmpty())
            m_problem.detail = m_batch.status().problemText();
        m_batch.abort();
        return m_problem;
    };
    if (!importChunk(true))
        return failed();
    if (!checkCategory(true)) {
        if (!m_categoryMissing)
            return failed();
        static_cast<void>(m_batch.finish(false));
        return m_problem;
    }
    if (commit && m_mapping && !checkTypes()) {
        static_cast<void>(m_batch.finish(false));
        return m_problem;
    }
    // Chunks staged before the answer said the category was empty are still to be copied.
    if (commit && !m_stageAll && !m_batch.add(copyStatement()))
        return failed();
    if (commit && m_stageAll) {
        if (!findHeld())
            return failed();
        std::optional<Duplicates> answer = Duplicates::Skip;
        if (m_duplicatesMode == Duplicates::Ask)
            answer = m_duplicates > 0 && m_question ? m_question(m_duplicates, m_sent)
                                                    : Duplicates::Load;
        if (!answer) {
            m_declined = true;
            m_problem.message = QCoreApplication::translate("DirectLoader", "Nothing was loaded into the database.");
            static_cast<void>(m_batch.finish(false));
            return m_problem;
        }
        m_leftOut = *answer == Duplicates::Skip;
        if (!m_batch.add(copyStatement(m_leftOut)))
            return failed();
    }
    if (const Outcome<ShellRowList> result = m_batch.finish(commit); !result) {
        m_problem.detail = result.problemText();
        m_problem.message = QCoreApplication::translate("DirectLoader", "Loading into the database failed; nothing was loaded.");
        return m_problem;
    }
    if (commit)
        m_loaded = m_sent - (m_leftOut ? m_duplicates : 0);
    return {};
}

void DirectLoader::setCategoryByType(CategorySource source, UnknownTypesQuestion question,
                                     const QList<UnknownType>& types)
{
    m_source = source;
    m_typesQuestion = std::move(question);
    m_types = types;
}

qint64 DirectLoader::categoryFor(const Waypoint& waypoint)
{
    if (!m_mapping)
        return m_category;
    m_pendingSlot = m_mapping->slotOf(waypoint);
    return m_mapping->number(m_pendingSlot);
}

void DirectLoader::addCategoryRecord(const GpxCategory& record)
{
    const QString label = QString::fromUtf8(record.label);
    const QString key = labelKey(label);
    if (!key.isEmpty() && !m_records.contains(key))
        m_records.insert(key, {label, QString::fromUtf8(record.desc), record.enabled});
}

// By type, as the load starts: the unknown types made categories, or sent to the load's
// category, as the question answers. False when the load cannot go on (declined() or a
// failure).
bool DirectLoader::settleTypes()
{
    const QList<UnknownType> unknown = m_mapping->unknownTypes();
    if (!unknown.isEmpty()) {
        const std::optional<UnknownTypes> answer =
            m_typesQuestion ? m_typesQuestion(unknown) : std::nullopt;
        if (!answer) {
            m_declined = m_typesRefused = true;
            m_problem.message = QCoreApplication::translate("DirectLoader", "%n type(s) of the file match no category, so nothing was loaded.", nullptr, int(unknown.size()));
            return false;
        }
        if (*answer == UnknownTypes::Chosen) {
            m_mapping->resolve(UnknownTypes::Chosen);
        } else {
            QByteArray made = "CREATE TEMP TABLE " + QByteArray(kMade) + "(key INTEGER PRIMARY KEY, cat INTEGER);";
            QStringList labels;
            for (qsizetype i = 0; i < unknown.size(); ++i) {
                // The file's own record of the category, when it has one, gives its exact label.
                const CategoryRecord record = m_records.value(labelKey(unknown[i].label), {unknown[i].label, {}, true});
                labels << record.label;
                made += "INSERT INTO main.category(label,desc,enabled) VALUES(" +
                        SqlText::literal(record.label).toUtf8() + ',' +
                        SqlText::literal(record.desc).toUtf8() + ',' + (record.enabled ? '1' : '0') +
                        ");INSERT INTO temp." + kMade + " VALUES(" + QByteArray::number(i + 1) +
                        ",last_insert_rowid());";
            }
            if (const Outcome<> sendable = SqlText::checkSendable(made); !sendable) {
                m_problem.message = QCoreApplication::translate("DirectLoader", "A new category's text cannot be sent to the database; nothing was loaded.");
                return false;
            }
            if (!m_batch.add(made))
                return false;
            const Outcome<ShellRowList> numbers =
                m_batch.query("SELECT cat FROM temp." + QByteArray(kMade) + " ORDER BY key;");
            if (!numbers || numbers->size() != unknown.size())
                return false;
            QList<qint64> created;
            for (const QStringList& row : *numbers)
                created << row.value(0).toLongLong();
            m_mapping->resolve(UnknownTypes::Create, created);
            m_created = labels;
        }
    }
    return true;
}

// By type, with the whole file read: every type settled, and the load's category there when
// waypoints go into it.
bool DirectLoader::checkTypes()
{
    if (m_mapping->hasUnsettled()) {
        m_problem.message = QCoreApplication::translate("DirectLoader", "The GPX file changed while it was loaded; nothing was loaded.");
        return false;
    }
    if (m_mapping->chosenCount() > 0 && !m_mapping->chosenExists()) {
        m_categoryMissing = true;
        const Outcome<ShellRowList> first = m_batch.query(CategoryCheck::listQuery().toUtf8());
        m_problem = CategoryCheck::missing(QString::number(m_category), m_dbPath,
                                           first ? *first : ShellRowList());
        return false;
    }
    m_categoriesUsed = m_mapping->categoriesUsed();
    return true;
}

void DirectLoader::abort()
{
    if (!m_active)
        return;
    m_active = false;
    m_batch.abort();
}

void DirectLoader::fail(const QString& sentence)
{
    m_active = false;
    if (m_problem.message.isEmpty()) // the first reason is the one that counts
        m_problem.message = sentence;
    if (m_problem.detail.isEmpty())
        m_problem.detail = m_batch.status().problemText();
}
