// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandRunner.h"

#include <QTest>

#include <stdexcept>

// The sqlite3 shell on an in-memory database serves as a portable child program.
class TestCommandRunner : public QObject
{
    Q_OBJECT

    CommandResult sqlite(const QByteArray& input, bool out, bool err, int timeoutMs = -1)
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
        const CommandResult r =
            Run_Command(QStringLiteral("no-such-program-anywhere"), {}, {}, true, false);
        QVERIFY(!r.started);
        QCOMPARE(r.output, QString::fromLatin1(kFailedToCreateProcess));
        QVERIFY(!r.succeeded());
        QCOMPARE(r.failureReason(), QString::fromLatin1(kFailedToCreateProcess));
    }

    void returnsLargeOutputWholeAndInOrder()
    {
        const CommandResult r = sqlite("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 "
                                       "FROM c WHERE x<100000) SELECT x FROM c;\n",
                                       true, false);
        QVERIFY(r.succeeded());
        const QStringList lines = r.output.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 100000);
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(lines[i].trimmed().toInt(), i + 1);
    }

    void decodesUtf8()
    {
        const CommandResult r = sqlite("select 'Ærø café — 東京';\n", true, false);
        QCOMPARE(r.output.trimmed(), QStringLiteral("Ærø café — 東京"));
    }

    void separatesOrMergesStandardError()
    {
        const QByteArray input = "select 'before';\nselect nosuch;\n";
        const CommandResult outOnly = sqlite(input, true, false);
        QCOMPARE(outOnly.output.trimmed(), QStringLiteral("before"));
        QVERIFY(outOnly.errorOutput.contains(QStringLiteral("no such column")));
        QVERIFY(!outOnly.succeeded());
        QVERIFY(outOnly.failureReason().contains(QStringLiteral("no such column")));

        const CommandResult errOnly = sqlite(input, false, true);
        QVERIFY(!errOnly.output.contains(QStringLiteral("before")));
        QVERIFY(errOnly.output.contains(QStringLiteral("no such column")));

        const CommandResult both = sqlite(input, true, true);
        QVERIFY(both.output.contains(QStringLiteral("before")));
        QVERIFY(both.output.contains(QStringLiteral("no such column")));
    }

    void recognisesANonZeroExit()
    {
        const CommandResult r = Run_Command(QStringLiteral("sqlite3"),
                                            {QStringLiteral("-bail"), QStringLiteral(":memory:")},
                                            "select nosuch;\n", true, false);
        QVERIFY(r.finished);
        QVERIFY(r.exitCode != 0);
        QVERIFY(!r.succeeded());
        // A program that fails without a word is known by its exit code.
        const CommandResult silent = sqlite(".exit 3\n", true, false);
        QCOMPARE(silent.exitCode, 3);
        QCOMPARE(silent.failureReason(), QStringLiteral("The program ended with exit code 3."));
    }

    void killsAProgramPastItsTimeOut()
    {
        const CommandResult r = sqlite("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 "
                                       "FROM c) SELECT count(*) FROM c;\n",
                                       true, false, 300);
        QVERIFY(r.started);
        QVERIFY(!r.finished);
        QVERIFY(!r.succeeded());
        QCOMPARE(r.failureReason(), QStringLiteral("The program was stopped before it finished."));
    }
};

QTEST_GUILESS_MAIN(TestCommandRunner)
#include "tst_CommandRunner.moc"
