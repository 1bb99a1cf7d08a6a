// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <PoiConverter.h>
#include <TableReader.h>

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// A category of the database, as a listing row gives it.
struct Category
{
    qint64 id = 0;
    QString label;
    QString description;
    bool enabled{};

    bool operator==(const Category&) const = default;
};

// What the user has chosen in the main window, held in one place: the panels show it and edit
// it here, and every change is announced, so that every view follows the same state. Nothing
// here touches a control or the database.
class Workspace : public QObject
{
    Q_OBJECT

public:
    // What List1 shows.
    enum class Listing
    {
        Nothing,
        Statements, // a conversion's statements
        Pois,       // the poi table
        Categories, // the category table
    };
    // Where a database to be opened comes from: a remembered one that no longer opens is
    // forgotten, a chosen one is refused with a message.
    enum class Origin
    {
        Chosen,
        Remembered,
    };

    explicit Workspace(QObject* parent = nullptr);

    // The database in use, and whether its categories could be read. Another file brings its
    // own content: its categories, the chosen category and List1 start empty.
    QString databasePath() const { return m_databasePath; }
    bool databaseOpened() const { return m_databaseOpened; }
    void setDatabase(const QString& path, bool opened);
    // Asks for `path` to become the database; it does once its categories have been read.
    void openDatabase(const QString& path, Origin origin = Origin::Chosen);
    // `path`, asked for by openDatabase, could not be opened.
    void refuseDatabase(const QString& path, const QString& reason, Origin origin);
    // A table of the database changed: whatever shows it reads it again.
    void noteTableChanged(TableReader::Table table);

    QString tempFolder() const { return m_tempFolder; }
    void setTempFolder(const QString& folder);

    // The database's categories in its listing order. New ones leave no category chosen.
    const QList<Category>& categories() const { return m_categories; }
    void setCategories(QList<Category> categories);
    const std::optional<Category>& category() const { return m_category; }
    void setCategory(const std::optional<Category>& category);
    // The category numbered `id` becomes the chosen one; none when no category has it.
    void chooseCategory(qint64 id);

    // The GPX file, and the SQL file "Save to file." writes: derived from the GPX file's name
    // and the temporary folder whenever a non-empty GPX path is set, and kept when it is erased.
    QString gpxFile() const { return m_gpxFile; }
    void setGpxFile(const QString& path);
    QString outputPath() const { return m_outputPath; }
    // Where the GPX chooser opens: the folder of the last GPX file that exists.
    QString gpxFolder() const { return m_gpxFolder; }
    void setGpxFolder(const QString& folder);

    Delivery delivery() const { return m_delivery; }
    void setDelivery(Delivery delivery);

    // Where a conversion takes each waypoint's category from: the chosen category, or its
    // type or sym.
    CategorySource categorySource() const { return m_categorySource; }
    void setCategorySource(CategorySource source);

    Listing list1() const { return m_list1; }
    void setList1(Listing shown);

signals:
    void databaseChanged();
    void databaseRequested(const QString& path, Workspace::Origin origin);
    void databaseRefused(const QString& path, const QString& reason, Workspace::Origin origin);
    void tableChanged(TableReader::Table table);
    void tempFolderChanged();
    void categoriesChanged();
    void categoryChanged();
    void gpxFileChanged();
    void outputPathChanged();
    void gpxFolderChanged();
    void deliveryChanged();
    void categorySourceChanged();
    void list1Changed();

private:
    QString m_databasePath;
    bool m_databaseOpened = false;
    QString m_tempFolder;
    QList<Category> m_categories;
    std::optional<Category> m_category;
    QString m_gpxFile;
    QString m_outputPath;
    QString m_gpxFolder;
    Delivery m_delivery = Delivery::View;
    CategorySource m_categorySource = CategorySource::Chosen;
    Listing m_list1 = Listing::Nothing;
};
