// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandRunner.h"

#include <QTest>

#include <stdexcept>

// The sqlite3 shell on an in-memory database serves as a portable child program.
class TestCommandRunner : public QObject
{
    Q_OBJECT

    Outcome<CommandOutput> sqlite(const QByteArray& input, bool out, bool err, int timeoutMs = -1)
    {
        return Run_Command(QStringLiteral("sqlite3"), {QStringLiteral(":memory:")}, input, out, err,
                           timeoutMs);
    }

private slots:
    void refusesWhenNothingIsCaptured()
    {
        QVERIFY_THROWS_EXCEPTION(
            std::invalid_argument,
            Run_Command(QStringLiteral("no-such-program-anywhere"), {}, {}, false, false));
    }

    void reportsAProgramThatCannotStart()
    {
        const Outcome<CommandOutput> r =
            Run_Command(QStringLiteral("no-such-program-anywhere"), {}, {}, true, false);
        QVERIFY(!r);
        QCOMPARE(r.problem().message, QString::fromLatin1(kFailedToCreateProcess));
    }

    void returnsLargeOutputWholeAndInOrder()
    {
        const Outcome<CommandOutput> r =
            sqlite("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 "
                   "FROM c WHERE x<100000) SELECT x FROM c;\n",
                   true, false);
        QVERIFY(r && endedWell(*r));
        const QStringList lines = r->output.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 100000);
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(lines[i].trimmed().toInt(), i + 1);
    }

    void decodesUtf8()
    {
        const Outcome<CommandOutput> r = sqlite("select 'Ærø café — 東京';\n", true, false);
        QCOMPARE(r->output.trimmed(), QStringLiteral("Ærø café — 東京"));
    }

    void separatesOrMergesStandardError()
    {
        const QByteArray input = "select 'before';\nselect nosuch;\n";
        const Outcome<CommandOutput> outOnly = sqlite(input, true, false);
        QCOMPARE(outOnly->output.trimmed(), QStringLiteral("before"));
        QVERIFY(outOnly->errorOutput.contains(QStringLiteral("no such column")));
        const Outcome<> outEnd = endedWell(*outOnly);
        QVERIFY(!outEnd);
        QVERIFY(outEnd.problem().message.contains(QStringLiteral("no such column")));

        const Outcome<CommandOutput> errOnly = sqlite(input, false, true);
        QVERIFY(!errOnly->output.contains(QStringLiteral("before")));
        QVERIFY(errOnly->output.contains(QStringLiteral("no such column")));

        const Outcome<CommandOutput> both = sqlite(input, true, true);
        QVERIFY(both->output.contains(QStringLiteral("before")));
        QVERIFY(both->output.contains(QStringLiteral("no such column")));
    }

    void recognisesANonZeroExit()
    {
        const Outcome<CommandOutput> r = Run_Command(
            QStringLiteral("sqlite3"), {QStringLiteral("-bail"), QStringLiteral(":memory:")},
            "select nosuch;\n", true, false);
        QVERIFY(r);
        QVERIFY(r->exitCode != 0);
        QVERIFY(!endedWell(*r));
        // A program that fails without a word is known by its exit code.
        const Outcome<CommandOutput> silent = sqlite(".exit 3\n", true, false);
        QCOMPARE(silent->exitCode, 3);
        QCOMPARE(endedWell(*silent).problem().message,
                 QStringLiteral("The program ended with exit code 3."));
    }

    void killsAProgramPastItsTimeOut()
    {
        const Outcome<CommandOutput> r =
            sqlite("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 "
                   "FROM c) SELECT count(*) FROM c;\n",
                   true, false, 300);
        QVERIFY(!r);
        QCOMPARE(r.problem().message,
                 QStringLiteral("The program was stopped before it finished."));
    }
};

QTEST_GUILESS_MAIN(TestCommandRunner)
#include "tst_CommandRunner.moc"
