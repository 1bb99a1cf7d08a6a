// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteSearch.h"
#include "GpxScanner.h"
#include "PoiStatement.h"
#include "gpx/DecodingWindow.h"
#include "gpx/Markup.h"
#include "gpx/StructuralIndex.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

// Every file is read whole and in blocks of a few bytes, so that each construct is also
// cut at every position by a block boundary, each way on the scanning thread and through the
// read-ahead thread, and once through a pipe.
class TestGpxScanner : public QObject
{
    Q_OBJECT

private slots:
    void scans_data();
    void scans();
    void countsLines_data();
    void countsLines();
    void startsThread_data();
    void startsThread();
    void byteSearch_data();
    void byteSearch();
    void skipsMarkupOnlyWhole();
    void checksText_data();
    void checksText();
    void missingFile();
    void reportsProgress();

private:
    struct Outcome
    {
        QStringList statements;
        QStringList problems; // "line: message"
    };
    Outcome scan(const QByteArray& gpx, qsizetype blockSize,
                 BlockReading reading = BlockReading::Auto, bool throughPipe = false);
    void compareAtAllBlockSizes(const QByteArray& gpx, const QStringList& statements,
                                const QStringList& problemLines = {});

    QTemporaryDir m_dir;
};

namespace {

// Sequential, and hands over a few bytes a read, as a pipe does while its writer is slow.
struct Pipe : QIODevice
{
    explicit Pipe(QByteArray gpx, qint64 step = 5) : bytes(std::move(gpx)), step(step)
    {
        open(ReadOnly);
    }
    bool isSequential() const override { return true; }
    qint64 readData(char* data, qint64 max) override
    {
        const qint64 n = std::min({max, step, bytes.size()});
        std::memcpy(data, bytes.constData(), n);
        bytes.remove(0, n);
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }
    QByteArray bytes;
    qint64 step;
};

QString insert(const QString& values)
{
    return QStringLiteral("INSERT INTO poi(lat,lon,label,desc,cat_id) VALUES(%1);").arg(values);
}

} // namespace

TestGpxScanner::Outcome TestGpxScanner::scan(const QByteArray& gpx, qsizetype blockSize,
                                             BlockReading reading, bool throughPipe)
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
    scanner.setBlockReading(reading);
    scanner.setWaypointHandler([&](const Waypoint& w) {
        std::string text;
        builder.build(w, text);
        // Memory follows the statement, not a worst case of it.
        if (text.capacity() > 2 * text.size())
            outcome.problems << QStringLiteral("error: %1 bytes held").arg(text.capacity());
        outcome.statements << QString::fromStdString(text);
        if (!w.type.isEmpty() || !w.sym.isEmpty())
            outcome.statements.last() += QStringLiteral(" [%1|%2]").arg(
                QString::fromUtf8(w.type), QString::fromUtf8(w.sym));
        return true;
    });
    scanner.setCategoryHandler([&](const GpxCategory& c) {
        outcome.statements << QStringLiteral("category %1: %2|%3|%4")
                                  .arg(c.line)
                                  .arg(QString::fromUtf8(c.label), QString::fromUtf8(c.desc))
                                  .arg(c.enabled);
    });
    scanner.setProblemHandler([&](const GpxProblem& p) {
        outcome.problems << QStringLiteral("%1: %2").arg(p.line).arg(p.message);
    });
    Pipe pipe(gpx);
    if (const ::Outcome<> scanned = throughPipe ? scanner.scan(pipe) : scanner.scanFile(path);
        !scanned)
        outcome.problems << QStringLiteral("error: ") + scanned.problem().message;
    return outcome;
}

void TestGpxScanner::compareAtAllBlockSizes(const QByteArray& gpx, const QStringList& statements,
                                            const QStringList& problemLines)
{
    // Whole, in blocks of 1, 3 and 7 bytes, each inline and threaded, and (0) through a pipe.
    for (const qsizetype block :
         {qsizetype(1 << 20), qsizetype(1), qsizetype(3), qsizetype(7), qsizetype(0)}) {
        for (const BlockReading reading : {BlockReading::Inline, BlockReading::Threaded}) {
            if (block == 0 && reading == BlockReading::Threaded)
                continue; // a pipe is read inline
            const Outcome outcome =
                block > 0 ? scan(gpx, block, reading) : scan(gpx, 1 << 20, reading, true);
            QCOMPARE(outcome.statements, statements);
            QStringList lines;
            for (const QString& p : outcome.problems)
                lines << p.section(u':', 0, 0);
            if (lines != problemLines)
                qWarning() << "block" << block << "threaded" << (reading == BlockReading::Threaded)
                           << outcome.problems;
            QCOMPARE(lines, problemLines);
        }
    }
}

void TestGpxScanner::scans_data()
{
    QTest::addColumn<QByteArray>("gpx");
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QStringList>("problemLines"); // lines of the waypoints skipped

    const QString mill = insert("51.5,-0.12,'Old Mill','Water mill',1");
    QTest::newRow("LF, indented") << QByteArray("<gpx>\n  <wpt lat=\"51.5\" lon=\"-0.12\">\n"
                                                "    <name>Old Mill</name>\n    <desc>Water "
                                                "mill</desc>\n  </wpt>\n</gpx>\n")
                                  << QStringList{mill} << QStringList{};
    QTest::newRow("lone CR") << QByteArray("<wpt lat=\"51.5\" lon=\"-0.12\">\r<name>Old Mill</name>"
                                           "\r<desc>Water mill</desc>\r</wpt>\r")
                             << QStringList{mill} << QStringList{};
    QTest::newRow("one line, single quotes, lon first")
        << QByteArray("<wpt lon='-0.12' lat='51.5'><name>Old Mill</name><desc>Water "
                      "mill</desc></wpt>")
        << QStringList{mill} << QStringList{};
    QTest::newRow("attributes on later lines, blanks in values")
        << QByteArray("\t<wpt\n\t\tlat = \" 51.5 \"\n\t\tlon=\"-0.12\"\n\t>\n<name>Old "
                      "Mill</name><desc>Water mill</desc>\t</wpt >")
        << QStringList{mill} << QStringList{};
    QTest::newRow("tags with attributes, first name and desc count")
        << QByteArray("<wpt lat=\"51.5\" lon=\"-0.12\"><name lang=\"en\">Old Mill</name>"
                      "<desc class='x'>Water mill</desc><name>Second</name><desc>Other</desc>"
                      "<link href=\"a\"><text>Site</text></link></wpt>")
        << QStringList{mill} << QStringList{};
    QTest::newRow("missing name and desc, empty and self-closing forms")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"/><wpt lat=\"3\" lon=\"4\"><name/><desc></desc>"
                      "</wpt><wpt lat=\"5\" lon=\"6\"><ele>1</ele></wpt>")
        << QStringList{insert("1,2,'','',1"), insert("3,4,'','',1"), insert("5,6,'','',1")}
        << QStringList{};
    QTest::newRow("entities, references, lone ampersand, quotes")
        << QByteArray(
               "<wpt lat=\"1\" lon=\"2\"><name>O'Brien &amp; &quot;Sons&quot; &lt;1&gt; "
               "&apos;</name><desc>&#233;t&#xE9; "
               "&#x1F600;&#x80;&#x7FF;&#x800;&#x10000;&#xD7FF;&#xE000;&#xFFFD;&#x10FFFF; A & "
               "B &nope; &#xZ; 5% | ^</desc>"
               "</wpt>")
        << QStringList{insert(QString::fromUtf8(
               "1,2,'O''Brien & \"Sons\" <1> ''','\xC3\xA9t"
               "\xC3\xA9 "
               "\xF0\x9F\x98\x80\xC2\x80\xDF\xBF\xE0\xA0\x80\xF0\x90\x80"
               "\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBD\xF4\x8F\xBF\xBF A & B &nope; "
               "&#xZ; "
               "5% | ^',1"))}
        << QStringList{};
    QTest::newRow("references with leading zeros, and out of range")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><name>&#x0000000041;&#0000066;x</name>"
                      "<desc>&#x00000000000000010FFFF;</desc></wpt>\n"
                      "<wpt lat=\"3\" lon=\"4\"><name>&#x110000;</name></wpt>\n"
                      "<wpt lat=\"3\" lon=\"4\"><name>&#x00001000000;</name></wpt>\n"
                      "<wpt lat=\"3\" lon=\"4\"><name>&#99999999999999999999999;</name></wpt>\n"
                      "<wpt lat=\"3\" lon=\"4\"><name>&#0000;</name></wpt>")
        << QStringList{insert(QString::fromUtf8("1,2,'ABx','\xF4\x8F\xBF\xBF',1"))}
        << QStringList{"2", "3", "4", "5"};
    QTest::newRow("line feeds by reference stay on the line")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><name>a&#10;b&#13;&#xA;c</name></wpt>")
        << QStringList{insert("1,2,'a'||char(10)||'b'||char(13)||''||char(10)||'c','',1")}
        << QStringList{};
    QTest::newRow("declarations end at their real end")
        << QByteArray("<!DOCTYPE gpx [<!ENTITY x \"a>b <wpt lat='9' lon='9'/> c\">"
                      "<!-- ]> <wpt lat='6' lon='6'/> --><?p ]> <wpt lat='5' lon='5'/>?>"
                      "<!ENTITY y '<wpt lat=\"8\" lon=\"8\"/>'>]><!DOCTYPE g SYSTEM "
                      "\"a>b <wpt lat='7' lon='7'/>\"><!DOCTYPE h <!-- x><wpt lat='3' lon='4'/>"
                      "--><gpx><wpt lat=\"1\" lon=\"2\"/></gpx>")
        << QStringList{insert("3,4,'','',1"), insert("1,2,'','',1")} << QStringList{};
    // Names one letter away from lat and lon are other attributes, in the common form too.
    QTest::newRow("attribute names near lat and lon")
        << QByteArray("<gpx>\n<wpt xat=\"1.5\" xon=\"2.5\"><name>Old Mill</name></wpt>\n"
                      "<wpt latx\"1.5\" lonx\"2.5\"><name>Old Mill</name></wpt>\n"
                      "<wpt lxt=\"1.5\" lon=\"2.5\"><name>Old Mill</name></wpt>\n"
                      "<wpt lax=\"1.5\" lon=\"2.5\"><name>Old Mill</name></wpt>\n"
                      "<wpt lat=\"1.5\" lxn=\"2.5\"><name>Old Mill</name></wpt>\n"
                      "<wpt lat=\"1.5\" lox=\"2.5\"><name>Old Mill</name></wpt>\n</gpx>\n")
        << QStringList{} << QStringList{"2", "3", "4", "5", "6", "7"};
    QTest::newRow("CDATA and comments")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><!-- a > b --><?pi x?>"
                      "<name><![CDATA[a <b> &amp; c]]></name>"
                      "<desc>x<!-- hidden --> y<![CDATA[ </desc> ]]>z</desc></wpt>")
        << QStringList{insert("1,2,'a <b> &amp; c','x y </desc> z',1")} << QStringList{};
    QTest::newRow("value over several lines")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><name>  two  blanks  </name><desc>Pitches for "
                      "tents,  \r\n\t  caravans\n\nand vans</desc></wpt>")
        << QStringList{insert("1,2,'  two  blanks  ','Pitches for tents, caravans  and vans',1")}
        << QStringList{};
    QTest::newRow("text outside waypoints, other points, upper case")
        << QByteArray("<?xml version=\"1.0\"?><!-- <wpt lat=\"9\" lon=\"9\"></wpt> -->\n"
                      "<gpx><metadata><name>Trip</name><desc>All</desc></metadata>"
                      "<rte><rtept lat=\"7\" lon=\"7\"><name>R</name></rtept></rte>"
                      "<WPT lat=\"8\" lon=\"8\"></WPT><wptx lat=\"6\" lon=\"6\"></wptx>"
                      "<wpt lat=\"1\" lon=\"2\"><NAME>no</NAME><name>yes</name>"
                      "<extensions><x><name>deep</name></x></extensions></wpt></gpx>")
        << QStringList{insert("1,2,'yes','',1")} << QStringList{};
    QTest::newRow("markup that only looks like a name")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><a>x<na><name>deep</name></na></a>"
                      "<ab>1<xab><name>deep</name></xab></ab>"
                      "<link href='<name>no</name>'/><b>1</b >t<name>top</name></wpt>")
        << QStringList{insert("1,2,'top','',1")} << QStringList{};
    QTest::newRow("the usual start tag and others like it")
        << QByteArray("<wpt lat=\"1\" lat=\"3\" lon=\"2\"><name>a</name></wpt>\n"
                      "<wpt lat=\" 4.5\t\" lon=\"-6\"><name>b</name></wpt>\n"
                      "<wpt lon=\"7\" lat=\"8\" ><name>c</name><desc>d&amp;e</desc></wpt>\n"
                      "<wpt lat='9' lon=\"9\"><ele>1</ele><sym>s</sym><name>f</name></wpt>\n"
                      "<wpt lat=\"1.00000000000000000000000000000000000001\" lon=\"2\"/>")
        << QStringList{insert("1,2,'a','',1"), insert("4.5,-6,'b','',1"), insert("8,7,'c','d&e',1"),
                       insert("9,9,'f','',1") + " [|s]",
                       insert("1.00000000000000000000000000000000000001,2,'','',1")}
        << QStringList{};
    // Each in the usual start tag (checked from masks of it) and self-closing (checked alone).
    QByteArray limits;
    QStringList valid;
    QStringList refused;
    int pair = 0; // the first five are valid
    for (const auto& [lat, lon] : std::initializer_list<std::pair<const char*, const char*>>{
             {"89.9999999999999", "0000000000000180"},
             {"090.00000000000000", "-179.99999999999"},
             {"-000.5", "+0"},
             {"00000000000000000000001", "0"},
             {"-89.99999999999999", "+179.999999999999999"},
             {"90.0000000000001", "0"},
             {"0", "-180.000000000001"},
             {"1234", "0"},
             {"0", "0001000.00000000000"},
             {"0", "180.5"},
             {"1.2.3", "0"},
             {"+", "0"},
             {"9 0", "0"},
             {"", "0"}}) {
        const bool isValid = pair++ < 5;
        for (const char* form :
             {"<wpt lat=\"%1\" lon=\"%2\"></wpt>\n", "<wpt lat=\"%1\" lon=\"%2\"/>\n"}) {
            limits += QString::fromLatin1(form).arg(lat, lon).toLatin1();
            if (isValid)
                valid << insert(QStringLiteral("%1,%2,'','',1").arg(lat, lon));
            else
                refused << QString::number(limits.count('\n'));
        }
    }
    QTest::newRow("coordinates near the limits, short and long") << limits << valid << refused;
    QTest::newRow("numbers as written")
        << QByteArray("<wpt lat=\"+2.25\" lon=\"-.5\"/>"
                      "<wpt lat=\"-90\" lon=\"180.000\"/>"
                      "<wpt lat=\"7.\" lon=\"0\"/>")
        << QStringList{insert("+2.25,-.5,'','',1"), insert("-90,180.000,'','',1"),
                       insert("7.,0,'','',1")}
        << QStringList{};
    const auto named = [](const char* utf8) {
        return QStringList{insert(QStringLiteral("1,2,'%1','',1").arg(QString::fromUtf8(utf8)))};
    };
    QTest::newRow("UTF-8 with byte-order mark")
        << QByteArray("\xEF\xBB\xBF<wpt lat=\"1\" lon=\"2\"><name>Caf\xC3\xA9</name></wpt>")
        << named("Caf\xC3\xA9") << QStringList{};
    QTest::newRow("ISO-8859-1, blanks in the declaration")
        << QByteArray("<?xml version=\"1.0\" encoding\r\n=\t\"ISO-8859-1\"?>\n<wpt lat=\"1\" "
                      "lon=\"2\"><name>Caf\xE9 M\xFCller</name></wpt>")
        << named("Caf\xC3\xA9 M\xC3\xBCller") << QStringList{};
    QTest::newRow("KOI8-R, through the platform's decoder")
        << QByteArray("<?xml version='1.0' encoding='KOI8-R'?><wpt lat='1' lon='2'><name>"
                      "\xF0\xD2\xC9</name></wpt>")
        << named("\xD0\x9F\xD1\x80\xD0\xB8") << QStringList{};
    QTest::newRow("windows-1252")
        << QByteArray("<?xml version='1.0' encoding='windows-1252'?><wpt lat=\"1\" lon=\"2\">"
                      "<name>5 \x80 \x93ok\x94\xA0</name></wpt>")
        << named("5 \xE2\x82\xAC \xE2\x80\x9Cok\xE2\x80\x9D\xC2\xA0") << QStringList{};
    const auto utf16 = [](const QString& text) {
        return "\xFF\xFE" +
               QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    };
    QTest::newRow("UTF-16 with byte-order mark")
        << utf16(QString::fromUtf8(
               "<wpt lat=\"1\" lon=\"2\"><name>\xC3\xA9\xF0\x9F\x98\x80</name></wpt>"))
        << named("\xC3\xA9\xF0\x9F\x98\x80") << QStringList{};
    // A block's end falls between the two halves of each letter at one block size or another.
    QString astral;
    QStringList astralNames;
    for (const char* before : {"", "a", "ab", "abc"}) {
        astral += QStringLiteral("<wpt lat=\"1\" lon=\"2\"><name>%1\U0001F600</name></wpt>")
                      .arg(QLatin1String(before));
        astralNames << named(QByteArray(before).append("\xF0\x9F\x98\x80").constData());
    }
    QTest::newRow("UTF-16, letters beyond U+FFFF") << utf16(astral) << astralNames << QStringList{};
    // Big-endian, known by its declaration's first bytes alone.
    QByteArray bigEndian;
    for (const QChar c : QStringLiteral("<?xml version=\"1.0\"?>") + astral)
        bigEndian.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    QTest::newRow("UTF-16 big-endian without byte-order mark")
        << bigEndian << astralNames << QStringList{};
    // Cut right after a new "<wpt": the blanks once in the window, past its end now, count
    // for nothing.
    QTest::newRow("UTF-16 cut after a new <wpt")
        << utf16("<gpx>" + QString(30, u' ') + "<wpt lat=\"1\" lon=\"2\"><name>a</name><wpt")
        << QStringList{} << QStringList{"1"};
    QTest::newRow("declaration naming no encoding")
        << QByteArray("<?xml version=\"1.0\" encoding= ?><wpt lat=\"1\" lon=\"2\"/>")
        << QStringList{insert("1,2,'','',1")} << QStringList{};
    QTest::newRow("no waypoints") << QByteArray("<gpx></gpx>") << QStringList{} << QStringList{};
    QTest::newRow("empty file") << QByteArray() << QStringList{} << QStringList{};

    const QString good = insert("1,2,'ok','',1");
    QTest::newRow("bad coordinates, CR LF lines")
        << QByteArray("<gpx>\r\n<wpt lon=\"2\"><name>no lat</name></wpt>\r\n"
                      "<wpt lat=\"abc\" lon=\"2\"/>\r\n<wpt lat=\"91\" lon=\"2\"/>\r\n"
                      "<wpt lat=\"1\" lon=\"-180.5\"/>\r\n<wpt lat=\"1e5\" lon=\"2\"/>\r\n"
                      "<wpt lat=\"1\" lon=\"\"/>\r\n<wpt lat=\"1\" lon=\"2\"><name>ok</name>"
                      "</wpt>\r\n</gpx>\r\n")
        << QStringList{good} << QStringList{"2", "3", "4", "5", "6", "7"};
    QTest::newRow("CR and LF in two reads")
        << QByteArray("abcd\r\n<wpt lat=\"1\" lon=\"2\"><name>ok</name></wpt>\r\n<wpt/>")
        << QStringList{good} << QStringList{"3"};
    QTest::newRow("truncated file")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><name>ok</name></wpt>\n\n<wpt lat=\"3\" "
                      "lon=\"4\">\n<name>cut")
        << QStringList{good} << QStringList{"3"};
    QTest::newRow("truncated inside the start tag")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><name>ok</name></wpt>\n<wpt lat=\"3")
        << QStringList{good} << QStringList{"2"};
    QTest::newRow("truncated after <wpt")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><name>ok</name></wpt>\r\n\r\n<wpt")
        << QStringList{good} << QStringList{"3"};
    QTest::newRow("characters XML forbids, raw or by reference")
        << QByteArrayLiteral("<wpt lat=\"1\" lon=\"2\"><name>a\0b</name></wpt>\n"
                             "<wpt lat=\"3\" lon=\"4\"><desc>\x1F</desc></wpt>\n"
                             "<wpt lat=\"3\" lon=\"4\"><desc><![CDATA[\x1E\x08]]></desc></wpt>\n"
                             "<wpt lat=\"3\" lon=\"4\"><name>&#0;</name></wpt>\n"
                             "<wpt lat=\"3\" lon=\"4\"><name>&#x1f;</name></wpt>\n"
                             "<wpt lat=\"3\" lon=\"4\"><name>&#xFFFE;</name></wpt>\n"
                             "<wpt lat=\"3\" lon=\"4\"><name>&#xD800;</name></wpt>\n"
                             "<wpt lat=\"3\" lon=\"4\"><name>\xEF\xBF\xBF</name></wpt>\n"
                             "<wpt lat=\"3\" lon=\"4\"><name>&#1114112;</name></wpt>\n"
                             "<wpt lat=\"3\" lon=\"4\"><desc>two lines\r\n\x01</desc></wpt>\n"
                             "<wpt lat=\"1\" lon=\"2\"><name>ok</name></wpt>")
        << QStringList{good} << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    QTest::newRow("overlong UTF-8 sequences")
        << QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<wpt lat=\"5\" "
                             "lon=\"6\"><name>\xE0\x80\xAF</name></wpt>\n<wpt lat=\"5\" lon=\"6\">"
                             "<name>\xF0\x80\x80\xAF</name></wpt>\n<wpt lat=\"1\" lon=\"2\">"
                             "<name>ok</name></wpt>")
        << QStringList{good} << QStringList{"2", "3"};
    QTest::newRow("surrogates written in UTF-8, and the letters around them")
        << QByteArrayLiteral("<wpt lat=\"5\" lon=\"6\"><name>\xED\xA0\x80</name></wpt>\n"
                             "<wpt lat=\"5\" lon=\"6\"><name>\xED\xBF\xBF</name></wpt>\n"
                             "<wpt lat=\"1\" lon=\"2\"><name>\xED\x9F\xBF\xEE\x80\x80</name></wpt>")
        << QStringList{insert(QString::fromUtf8("1,2,'\xED\x9F\xBF\xEE\x80\x80','',1"))}
        << QStringList{"1", "2"};
    QTest::newRow("UTF-8 by another name, not UTF-8")
        << QByteArrayLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\0\"?>\n<wpt lat=\"5\" lon=\"6\">"
               "<name>\xED\xCF\xD3</name></wpt>\n<wpt lat=\"1\" lon=\"2\"><name>ok"
               "</name></wpt>")
        << QStringList{good} << QStringList{"2"};
    QTest::newRow("NUL in ISO-8859-1")
        << QByteArrayLiteral(
               "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<wpt lat=\"5\" lon=\"6\">"
               "<name>Caf\xE9\0</name></wpt>\n<wpt lat=\"1\" lon=\"2\"><name>ok</name></wpt>")
        << QStringList{good} << QStringList{"2"};
    QTest::newRow("NUL, lone surrogate and U+FFFE in UTF-16")
        << utf16(QStringLiteral("<wpt lat=\"5\" lon=\"6\"><name>a%1</name></wpt>\n<wpt lat=\"5\" "
                                "lon=\"6\"><name>%2</name></wpt>\n<wpt lat=\"5\" lon=\"6\">"
                                "<name>%3</name></wpt>\n<wpt lat=\"5\" lon=\"6\"><name>b%4</name>"
                                "</wpt>\n<wpt lat=\"1\" lon=\"2\"><name>ok</name></wpt>")
                     .arg(QChar(0), QChar(0xD800), QChar(0xFFFE), QChar(0xDC00)))
        << QStringList{good} << QStringList{"1", "2", "3", "4"};
    QTest::newRow("element or waypoint without end")
        << QByteArray(
               "<wpt lat=\"3\" lon=\"4\">\r<name>never closed\r</wpt>\r"
               "<wpt lat=\"5\" lon=\"6\">\r<name>x</name>\r<wpt lat=\"7\" lon=\"8\"><name>cut\r"
               "<wpt lat=\"1\" lon=\"2\"><name>ok</name></wpt>")
        << QStringList{good} << QStringList{"1", "4", "6"};
    QTest::newRow("types and symbols")
        << QByteArray("<wpt lat=\"1\" lon=\"2\"><name>a</name><type>Hut</type><sym>Flag, Blue</sym>"
                      "<type>second</type></wpt>\n"
                      "<wpt lat=\"1\" lon=\"2\">\n <sym><![CDATA[<S>]]></sym>\n <type> A &amp;\n B "
                      "</type>\n <time>t</time>\n</wpt>\n"
                      "<wpt lat=\"1\" lon=\"2\"><extensions><type>deep</type></extensions><type/>"
                      "<sym></sym><symbol>no</symbol><types>no</types></wpt>\n"
                      "<wpt lat=\"1\" lon=\"2\"><type>bad\x01</type></wpt>")
        << QStringList{insert("1,2,'a','',1") + " [Hut|Flag, Blue]",
                       insert("1,2,'','',1") + " [ A & B |<S>]", insert("1,2,'','',1")}
        << QStringList{"9"};
    QTest::newRow("category records of our own export")
        << QByteArray("<gpx xmlns:geofill=\"https://geofill.invalid/gpx/1\">\n"
                      "<wpt lat=\"1\" lon=\"2\"><extensions><geofill:category><geofill:label>in"
                      "</geofill:label></geofill:category></extensions></wpt>\n"
                      "<extensions>\n<geofill:category>\n <geofill:label>Hut &lt;1&gt;</geofill:label>\n"
                      " <geofill:desc>a&#10;b</geofill:desc>\n <geofill:enabled>0</geofill:enabled>\n"
                      "</geofill:category>\n<geofill:category><geofill:enabled>1</geofill:enabled>"
                      "<geofill:label>Spring</geofill:label></geofill:category>\n"
                      "<geofill:category ><geofill:label>x\x02</geofill:label></geofill:category >\n"
                      "<geofill:categoryx><geofill:label>no</geofill:label></geofill:categoryx>\n"
                      "<geofill:category/></extensions></gpx>")
        << QStringList{insert("1,2,'','',1"), "category 4: Hut <1>|a\nb|0",
                       "category 9: Spring||1", "category 12: ||1"}
        << QStringList{"10"};
    QTest::newRow("text that is not UTF-8")
        << QByteArray("<wpt lat=\"5\" lon=\"6\"><name>Caf\xE9</name></wpt>\n"
                      "<wpt lat=\"1\" lon=\"2\"><name>ok</name></wpt>")
        << QStringList{good} << QStringList{"1"};
}

void TestGpxScanner::scans()
{
    QFETCH(QByteArray, gpx);
    QFETCH(QStringList, statements);
    QFETCH(QStringList, problemLines);
    compareAtAllBlockSizes(gpx, statements, problemLines);
}

// The window alone, from a pipe and from a file read ahead inline and threaded, a few bytes at
// a time; the fills consume all but the last byte, nothing, or everything, by turns from each
// start, so each line break falls on every kind of boundary, in front of a block and in a
// window made anew.
// Every place of every window must have its line.
void TestGpxScanner::countsLines_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::newRow("LF, first of all") << QByteArray("\na\nb\n\nc") << 5;
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n\r\nc") << 4;
    QTest::newRow("lone CR, mixed") << QByteArray("a\r\rb\n\r\r\nc\r") << 6;
    QTest::newRow("long lines") << QByteArray(40, 'x') + "\r\n" + QByteArray(40, '\n') + "c" << 42;
}

void TestGpxScanner::countsLines()
{
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QList<int> lines{1}; // of each byte
    for (qsizetype at = 1; at < text.size(); ++at) {
        const bool breaks =
            text[at - 1] == '\r' || (text[at - 1] == '\n' && (at < 2 || text[at - 2] != '\r'));
        lines.append(lines.last() + (breaks ? 1 : 0));
    }
    QCOMPARE(lines.last(), line);
    const QString path = m_dir.filePath(QStringLiteral("lines.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    file.close();
    for (const qint64 step : {1, 2, 3, 7, 100}) {
        // Each window opened again and again: nothing of a device stays for the next.
        DecodingWindow inlineWindow(step, BlockReading::Inline);
        DecodingWindow threadedWindow(step, BlockReading::Threaded);
        for (const int turn : {0, 1, 2, 3, 4, 5, 6, 7, 8}) {
            const bool ahead = turn >= 3;
            Pipe pipe(text, step);
            QVERIFY(file.open(QIODevice::ReadOnly));
            DecodingWindow& window = turn >= 6 ? threadedWindow : inlineWindow;
            QVERIFY(window.open(ahead ? static_cast<QIODevice&>(file) : pipe));
            qsizetype offset = 0; // of the window's consumed() in the text
            for (int round = turn;; ++round) {
                const bool more = window.fill() == DecodingWindow::Fill::Data;
                const qsizetype from = window.consumed();
                for (qsizetype at = from; at < window.size(); ++at)
                    QCOMPARE(window.lineAt(at), lines[offset + at - from]);
                if (!more)
                    break;
                const qsizetype to = round % 3 == 0   ? std::max(from, window.size() - 1)
                                     : round % 3 == 1 ? from
                                                      : window.size();
                window.consumeTo(to);
                offset += to - from;
            }
            file.close();
        }
    }
}

// The second thread only for a file it pays for: more than two blocks of UTF-8 read from a file.
void TestGpxScanner::startsThread_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<BlockReading>("reading");
    QTest::addColumn<bool>("throughPipe");
    QTest::addColumn<bool>("onThread");
    const QByteArray twoBlocks(20, 'x'); // of 10 bytes
    QTest::newRow("two blocks") << twoBlocks << BlockReading::Auto << false << false;
    QTest::newRow("a byte more") << twoBlocks + 'x' << BlockReading::Auto << false << true;
    QTest::newRow("long, inline as told")
        << twoBlocks.repeated(9) << BlockReading::Inline << false << false;
    QTest::newRow("short, threaded as told")
        << QByteArray("x") << BlockReading::Threaded << false << true;
    QTest::newRow("long, through a pipe")
        << twoBlocks.repeated(9) << BlockReading::Threaded << true << false;
    QTest::newRow("long, decoded") << "<?xml version='1.0' encoding='ISO-8859-1'?>" + twoBlocks
                                   << BlockReading::Threaded << false << false;
}

void TestGpxScanner::startsThread()
{
    QFETCH(QByteArray, text);
    QFETCH(BlockReading, reading);
    QFETCH(bool, throughPipe);
    QFETCH(bool, onThread);
    QBuffer file(&text);
    QVERIFY(file.open(QIODevice::ReadOnly));
    Pipe pipe(text);
    DecodingWindow window(10, reading);
    QVERIFY(window.open(throughPipe ? static_cast<QIODevice&>(pipe) : file));
    qsizetype read = 0;
    for (bool more = true; more;) {
        more = window.fill() == DecodingWindow::Fill::Data;
        read += window.size() - window.consumed();
        window.consumeTo(window.size());
    }
    QCOMPARE(read, text.size());
    QCOMPARE(window.readsOnThread(), onThread);
}

// The vector searches (where built) and their portable twins against plain ones, from every
// alignment.
void TestGpxScanner::byteSearch_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("none") << QByteArray(40, 'x');
    QTest::newRow("plain up to a control") << QByteArray(36, '~') + " \x1f" + QByteArray(9, ' ');
    QTest::newRow("mixed") << QByteArray("ab\r\ncd&e\n\n\rfghijklmnopq&rstuvwxyz\r\n0123456789\n");
    QTest::newRow("high bytes") << QByteArray(40, '\x8a') + '\n' + QByteArray(20, '\xff') + '&';
    QTest::newRow("0x80 last") << QByteArray(30, 'a') + '\x80';
    QTest::newRow("long runs") << QByteArray(5000, '\n') + QByteArray(4100, '\r') +
                                      QByteArray(600, '\n').replace("\n\n", "\r\n") + '&';
    // '<' on both sides of the 64-byte words of the index, and as the very last byte.
    QByteArray tags(140, 'x');
    for (const int at : {0, 1, 62, 63, 64, 65, 100, 127, 128, 139})
        tags[at] = '<';
    tags[66] = '\n';
    tags[90] = '&';
    QTest::newRow("tags at word ends") << tags;
    QTest::newRow("CR LF across words")
        << QByteArray(63, 'x') + "\r\n" + QByteArray(62, 'x') + "\r\n" + 'x';
    // Letters of two and three bytes on every side of the vectors, then one that needs a check.
    const QByteArray letters =
        QByteArrayLiteral("M\xc3\xbcllerstra\xc3\x9f"
                          "e \xe2\x82\xac\xc2\xbd \xe6\x9d\xb1\xe4\xba\xac \xc5\x81\xc3\xb3"
                          "d\xc5\xba \xef\xbf\xbd \xc2\x80\xdf\xbf!");
    const QByteArray tail = letters + QByteArray(16, 'x');
    QTest::newRow("letters") << letters + letters + tail;
    const std::pair<const char*, const char*> refused[] = {
        {"U+FFFE", "\xef\xbf\xbe"}, {"U+FFFF", "\xef\xbf\xbf"}, {"surrogate", "\xed\xa0\x80"},
        {"long 3", "\xe0\x9f\xbf"}, {"long 2", "\xc1\xbf"},     {"4 bytes", "\xf0\x9f\x98\x80"},
        {"continuation", "\x80"},   {"cut short", "\xe2\x82x"}, {"lead alone", "\xdf"}};
    for (const auto& [name, bytes] : refused)
        QTest::newRow(name) << letters + letters + bytes + tail;
    QTest::newRow("letter cut by the end") << letters + letters + "\xc3\xa9" + QByteArray(15, 'x');
}

// A control, '&', or a byte from 0x80 that does not begin a whole letter of two or three
// bytes, other than U+FFFE and U+FFFF.
static const char* firstTextSpecial(const char* p, const char* end)
{
    for (; p < end; ++p) {
        const uchar b = uchar(*p);
        if (b < 0x80 && (b < 0x20 || b == '&'))
            return p;
        if (b < 0x80)
            continue;
        const qsizetype length = b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : 0;
        const QByteArray letter(p, std::min(length, qsizetype(end - p)));
        const QString decoded = QString::fromUtf8(letter);
        if (length == 0 || letter.size() < length || decoded.size() != 1 ||
            decoded.toUtf8() != letter || decoded[0].unicode() >= 0xFFFE)
            return p;
        p += length - 1;
    }
    return end;
}

void TestGpxScanner::byteSearch()
{
    QFETCH(QByteArray, bytes);
    const char* end = bytes.constData() + bytes.size();
    for (const char* p = bytes.constData(); p < bytes.constData() + 18; ++p) {
        const auto special = [](char c) { return c == '\n' || c == '&'; };
        const auto notPlain = [](char c) { return uchar(c) < 0x20 || uchar(c) >= 0x80; };
        const char* hit = findAny<'\n', '&'>(p, end);
        QCOMPARE(hit, std::find_if(p, end, special));
        QCOMPARE((portable::findAny<'\n', '&'>(p, end)), hit);
        const char* firstNotPlain = std::find_if(p, end, notPlain);
        QCOMPARE(skipPlainAscii(p, end), firstNotPlain);
        QCOMPARE(portable::skipPlainAscii(p, end), firstNotPlain);
        // The padded forms may read 16 bytes further.
        if (end - p > 16) {
            const char* textSpecial = firstTextSpecial(p, end - 16);
            QCOMPARE(findTextSpecialPadded(p, end - 16), textSpecial);
            QCOMPARE(portable::findTextSpecialPadded(p, end - 16), textSpecial);
            QCOMPARE((findAnyPadded<'\n', '&'>(p, end - 16)), std::find_if(p, end - 16, special));
        }
    }
    // The index: the next '<' from every place, one at a time and by its cursor, and the line
    // breaks before it: every CR, and every LF not right after one (nor, at the start, after a
    // CR before the text).
    for (const bool afterCR : {false, true}) {
        StructuralIndex index;
        index.build(bytes.constData(), bytes.size(), afterCR);
        qint64 breaks = 0;
        for (qsizetype from = 0; from <= bytes.size(); ++from) {
            QCOMPARE(index.breaksBefore(from), breaks);
            if (from < bytes.size())
                breaks += bytes[from] == '\r' ||
                          (bytes[from] == '\n' && (from > 0 ? bytes[from - 1] != '\r' : !afterCR));
            const qsizetype next = bytes.indexOf('<', from);
            QCOMPARE(index.nextOpen(from), next < 0 ? bytes.size() : next);
            StructuralIndex::Cursor cursor = index.cursor(from);
            for (qsizetype at = next; at >= 0; at = bytes.indexOf('<', at + 1))
                QCOMPARE(cursor.next(), at);
            QCOMPARE(cursor.next(), bytes.size());
        }
    }
    for (qsizetype at = 0; at + 64 <= bytes.size(); at += 13) {
        const char* p = bytes.constData() + at;
        QCOMPARE(matchMask64<'<'>(p), portable::matchMask64<'<'>(p));
        QCOMPARE((matchMask16<'\n', '&'>(p)), (portable::matchMask16<'\n', '&'>(p)));
    }
}

// A comment, CDATA section, processing instruction or declaration cut by the window's end is
// never taken as ended by whatever byte lies past it.
void TestGpxScanner::skipsMarkupOnlyWhole()
{
    for (const QByteArray& markup :
         {QByteArray("<!-- a -->"), QByteArray("<![CDATA[x]]>"), QByteArray("<?p x?>"),
          QByteArray("<!DOCTYPE g [<!ENTITY x 'a>b'><!-- ]> --><?p ]>?>]>")}) {
        for (qsizetype cut = 1; cut <= markup.size(); ++cut) {
            const markup::Text text{markup.constData(), cut, false, nullptr};
            QCOMPARE(text.skipMarkup(0), cut == markup.size() ? cut : markup::kOpen);
        }
    }
}

// A file that cannot be opened says so, and nothing of the scan before.
void TestGpxScanner::missingFile()
{
    GpxScanner scanner;
    QVERIFY(scan("<wpt lat=\"1\" lon=\"2\"/>", 1 << 20).statements.size() == 1);
    const QString path = m_dir.filePath(QStringLiteral("in.gpx"));
    QVERIFY(scanner.scanFile(path));
    QCOMPARE(scanner.waypointCount(), 1);
    const ::Outcome<> missing = scanner.scanFile(m_dir.filePath(QStringLiteral("none.gpx")));
    QVERIFY(missing.problemText().startsWith(QStringLiteral("Cannot open the GPX file")));
    QCOMPARE(scanner.waypointCount(), 0);
}

// Progress grows with every block and ends at the file's size, its byte-order mark included,
// read ahead (inline or threaded) or not.
void TestGpxScanner::reportsProgress()
{
    const QByteArray gpx = "<gpx><wpt lat=\"1\" lon=\"2\"><name>Mill</name></wpt></gpx>";
    const QString wide = QString::fromLatin1(gpx);
    const QByteArray utf16(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2);
    const std::pair<QByteArray, BlockReading> files[] = {
        {gpx, BlockReading::Inline},
        {gpx, BlockReading::Threaded},
        {"\xEF\xBB\xBF" + gpx, BlockReading::Inline},
        {"\xEF\xBB\xBF" + gpx, BlockReading::Threaded},
        {"\xFF\xFE" + utf16, BlockReading::Auto}};
    for (const auto& file : files) {
        const QByteArray& text = file.first;
        const BlockReading reading = file.second;
        QCOMPARE(scan(text, 1 << 20).statements.size(), 1);
        GpxScanner scanner;
        scanner.setBlockSize(7);
        scanner.setBlockReading(reading);
        QList<qint64> done;
        scanner.setProgressHandler([&](qint64 read, qint64 total) {
            done.append(read);
            return total == text.size();
        });
        QVERIFY(scanner.scanFile(m_dir.filePath(QStringLiteral("in.gpx"))));
        QVERIFY(std::is_sorted(done.cbegin(), done.cend()) && done.size() > 2);
        QCOMPARE(done.last(), text.size());
    }
}

// Text checked in blocks: each case behind 0 to 16 ASCII letters, so that every character
// falls on every place of a block, and on its end.
void TestGpxScanner::checksText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("fault");
    const QByteArray letters =
        QByteArray("\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0").repeated(3);
    QTest::newRow("two-byte letters, blanks") << letters + "\t\r\n \x7F" + letters << 0;
    QTest::newRow("three- and four-byte letters")
        << letters + "\xE2\x80\x9E\xF0\x9F\x98\x80" + letters << 0;
    QTest::newRow("continuation without lead") << letters + "\x80" + letters << 1;
    QTest::newRow("lead without continuation") << letters + "\xC3" + "abc" + letters << 1;
    QTest::newRow("lead at the very end") << letters + "\xC3" << 1;
    QTest::newRow("overlong two-byte forms") << letters + "\xC1\xBF" + letters << 1;
    QTest::newRow("lead of no letter") << letters + "\xFC\x80\x80\x80" + letters << 1;
    QTest::newRow("control among letters") << letters + "\x01" + letters << 2;
    QTest::newRow("U+FFFE among letters") << letters + "\xEF\xBF\xBE" + letters << 2;
    QTest::newRow("not UTF-8 wins over a control") << "\x01" + letters + "\xE0\x80\xAF" << 1;
}

void TestGpxScanner::checksText()
{
    QFETCH(QByteArray, text);
    QFETCH(int, fault);
    // A continuation byte follows, outside the text: a letter cut by its end stays cut.
    for (int shift = 0; shift <= 16; ++shift) {
        const QByteArray bytes = QByteArray(shift, 'a') + text + '\x80';
        QCOMPARE(int(checkUtf8Text(QByteArrayView(bytes).chopped(1))), fault);
    }
}

QTEST_GUILESS_MAIN(TestGpxScanner)
#include "tst_GpxScanner.moc"
