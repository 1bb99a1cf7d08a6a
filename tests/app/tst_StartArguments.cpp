// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartArguments.h"

#include <QDir>
#include <QProcess>
#include <QTest>

// geofill's command line: read without a window, and the real program's answers with none.
class tst_StartArguments : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void programAnswers_data();
    void programAnswers();
};

void tst_StartArguments::read_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("gpxFile");
    QTest::addColumn<QString>("database");

    using A = StartArguments::Action;
    const QString here = QDir::currentPath() + u'/';
    QTest::newRow("nothing") << QStringList{} << int(A::OpenWindow) << QString() << QString();
    QTest::newRow("a GPX file") << QStringList{"walks.gpx"} << int(A::OpenWindow)
                                << here + "walks.gpx" << QString();
    QTest::newRow("database first, any case")
        << QStringList{"poi.SQLite", "/t/walks.GPX"} << int(A::OpenWindow) << "/t/walks.GPX"
        << here + "poi.SQLite";
    QTest::newRow("a file named like an option, after --")
        << QStringList{"--", "--help"} << int(A::OpenWindow) << here + "--help" << QString();
    QTest::newRow("help") << QStringList{"walks.gpx", "--help"} << int(A::ShowHelp) << QString()
                          << QString();
    QTest::newRow("version") << QStringList{"--version"} << int(A::ShowVersion) << QString()
                             << QString();
    QTest::newRow("unknown option") << QStringList{"--bogus"} << int(A::Refuse) << QString()
                                    << QString();
    QTest::newRow("two databases") << QStringList{"a.db", "b.db"} << int(A::Refuse) << QString()
                                   << here + "a.db";
    QTest::newRow("two GPX files") << QStringList{"a.gpx", "b.gpx"} << int(A::Refuse)
                                   << here + "a.gpx" << QString();
}

void tst_StartArguments::read()
{
    QFETCH(QStringList, arguments);
    const StartArguments start = StartArguments::read(QStringList{"geofill"} + arguments);
    QTEST(int(start.action), "action");
    QTEST(start.gpxFile, "gpxFile");
    QTEST(start.database, "database");
    QCOMPARE(start.message.isEmpty(), start.action != StartArguments::Action::Refuse);
}

void tst_StartArguments::programAnswers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QString>("language"); // LANG for the program; none for the default

    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: geofill [options] [FILE.gpx]"
                          << QString() << QString();
    QTest::newRow("version") << QStringList{"--version"} << 0 << "geofill " << QString()
                             << QString();
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << QString()
                                    << "geofill: Unknown option 'bogus'." << QString();
    // Only the window speaks the user's language; its arguments are answered in English.
    QTest::newRow("unknown option in German")
        << QStringList{"--bogus"} << 2 << QString() << "geofill: Unknown option 'bogus'."
        << "de_DE.UTF-8";
    // The xcb platform with no display to connect to.
    QTest::newRow("no display") << QStringList{"walks.gpx"} << 1 << QString()
                                << "geofill needs a graphical display; geofill-convert works "
                                   "without one.\n"
                                << QString();
}

void tst_StartArguments::programAnswers()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QString, language);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        environment.remove(QString::fromLatin1(name));
    if (!language.isEmpty())
        environment.insert(QStringLiteral("LANG"), language);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(GEOFILL_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QTEST(program.exitCode(), "exitCode");
    const QString printed = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString complained = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(printed.startsWith(out) && (out.isEmpty() == printed.isEmpty()), qPrintable(printed));
    // A display that is missing is said in one line, the rest of Qt's words held back.
    if (program.exitCode() == 1)
        QCOMPARE(complained, err);
    else
        QVERIFY2(complained.startsWith(err) && (err.isEmpty() == complained.isEmpty()),
                 qPrintable(complained));
}

QTEST_GUILESS_MAIN(tst_StartArguments)
#include "tst_StartArguments.moc"
