// SPDX-License-Identifier: GPL-3.0-or-later
#include "RememberedChoices.h"

#include "Workspace.h"

#include <QSettings>

#include <array>

namespace {

const QString kDatabase = QStringLiteral("database");
const QString kTempFolder = QStringLiteral("tempFolder");
const QString kGpxFolder = QStringLiteral("gpxFolder");
const QString kOutputOption = QStringLiteral("outputOption");

// The output option as it is kept: the name of its option button.
constexpr std::array<std::pair<Delivery, const char*>, 3> kOptions{
    {{Delivery::Direct, "Option1"}, {Delivery::View, "Option2"}, {Delivery::Save, "Option3"}}};

} // namespace

RememberedChoices::RememberedChoices(Workspace& workspace, QObject* parent)
    : QObject(parent), m_workspace(workspace)
{
}

void RememberedChoices::restore()
{
    QSettings settings;
    if (settings.contains(kTempFolder))
        m_workspace.setTempFolder(settings.value(kTempFolder).toString());
    m_workspace.setGpxFolder(settings.value(kGpxFolder).toString());
    const QString option = settings.value(kOutputOption).toString();
    for (const auto& [delivery, name] : kOptions) {
        if (option == QLatin1String(name))
            m_workspace.setDelivery(delivery);
    }
    const QString database = settings.value(kDatabase).toString();
    if (!database.isEmpty())
        m_workspace.openDatabase(database, Workspace::Origin::Remembered);

    // Listening starts after the restore, so restoring writes nothing back.
    connect(&m_workspace, &Workspace::tempFolderChanged, this,
            [this] { QSettings().setValue(kTempFolder, m_workspace.tempFolder()); });
    connect(&m_workspace, &Workspace::deliveryChanged, this, [this] {
        for (const auto& [delivery, name] : kOptions) {
            if (delivery == m_workspace.delivery())
                QSettings().setValue(kOutputOption, QLatin1String(name));
        }
    });
    connect(&m_workspace, &Workspace::gpxFolderChanged, this,
            [this] { QSettings().setValue(kGpxFolder, m_workspace.gpxFolder()); });
    // Only a database that opened is kept; one that could not be opened yet (no shell to read
    // it with) leaves the kept one as it is.
    connect(&m_workspace, &Workspace::databaseChanged, this, [this] {
        if (m_workspace.databaseOpened())
            QSettings().setValue(kDatabase, m_workspace.databasePath());
    });
    connect(&m_workspace, &Workspace::databaseRefused, this,
            [this](const QString& path, const QString& reason, Workspace::Origin origin) {
                if (origin != Workspace::Origin::Remembered)
                    return;
                QSettings settings;
                if (settings.value(kDatabase).toString() == path)
                    settings.remove(kDatabase);
                emit statusMessage(tr("The database from last time, %1, could not be opened and is "
                                      "forgotten (%2).")
                                       .arg(path, reason.trimmed()));
            });
}
