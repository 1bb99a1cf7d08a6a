// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Two categories with the same label cannot be told apart in a chooser: labels that differ only
// in case (Unicode case folding) or in blanks around them count as the same.
namespace CategoryLabels {

bool same(const QString& a, const QString& b);

// Why `label` cannot be given to a category when `others` are the labels of the other
// categories: it is empty, or one of them already has it.
std::optional<QString> problem(const QString& label, const QStringList& others);

// SQL that is true when no category but `exceptId` has `literal` (SQL) as its label, ignoring
// case (ASCII letters) and blanks around it: the check inside the change's transaction.
QString freeCondition(const QString& literal, qint64 exceptId = 0);

} // namespace CategoryLabels
