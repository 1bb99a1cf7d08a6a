// SPDX-License-Identifier: GPL-3.0-or-later
#include "RowImages.h"

#include <SqlText.h>

#include <QDir>

Outcome<std::shared_ptr<const RowImages>> RowImages::make()
{
    auto images = std::make_shared<RowImages>();
    if (!images->m_folder.isValid())
        return Problem{QStringLiteral("No temporary folder could be made to keep the rows for "
                                      "Undo; nothing was changed."),
                       QStringLiteral("%1 (in %2)")
                           .arg(images->m_folder.errorString(),
                                QDir::toNativeSeparators(QDir::tempPath())),
                       0};
    return std::shared_ptr<const RowImages>(std::move(images));
}

namespace {

// The rows are worth nothing once the program ends: the files need not survive a crash. Large
// pages take many rows with little bookkeeping; a file that exists keeps its own.
QString attachStatement(const QTemporaryDir& folder, const QString& file, const char* schema)
{
    return QStringLiteral("ATTACH %1 AS %2; PRAGMA %2.synchronous = OFF; PRAGMA %2.page_size = "
                          "65536;")
        .arg(SqlText::literal(QDir::toNativeSeparators(folder.filePath(file))),
             QLatin1String(schema));
}

} // namespace

QByteArray RowImages::attach() const
{
    return attachAfter() + ' ' + attachBefore();
}

QByteArray RowImages::attachBefore() const
{
    return attachStatement(m_folder, QStringLiteral("before.db"), kBeforeSchema).toUtf8();
}

QByteArray RowImages::attachAfter() const
{
    return attachStatement(m_folder, QStringLiteral("rows.db"), kSchema).toUtf8();
}

QString RowImages::keys(const QString& table)
{
    return QStringLiteral("(SELECT id FROM %1 UNION ALL SELECT id FROM %2)")
        .arg(rows(table, StoredChange::Side::Before), rows(table, StoredChange::Side::After));
}

QString RowImages::rows(const QString& table, StoredChange::Side side)
{
    return QStringLiteral("%1.%2_%3")
        .arg(QLatin1String(side == StoredChange::Side::Before ? kBeforeSchema : kSchema),
             side == StoredChange::Side::Before ? QStringLiteral("before") : QStringLiteral("after"),
             table);
}
