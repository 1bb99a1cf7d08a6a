// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

// The language the windows speak: Geofill's own texts and Qt's (the file dialog, the message
// box buttons) alike, so that no dialog speaks another language than the window behind it.
namespace Translations {

// Where the installed program finds its translations: beside its own folder, as installed.
QString folder();

// Installs, for the first of the user's languages (`locale`'s, the system's at start) that
// Geofill has a translation of in `from`, that translation and Qt's own. English, the
// language the texts are written in, needs none and ends the search. Replaces what an earlier
// call installed. Returns the language installed ("de"), or an empty string for English.
QString install(const QLocale& locale = QLocale::system(), const QString& from = folder());

} // namespace Translations
