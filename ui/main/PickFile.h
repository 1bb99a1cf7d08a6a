// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// Pick_File: the window's one file-open dialog, with a "description|pattern|" filter list and
// the second entry preselected. The chosen full path, or empty when the dialog was cancelled.
// `directory` is where the dialog opens; empty leaves it to the dialog.
QString Pick_File(QWidget* window, const QString& filterList, const QString& directory = {});
