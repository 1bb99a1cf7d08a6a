// SPDX-License-Identifier: GPL-3.0-or-later
#include "Workspace.h"

#include "Platform.h"

#include <QFileInfo>

#include <algorithm>

Workspace::Workspace(QObject* parent) : QObject(parent) {}

void Workspace::setDatabase(const QString& path, bool opened)
{
    if (path == m_databasePath && opened == m_databaseOpened)
        return;
    const bool anotherFile = path != m_databasePath;
    m_databasePath = path;
    m_databaseOpened = opened;
    // What was read from the previous file is not this file's.
    if (anotherFile) {
        setCategories({});
        setList1(Listing::Nothing);
    }
    emit databaseChanged();
}

void Workspace::openDatabase(const QString& path, Origin origin)
{
    emit databaseRequested(path, origin);
}

void Workspace::refuseDatabase(const QString& path, const QString& reason, Origin origin)
{
    emit databaseRefused(path, reason, origin);
}

void Workspace::noteTableChanged(TableReader::Table table)
{
    emit tableChanged(table);
}

void Workspace::setTempFolder(const QString& folder)
{
    if (folder == m_tempFolder)
        return;
    m_tempFolder = folder;
    emit tempFolderChanged();
}

void Workspace::setCategories(QList<Category> categories)
{
    setCategory(std::nullopt);
    m_categories = std::move(categories);
    emit categoriesChanged();
}

void Workspace::setCategory(const std::optional<Category>& category)
{
    if (category == m_category)
        return;
    m_category = category;
    emit categoryChanged();
}

void Workspace::chooseCategory(qint64 id)
{
    const auto found = std::find_if(m_categories.cbegin(), m_categories.cend(),
                                    [id](const Category& category) { return category.id == id; });
    setCategory(found == m_categories.cend() ? std::nullopt : std::optional(*found));
}

void Workspace::setGpxFile(const QString& path)
{
    if (path == m_gpxFile)
        return;
    m_gpxFile = path;
    if (!path.isEmpty()) {
        const QString output = Platform::outputPathFor(path, m_tempFolder);
        if (output != m_outputPath) {
            m_outputPath = output;
            emit outputPathChanged();
        }
    }
    const QFileInfo file(path);
    if (file.isFile())
        setGpxFolder(file.absolutePath());
    emit gpxFileChanged();
}

void Workspace::setGpxFolder(const QString& folder)
{
    if (folder == m_gpxFolder)
        return;
    m_gpxFolder = folder;
    emit gpxFolderChanged();
}

void Workspace::setDelivery(Delivery delivery)
{
    if (delivery == m_delivery)
        return;
    m_delivery = delivery;
    emit deliveryChanged();
}

void Workspace::setCategorySource(CategorySource source)
{
    if (source == m_categorySource)
        return;
    m_categorySource = source;
    emit categorySourceChanged();
}

void Workspace::setList1(Listing shown)
{
    if (shown == m_list1)
        return;
    m_list1 = shown;
    emit list1Changed();
}
