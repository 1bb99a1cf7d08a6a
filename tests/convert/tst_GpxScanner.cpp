#include "GpxScanner.h"
#include "PoiStatement.h"

#include <QTemporaryDir>
#include <QtTest>

// Every file is read whole and in blocks of a few bytes, so that each construct is also
// cut at every position by a block boundary, and once through a pipe.
class TestGpxScanner : public QObject
{
    Q_OBJECT

private slots:
    void scansFiles_data();
    void scansFiles();
    void decodesEncodings_data();
    void decodesEncodings();
    void reportsProblems_data();
    void reportsProblems();

private:
    struct Outcome
    {
        QStringList statements;
        QStringList problems; // "line: message"
    };
    Outcome scan(const QByteArray& gpx, qsizetype blockSize, bool throughPipe = false);
    void compareAtAllBlockSizes(const QByteArray& gpx, const QStringList& statements,
                                const QStringList& problemLines = {});

    QTemporaryDir m_dir;
};

namespace {

// Sequential, and hands over a few bytes a read, as a pipe does while its writer is slow.
struct Pipe : QIODevice
{
    explicit Pipe(QByteArray gpx) : bytes(std::move(gpx)) { open(ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 readData(char* data, qint64 max) override
    {
        const qint64 n = std::min({max, qint64(5), bytes.size()});
        std::memcpy(data, bytes.constData(), n);
        bytes.remove(0, n);
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }
    QByteArray bytes;
};

QString insert(const QString& values)
{
    return QStringLiteral("INSERT INTO poi(lat,lon,label,desc,cat_id) VALUES(%1);").arg(values);
}

} // namespace

TestGpxScanner::Outcome TestGpxScanner::scan(const QByteArray& gpx, qsizetype blockSize,
                                             bool throughPipe)
{
    const QString path = m_dir.filePath(QStringLiteral("in.gpx"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(gpx) != gpx.size())
        qFatal("cannot write the test file");
    file.close();

    Outcome outcome;
    const PoiStatement builder(QStringLiteral("poi"), 1);
    GpxScanner scanner;
    scanner.setBlockSize(blockSize);
    scanner.setWaypointHandler([&](const Waypoint& w) {
        outcome.statements << QString::fromUtf8(builder.build(w));
        return true;
    });
    scanner.setProblemHandler([&](const GpxProblem& p) {
        outcome.problems << QStringLiteral("%1: %2").arg(p.line).arg(p.message);
    });
    Pipe pipe(gpx);
    if (!(throughPipe ? scanner.scan(pipe) : scanner.scanFile(path)))
        outcome.problems << QStringLiteral("error: ") + scanner.errorString();
    return outcome;
}

void TestGpxScanner::compareAtAllBlockSizes(const QByteArray& gpx, const QStringList& statements,
                                            const QStringList& problemLines)
{
    // Whole, in blocks of 1, 3 and 7 bytes, and (0) through a pipe.
    for (const qsizetype block :
         {qsizetype(1 << 20), qsizetype(1), qsizetype(3), qsizetype(7), qsizetype(0)}) {
        const Outcome outcome = block > 0 ? scan(gpx, block) : scan(gpx, 1 << 20, true);
        QCOMPARE(outcome.statements, statements);
        QStringList lines;
        for (const QString& p : outcome.problems)
            lines << p.section(u':', 0, 0);
        if (lines != problemLines)
            qWarning() << "block" << block << outcome.problems;
        QCOMPARE(lines, problemLines);
    }
}

void TestGpxScanner::scansFiles_data()
{
    QTest::addColumn<QByteArray>("gpx");
    QTest::addColumn<QStringList>("statements");

    const QString mill = insert("51.5,-0.12,'Old Mill','Water mill',1");
    QTest::newRow("LF, indented") << QByteArray("<gpx>\n  <wpt lat=\"51.5\" lon=\"-0.12\">\n"
                                                "    <name>Old Mill</name>\n    <desc>Water "
                                                "mill</desc>\n  </wpt>\n</gpx>\n")
                                  << QStringList{mill};
    QTest::newRow("lone CR") << QByteArray("<wpt lat=\"51.5\" lon=\"-0.12\">\r<name>Old Mill</name>"
                                           "\r<desc>Water mill</desc>\r</wpt>\r")
                             << QStringList{mill};
    QTest::newRow("one line, single quotes, lon first")
        << QByteArray("<wpt lon='-0.12' lat='51.5'><name>Old Mill</name><desc>Water "
                      "mill</desc></wpt>")
        << QStringList{mill};
    QTest::newRow("attributes on later lines, blanks in values")
        << QByteArray("\t<wpt\n\t\tlat = \" 51.5 \"\n\t\tlon=\"-0.12\"\n\t>\n<name>Old "
                      "Mill</name><desc>Water mill</desc>\t</wpt >")
        << QStringList{mill};
    QTest::newRow("tags with attributes, first name and desc count")
        << QByteArray("<wpt lat=\"51.5\" lon=\"-0.12\"><name lang=\"en\">Old Mill</name>"
                      "<desc class='x'>Water mill</desc><name>Second</name><desc>Other</desc>"
                      "<link href=\"a\"><text>Site</text></link></wpt>")
        << QStringList{mill};
    QTest::newRow("missing name and desc, empty and self-closing forms")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"/><wpt lat=\"3\" lon=\"4\"><name/><desc></desc>"
                      "</wpt><wpt lat=\"5\" lon=\"6\"><ele>1</ele></wpt>")
        << QStringList{insert("1,2,'','',1"), insert("3,4,'','',1"), insert("5,6,'','',1")};
    QTest::newRow("entities, references, lone ampersand, quotes")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><name>O'Brien &amp; &quot;Sons&quot; &lt;1&gt; "
                      "&apos;</name><desc>&#233;t&#xE9; &#x1F600; A & B &nope; &#0; 5% | ^</desc>"
                      "</wpt>")
        << QStringList{insert(QString::fromUtf8("1,2,'O''Brien & \"Sons\" <1> ''','\xC3\xA9t"
                                                "\xC3\xA9 \xF0\x9F\x98\x80 A & B &nope; &#0; "
                                                "5% | ^',1"))};
    QTest::newRow("CDATA and comments")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><name><![CDATA[a <b> &amp; c]]></name>"
                      "<desc>x<!-- hidden --> y<![CDATA[ </desc> ]]>z</desc></wpt>")
        << QStringList{insert("1,2,'a <b> &amp; c','x y </desc> z',1")};
    QTest::newRow("value over several lines")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><name>  two  blanks  </name><desc>Pitches for "
                      "tents,  \r\n\t  caravans\n\nand vans</desc></wpt>")
        << QStringList{insert("1,2,'  two  blanks  ','Pitches for tents, caravans  and vans',1")};
    QTest::newRow("text outside waypoints, other points, upper case")
        << QByteArray("<?xml version=\"1.0\"?><!-- <wpt lat=\"9\" lon=\"9\"></wpt> -->\n"
                      "<gpx><metadata><name>Trip</name><desc>All</desc></metadata>"
                      "<rte><rtept lat=\"7\" lon=\"7\"><name>R</name></rtept></rte>"
                      "<WPT lat=\"8\" lon=\"8\"></WPT><wptx lat=\"6\" lon=\"6\"></wptx>"
                      "<wpt lat=\"1\" lon=\"2\"><NAME>no</NAME><name>yes</name>"
                      "<extensions><x><name>deep</name></x></extensions></wpt></gpx>")
        << QStringList{insert("1,2,'yes','',1")};
    QTest::newRow("numbers as written")
        << QByteArray("<wpt lat=\"+2.25\" lon=\"-.5\"/>"
                      "<wpt lat=\"-90\" lon=\"180.000\"/>"
                      "<wpt lat=\"7.\" lon=\"0\"/>")
        << QStringList{insert("+2.25,-.5,'','',1"), insert("-90,180.000,'','',1"),
                       insert("7.,0,'','',1")};
    QTest::newRow("no waypoints") << QByteArray("<gpx></gpx>") << QStringList{};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void TestGpxScanner::scansFiles()
{
    QFETCH(QByteArray, gpx);
    QFETCH(QStringList, statements);
    compareAtAllBlockSizes(gpx, statements);
}

void TestGpxScanner::decodesEncodings_data()
{
    QTest::addColumn<QByteArray>("gpx");
    QTest::addColumn<QString>("name");

    QTest::newRow("UTF-8 with byte-order mark")
        << QByteArray("\xEF\xBB\xBF<wpt lat=\"1\" lon=\"2\"><name>Caf\xC3\xA9</name></wpt>")
        << QString::fromUtf8("Caf\xC3\xA9");
    QTest::newRow("ISO-8859-1")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<wpt lat=\"1\" "
                      "lon=\"2\"><name>Caf\xE9 M\xFCller</name></wpt>")
        << QString::fromUtf8("Caf\xC3\xA9 M\xC3\xBCller");
    QTest::newRow("windows-1252")
        << QByteArray("<?xml version='1.0' encoding='windows-1252'?><wpt lat=\"1\" lon=\"2\">"
                      "<name>5 \x80 \x93ok\x94</name></wpt>")
        << QString::fromUtf8("5 \xE2\x82\xAC \xE2\x80\x9Cok\xE2\x80\x9D");
    const QString text = QString::fromUtf8("<wpt lat=\"1\" lon=\"2\"><name>\xC3\xA9\xF0\x9F\x98\x80"
                                           "</name></wpt>");
    QByteArray utf16 = "\xFF\xFE";
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QTest::newRow("UTF-16 with byte-order mark")
        << utf16 << QString::fromUtf8("\xC3\xA9\xF0\x9F\x98\x80");
}

void TestGpxScanner::decodesEncodings()
{
    QFETCH(QByteArray, gpx);
    QFETCH(QString, name);
    compareAtAllBlockSizes(gpx, {insert(QStringLiteral("1,2,'%1','',1").arg(name))});
}

void TestGpxScanner::reportsProblems_data()
{
    QTest::addColumn<QByteArray>("gpx");
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QStringList>("problemLines");

    const QString good = insert("1,2,'ok','',1");
    QTest::newRow("bad coordinates, CR LF lines")
        << QByteArray("<gpx>\r\n<wpt lon=\"2\"><name>no lat</name></wpt>\r\n"
                      "<wpt lat=\"abc\" lon=\"2\"/>\r\n<wpt lat=\"91\" lon=\"2\"/>\r\n"
                      "<wpt lat=\"1\" lon=\"-180.5\"/>\r\n<wpt lat=\"1e5\" lon=\"2\"/>\r\n"
                      "<wpt lat=\"1\" lon=\"\"/>\r\n<wpt lat=\"1\" lon=\"2\"><name>ok</name>"
                      "</wpt>\r\n</gpx>\r\n")
        << QStringList{good} << QStringList{"2", "3", "4", "5", "6", "7"};
    QTest::newRow("truncated file")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><name>ok</name></wpt>\n\n<wpt lat=\"3\" "
                      "lon=\"4\">\n<name>cut")
        << QStringList{good} << QStringList{"3"};
    QTest::newRow("truncated inside the start tag")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><name>ok</name></wpt>\n<wpt lat=\"3")
        << QStringList{good} << QStringList{};
    QTest::newRow("element or waypoint without end")
        << QByteArray("<wpt lat=\"3\" lon=\"4\">\r<name>never closed\r</wpt>\r"
                      "<wpt lat=\"5\" lon=\"6\">\r<name>x</name>\r"
                      "<wpt lat=\"1\" lon=\"2\"><name>ok</name></wpt>")
        << QStringList{good} << QStringList{"1", "4"};
    QTest::newRow("text that is not UTF-8")
        << QByteArray("<wpt lat=\"5\" lon=\"6\"><name>Caf\xE9</name></wpt>\n"
                      "<wpt lat=\"1\" lon=\"2\"><name>ok</name></wpt>")
        << QStringList{good} << QStringList{"1"};
}

void TestGpxScanner::reportsProblems()
{
    QFETCH(QByteArray, gpx);
    QFETCH(QStringList, statements);
    QFETCH(QStringList, problemLines);
    compareAtAllBlockSizes(gpx, statements, problemLines);
}

QTEST_GUILESS_MAIN(TestGpxScanner)
#include "tst_GpxScanner.moc"
