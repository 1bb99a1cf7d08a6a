// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CategoryByType.h"
#include "GpxScanner.h"
#include "StagingFolder.h"

#include <ShellBatch.h>

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <string>

// What a load does with waypoints the database already holds in the same category (same
// lat, lon and label).
enum class Duplicates
{
    Load, // loads them again
    Skip, // leaves them out
    Ask,  // counts them first and asks the duplicates question what to do
};

// "Direct to Database": every waypoint goes through one sqlite3 shell inside one
// transaction, streamed as the file is scanned. All of them are loaded or none, and none when
// the category does not exist.
// The rows stored are those the waypoint's INSERT statement would store, but the shell is
// handed them as separated text files in a private folder that it imports, chunk by chunk
// while the scan goes on, into a temporary table: three times faster than parsing one
// statement per row. An INSERT … SELECT copies them, in file order, to the real table: each
// chunk at once, or, when duplicates matter, the whole file at the end, after one query has
// found the waypoints the category already holds.
class DirectLoader
{
public:
    explicit DirectLoader(const QString& dbPath, const QString& table = QStringLiteral("poi"),
                          int category = 1, Duplicates duplicates = Duplicates::Load,
                          const ShellOptions& shell = {});

    // Asked, with Duplicates::Ask, when the category already holds `held` of the `total`
    // waypoints, while the shell waits with everything staged: Load or Skip, or nothing to
    // load nothing. Without a question they are loaded.
    using DuplicatesQuestion = std::function<std::optional<Duplicates>(qint64 held, qint64 total)>;
    void setDuplicatesQuestion(DuplicatesQuestion question) { m_question = std::move(question); }
    // Before start(): each waypoint goes into the category its type (or sym) names, those
    // without one into the load's category. `types` are the file's types, as a first pass
    // gathered them: those that name no category are put to `question` as the load starts,
    // before anything is stored; without a question they are refused. The duplicates then
    // compare within each waypoint's own category.
    void setCategoryByType(CategorySource source, UnknownTypesQuestion question,
                           const QList<UnknownType>& types);
    // By type: the number of the category the waypoint goes into, for its statement; add()
    // then takes the waypoint without looking its type up again.
    qint64 categoryFor(const Waypoint& waypoint);
    // A category record of the file: a category made for its label takes its description and
    // enabled flag.
    void addCategoryRecord(const GpxCategory& record);
    // Asked while the load waits for the shell; true stops it before its COMMIT.
    void setStopCheck(StopCheck stop) { m_batch.setStopCheck(std::move(stop)); }
    // Checks the database file and starts the shell. A missing file is refused here: the
    // shell would create an empty database in its place.
    Outcome<> start();
    // Sends one waypoint, valid only during the call; fails once the load has failed.
    Outcome<> add(const Waypoint& waypoint);
    // Commits (or, with commit false, rolls back) and waits for the shell. Fails, with
    // declined() true, when the duplicates question answered nothing.
    Outcome<> finish(bool commit = true);
    // Gives up without committing; the database stays as it was.
    void abort();

    bool isActive() const { return m_active; }
    // After finish(): rows stored, the waypoints found in the database (when duplicates
    // matter), and whether they were left out.
    qint64 loadedCount() const { return m_loaded; }
    qint64 duplicateCount() const { return m_duplicates; }
    bool duplicatesLeftOut() const { return m_leftOut; }
    bool declined() const { return m_declined; }
    // By type, after finish(): the unknown types were refused (no answer to their question),
    // the labels of the categories made, and how many categories received waypoints.
    bool typesRefused() const { return m_typesRefused; }
    QStringList createdCategories() const { return m_created; }
    int categoriesUsed() const { return m_categoriesUsed; }
    // The category table holds no category of the load's number; the problem names those it
    // has.
    bool categoryMissing() const { return m_categoryMissing; }

private:
    void fail(const QString& sentence);
    bool importChunk(bool last = false);
    QByteArray copyStatement(bool leaveOutHeld = false) const;
    bool staging(const QString& detail);
    bool checkCategory(bool wait);
    bool findHeld();
    bool settleTypes();
    bool checkTypes();
    QByteArray stagedColumns() const;

    QString m_dbPath;
    QString m_table;
    int m_category;
    Duplicates m_duplicatesMode;
    ShellBatch m_batch;
    std::unique_ptr<StagingFolder> m_folder;
    QFile m_chunk;
    std::string m_rows; // rows not yet written to the chunk
    int m_chunks = 0;
    qint64 m_loaded = 0;
    qint64 m_duplicates = 0;
    bool m_stageAll = false; // the whole file waits for the duplicates check
    int m_categoryQuestion = 0; // its ticket until the answer is read, then 0
    bool m_categoryMissing = false;
    bool m_leftOut = false;
    bool m_declined = false;
    DuplicatesQuestion m_question;
    bool m_active = false;
    CategorySource m_source = CategorySource::Chosen;
    UnknownTypesQuestion m_typesQuestion;
    QList<UnknownType> m_types;
    int m_pendingSlot = -1;
    std::optional<CategoryByType> m_mapping;
    struct CategoryRecord
    {
        QString label;
        QString desc;
        bool enabled = true;
    };
    QHash<QString, CategoryRecord> m_records; // by label key
    bool m_typesRefused = false;
    QStringList m_created;
    int m_categoriesUsed = 0;
    qint64 m_sent = 0;
    Problem m_problem; // the first reason the load failed, with the shell's own message
};
