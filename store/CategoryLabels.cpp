// SPDX-License-Identifier: GPL-3.0-or-later
#include "CategoryLabels.h"

#include <LabelKey.h>

#include <QCoreApplication>

namespace CategoryLabels {

bool same(const QString& a, const QString& b)
{
    return labelKey(a) == labelKey(b);
}

std::optional<QString> problem(const QString& label, const QStringList& others)
{
    if (label.trimmed().isEmpty())
        return QCoreApplication::translate("frmNewCat", "A new category needs a label.");
    for (const QString& other : others) {
        if (same(label, other))
            return QCoreApplication::translate(
                       "frmNewCat", "There is already a category \"%1\"; choose another label.")
                .arg(other.trimmed());
    }
    return std::nullopt;
}

QString freeCondition(const QString& literal, qint64 exceptId)
{
    return QStringLiteral("NOT EXISTS(SELECT 1 FROM main.category WHERE rowid <> %1 AND "
                          "lower(trim(label, ' ' || char(9, 10, 13))) = lower(trim(%2, ' ' || "
                          "char(9, 10, 13))))")
        .arg(exceptId)
        .arg(literal);
}

} // namespace CategoryLabels
