// SPDX-License-Identifier: GPL-3.0-or-later
#include "CategoryCheck.h"

#include <QCoreApplication>

namespace CategoryCheck {

QString guardStatement(const QString& table)
{
    return QStringLiteral("CREATE TEMP TRIGGER geofill_category_guard BEFORE INSERT ON main.%1 "
                          "WHEN NOT EXISTS(SELECT 1 FROM main.category WHERE rowid = NEW.cat_id) "
                          "BEGIN SELECT RAISE(ABORT, '%2'); END;")
        .arg(table, QLatin1String(kRefusal));
}

QString existsExpression(qint64 number)
{
    return QStringLiteral("EXISTS(SELECT 1 FROM main.category WHERE rowid = %1)").arg(number);
}

QString listQuery()
{
    return QStringLiteral("SELECT rowid, label, (SELECT count(*) FROM main.category) "
                          "FROM main.category ORDER BY rowid LIMIT 10;");
}

Problem missing(const QString& number, const QString& dbPath, const QList<QStringList>& first)
{
    QString message =
        QCoreApplication::translate("CategoryCheck", "Category %1 does not exist in %2.")
            .arg(number.trimmed(), dbPath);
    if (first.isEmpty())
        return Problem{
            message + QCoreApplication::translate("CategoryCheck", " It has no categories yet."),
            {},
            0};
    QStringList named;
    for (const QStringList& row : first)
        named << QStringLiteral("%1 %2").arg(row.value(0), row.value(1));
    const qint64 more = first.front().value(2).toLongLong() - first.size();
    if (more > 0)
        named << QCoreApplication::translate("CategoryCheck", "and %1 more").arg(more);
    return Problem{message + QCoreApplication::translate("CategoryCheck", " Its categories: ") +
                       named.join(QStringLiteral(", ")) + u'.',
                   {},
                   0};
}

} // namespace CategoryCheck
