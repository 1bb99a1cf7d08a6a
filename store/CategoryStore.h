// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DatabaseShell.h"

// The category table: listing it for the chooser and adding one category.
namespace CategoryStore {

// "select * from category ;": rows of number, label, description, enabled.
Outcome<ShellRowList> list(const QString& dbPath, const StopCheck& stop = {},
                           const ShellOptions& shell = {});

// The insert for one new, enabled category; label and description go in as typed.
QString insertStatement(const QString& label, const QString& description);
Outcome<> insert(const QString& dbPath, const QString& label, const QString& description,
                 const ShellOptions& shell = {});

// Field 3 of a category row read as a number: 0 (or no number at all) is disabled, any
// other number enabled.
bool isEnabled(const QString& enabledField);

} // namespace CategoryStore
