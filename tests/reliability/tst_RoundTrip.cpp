// SPDX-License-Identifier: GPL-3.0-or-later
#include "CategoryStore.h"
#include "ConvertCommand.h"
#include "DatabaseSchema.h"
#include "DatabaseShell.h"
#include "GpxWriter.h"
#include "PoiConverter.h"
#include "PoiExport.h"
#include "PoiStore.h"
#include "SqlText.h"
#include "TestDatabase.h"

#include <QRandomGenerator>
#include <QtTest>

// Awkward texts go in and must come back exactly: through a GPX file and a direct load, and
// through the store routines. No text may change what a statement does.
class TestRoundTrip : public QObject
{
    Q_OBJECT

    // Pieces the generator strings together: quoting, separators, the characters a command
    // interpreter would rewrite, whitespace, letters outside ASCII and statements of their own.
    // clang-format off
    const QStringList m_pieces = {"'", "\"", "''", "|", "\n", "\r\n", "\r", "\t", " ", "& % ^ < >",
        "%PATH%", "Müller", "Œuvre ß", "東京", "😀", "\\", "--", ";", "'); delete from poi; --",
        "\"); drop table category; --", ".quit", "\n.tables\n", "&amp;", "]]>", "Old Mill",
        "\uFEFF", ".import x y"};
    // clang-format on

    QString generate(QRandomGenerator& random) const
    {
        if (random.bounded(40) == 0) // now and then a very long one
            return QString(100000 + int(random.bounded(1000)), u'x') + m_pieces.at(0);
        QString text;
        for (int n = int(random.bounded(8)); n > 0; --n)
            text += m_pieces.at(int(random.bounded(m_pieces.size())));
        return text;
    }

    // A GPX text node that reads back as `text`: markup escaped, whitespace a scanner
    // would fold spelled as character references.
    static QString gpxText(const QString& text)
    {
        QString out = text.toHtmlEscaped().replace(u'\'', QStringLiteral("&apos;"));
        return out.replace(u'\n', QStringLiteral("&#10;"))
            .replace(u'\r', QStringLiteral("&#13;"))
            .replace(u'\t', QStringLiteral("&#9;"))
            .replace(u' ', QStringLiteral("&#32;"));
    }

    static QList<QStringList> rows(const TestDatabase& db, const QString& sql)
    {
        const Outcome<ShellRowList> result = DatabaseShell::runStatement(db.path(), sql);
        if (!result)
            qWarning("%s", qPrintable(result.problemText()));
        return result ? *result : ShellRowList();
    }

private slots:
    void throughAGpxFileAndADirectLoad()
    {
        TestDatabase db;
        QVERIFY(db.isValid());
        const QString categories = db.dump(QStringLiteral("category"));
        QRandomGenerator random(20261207);
        QList<QStringList> expected;
        // Every form of number the scanner takes, each stored as its literal would be.
        const QStringList coordinates{
            "N", "+N.25", "-.5", "7.", "00N", "-0", "-0.0", "N.0000000000000000000001", "-N"};
        QByteArray gpx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\">\n";
        for (int i = 0; i < 300; ++i) {
            const QStringList texts{generate(random), generate(random)};
            expected << texts;
            gpx +=
                QStringLiteral("<wpt lat=\"%1\" lon=\"%1\"><name>%2</name><desc>%3</desc></wpt>\n")
                    .arg(QString(coordinates[i % coordinates.size()])
                             .replace(QStringLiteral("N"), QString::number(i % 90)),
                         gpxText(texts[0]), gpxText(texts[1]))
                    .toUtf8();
        }
        gpx += "</gpx>\n";
        QFile file(db.folder() + QStringLiteral("/awkward.gpx"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(gpx) == gpx.size());
        file.close();

        ConvertRequest request;
        request.gpxPath = file.fileName();
        request.category = 2;
        request.delivery = Delivery::Direct;
        request.dbPath = db.path();
        PoiConverter loader(request);
        const Outcome<> loaded = loader.run();
        QVERIFY2(loaded, qPrintable(loaded.problemText()));
        QCOMPARE(loader.tally().loadedCount, expected.size());

        const QList<QStringList> back =
            rows(db, QStringLiteral("select label, desc from poi order by poi_id;"));
        QCOMPARE(back.size(), expected.size());
        for (qsizetype i = 0; i < back.size(); ++i)
            QCOMPARE(back[i], expected[i]);
        QCOMPARE(db.count(QStringLiteral("poi where cat_id = 2")), expected.size());
        QCOMPARE(db.dump(QStringLiteral("category")), categories);

        // The same file as one INSERT statement per waypoint gives the very same table.
        TestDatabase statements(QStringLiteral("statements.db"));
        ConvertRequest view = request;
        view.delivery = Delivery::View;
        PoiConverter viewer(view);
        QVERIFY(viewer.run());
        QVERIFY(DatabaseShell::runInTransaction(statements.path(), viewer.tally().statements));
        QCOMPARE(statements.shell(".dump poi"), db.shell(".dump poi"));

        // Back out to GPX and into a new database: the same rows, and a text XML cannot
        // carry is left out. Coordinates with every digit a double has come back exactly.
        QVERIFY(
            db.shell("insert into poi(lat,lon,label,desc,cat_id) values(-0.1234567890123456,"
                     "179.99999999999997,'Bell' || char(7),'',2);"
                     "insert into poi(lat,lon,label,desc,cat_id) select * from (values"
                     "(-0.1234567890123456,179.99999999999997,'Exact','',2),(1,1,'Other','',1));")
                .has_value());
        const Outcome<ExportSummary> exported =
            exportPois({db.path(), 2, db.folder() + "/back.gpx", nullptr, {}, {}});
        QVERIFY2(exported, qPrintable(exported.problemText()));
        QCOMPARE(exported->written, expected.size() + 1);
        QCOMPARE(exported->leftOut.size(), 1);
        QCOMPARE(exported->leftOut[0].label, QStringLiteral("Bell\a"));
        QFile exportedFile(db.folder() + "/back.gpx");
        QVERIFY(exportedFile.open(QIODevice::ReadOnly));
        const QByteArray written = exportedFile.readAll();
        QVERIFY(written.startsWith("<?xml") && written.endsWith("</gpx>\n"));
        // So is half of a surrogate pair, even where the other half follows out of sight.
        QCOMPARE(GpxWriter::unwritableAt(QStringView(u"ab\U0001F600").first(3)), 2);
        request.gpxPath = db.folder() + "/back.gpx";
        request.dbPath = db.folder() + "/again.db";
        QVERIFY(DatabaseSchema::createDatabase(request.dbPath));
        QVERIFY(DatabaseShell::runInTransaction(
                    request.dbPath,
                    {"insert into category(label,desc,enabled) values('a','',1),('b','',1);"})
                    .ok());
        QVERIFY(PoiConverter(request).run().ok());
        const QString columns = QStringLiteral(
            "select quote(lat), quote(lon), label, desc, cat_id from poi where label <> 'Bell' "
            "|| char(7) and cat_id = 2 order by poi_id;");
        QCOMPARE(*DatabaseShell::runStatement(request.dbPath, columns), rows(db, columns));
    }

    // A whole database moved through GPX by its categories' labels, as a user moves it to
    // another device: --export, --create-database, then a load by type that makes them.
    void throughCategoriesByType()
    {
        TestDatabase a(QStringLiteral("a.db"));
        QVERIFY(a.isValid());
        QRandomGenerator random(20261208);
        QString sql = QStringLiteral("delete from category;");
        for (int c = 0; c < 6; ++c) {
            // A different start keeps two labels from being the same category.
            sql += QStringLiteral("insert into category(label,desc,enabled) values(%1,%2,%3);")
                       .arg(SqlText::literal(QStringLiteral("%1 ").arg(c) + generate(random)),
                            SqlText::literal(generate(random)))
                       .arg(c == 2 ? 0 : 1);
            // The fifth holds no POI, and travels all the same.
            for (int p = 0; p < (c == 4 ? 0 : 15); ++p)
                sql += QStringLiteral("insert into poi(lat,lon,label,desc,cat_id) values(%1,%2,%3,"
                                      "%4,(select max(cat_id) from category));")
                           .arg(p - 7.25)
                           .arg(c * 10 + p)
                           .arg(SqlText::literal(generate(random)),
                                SqlText::literal(generate(random)));
        }
        QVERIFY(a.shell(sql).has_value());
        const QString gpx = a.folder() + QStringLiteral("/a.gpx");
        const QString b = a.folder() + QStringLiteral("/b.db");
        const auto convert = [](const QStringList& arguments) {
            std::FILE* out = std::tmpfile();
            const int status = runConvertCommand(QStringList{"geofill-convert"} + arguments, out, out);
            std::fclose(out);
            return status;
        };
        QCOMPARE(convert({"--export", a.path(), "--output", gpx}), 0);
        QCOMPARE(convert({"--create-database", b}), 0);
        QCOMPARE(convert({"--database", b, "--category-from", "type", "--create-categories", gpx}), 0);

        const QString categories =
            QStringLiteral("select hex(label), hex(desc), enabled from category order by 1;");
        QCOMPARE(*DatabaseShell::runStatement(b, categories), rows(a, categories));
        const QString pois = QStringLiteral(
            "select hex(c.label), quote(p.lat), quote(p.lon), hex(p.label), hex(p.desc) from poi p "
            "join category c on c.cat_id = p.cat_id order by 1, 2, 3;");
        QCOMPARE(*DatabaseShell::runStatement(b, pois), rows(a, pois));
        QCOMPARE(rows(a, pois).size(), 75);
    }

    void throughTheStoreRoutines()
    {
        TestDatabase db;
        QVERIFY(db.isValid());
        QRandomGenerator random(7);
        const int before = db.count(QStringLiteral("category"));
        QList<QStringList> expected;
        for (int i = 0; i < 60; ++i) {
            const QStringList texts{generate(random), generate(random)};
            expected << texts;
            QVERIFY(CategoryStore::insert(db.path(), texts[0], texts[1]).ok());
            QVERIFY(PoiStore::add(db.path(), QStringLiteral("1.5"), QStringLiteral("-2"), texts[0],
                                  texts[1], QStringLiteral("1"))
                        .ok());
        }
        const Outcome<ShellRowList> listed = CategoryStore::list(db.path());
        QVERIFY(listed);
        QCOMPARE(listed->size(), before + expected.size());
        const QList<QStringList> pois =
            rows(db, QStringLiteral("select label, desc, lat, cat_id from poi order by poi_id;"));
        QCOMPARE(pois.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const QStringList& category = listed->at(before + i);
            QCOMPARE(category.mid(1), (QStringList{expected[i][0], expected[i][1], "1"}));
            QCOMPARE(pois[i], (QStringList{expected[i][0], expected[i][1], "1.5", "1"}));
        }
    }
};

QTEST_GUILESS_MAIN(TestRoundTrip)
#include "tst_RoundTrip.moc"
