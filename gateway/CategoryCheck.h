// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Problem.h"

#include <QList>
#include <QString>
#include <QStringList>

// A POI whose category number is not in the category table is shown by no map: the checks
// that keep such rows out, and the message that names the categories there are.
namespace CategoryCheck {

// What a POI insert fails with once guardStatement() has run.
inline constexpr char kRefusal[] = "geofill: no such category";

// A trigger for this shell session only: every insert into `table` whose cat_id is no
// category's number fails with kRefusal, comparing the value as it is stored.
QString guardStatement(const QString& table = QStringLiteral("poi"));

// SQL that is 1 when category `number` exists, else 0.
QString existsExpression(qint64 number);

// The first ten categories by number: number, label, and how many there are in all.
QString listQuery();

// "Category 77 does not exist in poi.db. Its categories: 1 Cafe, 2 Fuel." from the rows of
// listQuery().
Problem missing(const QString& number, const QString& dbPath, const QList<QStringList>& first);

} // namespace CategoryCheck
