// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusTexts.h"

#include <QCoreApplication>
#include <QLocale>

QString guidanceText(Guidance step)
{
    switch (step) {
    case Guidance::SelectDatabase:
        return QCoreApplication::translate("StatusTexts",
                                           "First Select a database using the file selector");
    case Guidance::SelectCategory:
        return QCoreApplication::translate("StatusTexts", "Now select ( Or add a new ) category ");
    case Guidance::SelectGpxFile:
        return QCoreApplication::translate("StatusTexts",
                                           "Select a gpx file to process using the file selector");
    case Guidance::SelectOutput:
        return QCoreApplication::translate(
            "StatusTexts", "Now select an Output option before 'Clicking on Convert Poi'");
    case Guidance::ViewDatabase:
        return QCoreApplication::translate(
            "StatusTexts",
            "The contents of the Database can be viewed using 'View poi or category'");
    }
    return {};
}

QString countText(qint64 count)
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    locale.setNumberOptions({});
    return locale.toString(count);
}

QString countOf(qint64 count, const QString& singular, const QString& plural)
{
    return countText(count) + u' ' + (count == 1 ? singular : plural);
}
