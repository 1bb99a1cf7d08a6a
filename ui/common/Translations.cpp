// SPDX-License-Identifier: GPL-3.0-or-later
#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

QList<QPointer<QTranslator>> g_installed;

void removeInstalled()
{
    for (const QPointer<QTranslator>& translator : std::as_const(g_installed)) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    g_installed.clear();
}

// Loads `prefix` + "_" + the first of `names` found in `folder` and installs it.
bool installFirst(const QString& prefix, const QStringList& names, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    for (const QString& name : names) {
        if (translator->load(prefix + u'_' + name, folder)) {
            QCoreApplication::installTranslator(translator.get());
            g_installed.append(translator.release());
            return true;
        }
    }
    return false;
}

} // namespace

namespace Translations {

QString folder()
{
    return QDir::cleanPath(QDir(QCoreApplication::applicationDirPath())
                               .filePath(QStringLiteral(GEOFILL_TRANSLATIONS_FROM_PROGRAM)));
}

QString install(const QLocale& locale, const QString& from)
{
    removeInstalled();
    // uiLanguages() lists the user's languages in order of preference ("de-AT", "de", ...).
    for (const QString& uiLanguage : locale.uiLanguages()) {
        const QLocale language(uiLanguage);
        if (language.language() == QLocale::English)
            return {};
        if (language.language() == QLocale::C)
            continue;
        const QString code = QLocale::languageToCode(language.language());
        // The country's own variant first (de_AT), then the language's (de).
        const QStringList names{language.name(), code};
        if (!installFirst(QStringLiteral("geofill"), names, from))
            continue;
        installFirst(QStringLiteral("qtbase"), names,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        return code;
    }
    return {};
}

} // namespace Translations
