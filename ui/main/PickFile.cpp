#include "PickFile.h"

#include "Prompts.h"

QString Pick_File(QWidget* window, const QString& filterList)
{
    Prompts::FileRequest request;
    request.filters = filtersFromList(filterList);
    request.selectedFilter = 1;
    return Prompts::current().openFile(window, request);
}
