#include "RememberedChoices.h"

#include "ConversionPanel.h"
#include "SetupPanel.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>

namespace {

const QString kDatabase = QStringLiteral("database");
const QString kTempFolder = QStringLiteral("tempFolder");
const QString kGpxFolder = QStringLiteral("gpxFolder");
const QString kOutputOption = QStringLiteral("outputOption");

} // namespace

RememberedChoices::RememberedChoices(const Controls& controls, SetupPanel& setup,
                                     ConversionPanel& conversion, QObject* parent)
    : QObject(parent), m_ui(controls), m_setup(setup), m_conversion(conversion)
{
}

void RememberedChoices::restore()
{
    QSettings settings;
    if (settings.contains(kTempFolder))
        m_ui.TxtTemp->setText(settings.value(kTempFolder).toString());
    m_conversion.setGpxFolder(settings.value(kGpxFolder).toString());
    const QString option = settings.value(kOutputOption).toString();
    for (QRadioButton* button : {m_ui.Option1, m_ui.Option2, m_ui.Option3}) {
        if (button->objectName() == option)
            button->setChecked(true);
    }
    const QString database = settings.value(kDatabase).toString();
    if (!database.isEmpty())
        m_setup.restoreDatabase(database);

    // Listening starts after the restore, so restoring writes nothing back.
    connect(m_ui.TxtTemp, &QLineEdit::textChanged, this,
            [](const QString& folder) { QSettings().setValue(kTempFolder, folder); });
    for (QRadioButton* button : {m_ui.Option1, m_ui.Option2, m_ui.Option3})
        connect(button, &QRadioButton::toggled, this, &RememberedChoices::rememberOption);
    connect(&m_conversion, &ConversionPanel::gpxFileUsed, this, [](const QString& path) {
        QSettings().setValue(kGpxFolder, QFileInfo(path).absolutePath());
    });
    connect(&m_setup, &SetupPanel::databaseChosen, this,
            [this] { QSettings().setValue(kDatabase, m_setup.databasePath()); });
    connect(&m_setup, &SetupPanel::rememberedDatabaseFailed, this,
            [this](const QString& path, const QString& reason) {
                QSettings settings;
                if (settings.value(kDatabase).toString() == path)
                    settings.remove(kDatabase);
                emit statusMessage(
                    QStringLiteral("The database from last time, %1, could not be opened and is "
                                   "forgotten (%2).")
                        .arg(path, reason.trimmed()));
            });
}

void RememberedChoices::rememberOption()
{
    for (QRadioButton* button : {m_ui.Option1, m_ui.Option2, m_ui.Option3}) {
        if (button->isChecked())
            QSettings().setValue(kOutputOption, button->objectName());
    }
}
