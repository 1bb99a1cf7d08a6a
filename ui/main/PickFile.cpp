// SPDX-License-Identifier: GPL-3.0-or-later
#include "PickFile.h"

#include "Prompts.h"

QString Pick_File(QWidget* window, const QString& filterList, const QString& directory)
{
    Prompts::FileRequest request;
    request.filters = filtersFromList(filterList);
    request.selectedFilter = 1;
    request.directory = directory;
    return Prompts::current().openFile(window, request);
}
