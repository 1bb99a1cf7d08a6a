// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

// Remembered choices kept in a fresh temporary folder for as long as this lives, never in
// the user's own settings.
class TempSettings
{
public:
    TempSettings()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("GeofillTest"));
        for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, m_dir.path());
    }

private:
    QTemporaryDir m_dir;
};
