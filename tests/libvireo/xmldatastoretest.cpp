#include "xmldatastore.h"

#include "storetree.h"
#include "testutils.h"

#include <QXmlStreamReader>

#include <csignal>
#include <cstring>

#include <sys/resource.h>
#include <unistd.h>

using namespace kit;

namespace {

const DataFormat testFormat(QStringLiteral("mensor"), 1);
const QByteArray minimalBody = "<locale>en_US</locale><single><origin><x>0</x><y>0</y></origin><points/></single><records/>";

// Two optional values, read in the order a, b.
struct Pair : kit::Storable
{
    int a = -1;
    int b = -1;
    void load(kit::DataReader &reader) override
    {
        reader.readInt(QStringLiteral("a"), a);
        reader.readInt(QStringLiteral("b"), b);
    }
};

class BufferReader final : public XmlDataReader
{
public:
    explicit BufferReader(const QByteArray &xml, const DataFormat &format = testFormat)
        : XmlDataReader(format)
    {
        setReader(new QXmlStreamReader(xml));
    }
};

// Writes through the toolkit's stream writer, the reference for the bytes of
// the file writer's own formatter.
class StreamWriter final : public XmlDataWriter
{
public:
    explicit StreamWriter(QByteArray *bytes)
        : XmlDataWriter(testFormat)
    {
        setWriter(new QXmlStreamWriter(bytes));
    }
    ~StreamWriter() override { finish(); }
};

QByteArray document(const QByteArray &body, const QByteArray &root = "<mensor version=\"1\">")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + root + "\n" + body + "\n</mensor>\n";
}

QByteArray readFile(const QString &fileName)
{
    QFile file(fileName);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeFile(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

Root sampleTree()
{
    Root root;
    root.locale = QLocale(QLocale::German, QLocale::Germany);
    root.flag = true;
    root.bytes = QByteArray("\x00\x7f\xff", 3);
    root.date = QDate(2014, 3, 31);
    root.dateTime = QDateTime(QDate(2014, 3, 31), QTime(17, 5));
    root.dir = QDir(QStringLiteral("/data/R&D <2024>"));
    root.unit = Unit::Millimetre;
    root.text = QStringLiteral("Gr\u00fc\u00dfe & <tags> \"quoted\"");
    root.single.nextId = 7;
    root.single.origin = QPoint(-3, 4);
    Record a;
    a.nextId = 6;
    a.origin = QPoint(320, 240);
    a.length = 5;
    for (int id : {1, 2, 5}) {
        Leaf leaf;
        leaf.id = id;
        leaf.pos = QPointF(id * 10.5, -id);
        leaf.file = QStringLiteral("img%1.jpg").arg(id);
        a.points.append(leaf);
    }
    root.records.insert(QStringLiteral("/photos/b.jpg"), a);
    root.records.insert(QStringLiteral("/photos/a.jpg"), Record());
    return root;
}

} // namespace

class XmlDataStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void writesTheDocumentForm();
    void fileWriterWritesTheStreamWritersBytes_data();
    void fileWriterWritesTheStreamWritersBytes();
    void everyNameComesBackAsSaved_data();
    void everyNameComesBackAsSaved();
    void roundTripOfNestedTree();
    void emptyValuesAreOmittedAndKeepThePreviousValue();
    void readErrors_data();
    void readErrors();
    void missingFileReadsAsEmptyWithDefaults();
    void rootVersion_data();
    void rootVersion();
    void outOfOrderValuesReadAsAbsent();
    void contentAfterRootObjectIsIgnored();
    void firstErrorStopsAllFurtherReading();
    void readPointFPartialGroups_data();
    void readPointFPartialGroups();
    void readListWithoutGroupClearsList();
    void emptyStorableConsumesItsElement();
    void survivesHostileInput_data();
    void survivesHostileInput();
    void setErrorLogsTheMessage();
    void savingCreatesMissingFolders();
    void failedSaveKeepsOldFile();
    void readOnlyFolderKeepsOldFile();
    void fullDiskKeepsOldFile_data();
    void fullDiskKeepsOldFile();

private:
    QTemporaryDir m_dir;
};

void XmlDataStoreTest::init()
{
    QLocale::setDefault(QLocale::c());
    QVERIFY(m_dir.isValid());
}

void XmlDataStoreTest::writesTheDocumentForm()
{
    Record record;
    record.nextId = 3;
    record.origin = QPoint(102, 840);
    record.length = 100;
    Leaf leaf;
    leaf.id = 1;
    leaf.pos = QPointF(0.5, 1234.5678);
    record.points.append(leaf);

    const QString fileName = m_dir.filePath(QStringLiteral("form.xml"));
    {
        XmlFileWriter writer(fileName, DataFormat(QStringLiteral("mensor"), 1));
        writer.writeObject(QStringLiteral("record"), record);
        QVERIFY(writer.commit());
    }
    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mensor version=\"1\">\n"
        "  <record>\n"
        "    <nextid>3</nextid>\n"
        "    <origin>\n"
        "      <x>102</x>\n"
        "      <y>840</y>\n"
        "    </origin>\n"
        "    <length>100</length>\n"
        "    <points>\n"
        "      <point>\n"
        "        <id>1</id>\n"
        "        <pos>\n"
        "          <x>0.5</x>\n"
        "          <y>1234.57</y>\n"
        "        </pos>\n"
        "      </point>\n"
        "    </points>\n"
        "  </record>\n"
        "</mensor>\n";
    QCOMPARE(readFile(fileName), expected);
}

void XmlDataStoreTest::fileWriterWritesTheStreamWritersBytes_data()
{
    QTest::addColumn<QString>("text");

    QString ascii;
    for (ushort c = 1; c < 128; ++c)
        ascii += QChar(c);
    QTest::newRow("every ascii character") << ascii;
    QTest::newRow("markup") << QStringLiteral("<a href=\"x\">R&D's 'quotes'</a>");
    QTest::newRow("umlauts and symbols") << QStringLiteral("Gr\u00fc\u00dfe \u20ac \u2103 \u00b2");
    QTest::newRow("surrogate pair") << QStringLiteral("photo \U0001F600.jpg");
    QTest::newRow("line breaks") << QStringLiteral("one\ntwo\r\nthree\tfour");
    QTest::newRow("plain") << QStringLiteral("/home/lab/photos/IMG_0001.JPG");
}

void XmlDataStoreTest::fileWriterWritesTheStreamWritersBytes()
{
    QFETCH(QString, text);

    Root tree = sampleTree();
    tree.text = text;
    tree.records.insert(text, Record());
    QByteArray reference;
    {
        StreamWriter writer(&reference);
        writer.writeRoot(tree);
        writer.beginGroup(QStringLiteral("empty"));
        writer.endGroup();
        writer.writeObject(QString(), kit::Storable());
    }
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("direct.xml"));
    {
        XmlFileWriter writer(fileName, testFormat);
        writer.writeRoot(tree);
        writer.beginGroup(QStringLiteral("empty"));
        writer.endGroup();
        writer.writeObject(QString(), kit::Storable());
        QVERIFY(writer.commit());
    }
    QCOMPARE(readFile(fileName), reference);
}

void XmlDataStoreTest::everyNameComesBackAsSaved_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("escaped");
    QTest::newRow("carriage return") << QStringLiteral("a\rb\r\nc\r") << false;
    QTest::newRow("escape and U+0001") << QStringLiteral("\x1b[0m\x01.jpg") << true;
    QTest::newRow("U+FFFE and U+FFFF") << QStringLiteral("x\ufffe\uffffy") << true;
    QTest::newRow("lone high surrogate") << QString(QChar(0xd800)) + QStringLiteral("x") << true;
    QTest::newRow("lone low surrogate at end") << QStringLiteral("x") + QChar(0xdc00) << true;
    QTest::newRow("backslashes beside a control character") << QStringLiteral("C:\\u0041\\\x02\\") << true;
    QTest::newRow("backslashes alone") << QStringLiteral("C:\\u0041\\x") << false;
    QTest::newRow("surrogate pair") << QStringLiteral("photo \U0001F600.jpg") << false;
}

void XmlDataStoreTest::everyNameComesBackAsSaved()
{
    QFETCH(QString, text);
    QFETCH(bool, escaped);

    Root saved = sampleTree();
    saved.text = text;
    saved.records.insert(text, Record());
    const QString fileName = m_dir.filePath(QStringLiteral("names.xml"));
    {
        XmlFileWriter writer(fileName, testFormat);
        writer.writeRoot(saved);
    }
    QCOMPARE(readFile(fileName).contains(" escaped=\"1\">"), escaped);
    Root loaded;
    XmlFileReader reader(fileName, testFormat);
    reader.readRoot(loaded);
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(loaded.text, text);
    QCOMPARE(loaded.records.keys(), saved.records.keys());
    QVERIFY(loaded.records == saved.records);
}

void XmlDataStoreTest::roundTripOfNestedTree()
{
    const Root saved = sampleTree();
    const QString fileName = m_dir.filePath(QStringLiteral("tree.xml"));
    {
        XmlFileWriter writer(fileName, testFormat);
        writer.writeRoot(saved);
    }

    Root loaded;
    XmlFileReader reader(fileName, testFormat);
    reader.readRoot(loaded);
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(reader.formatVersion(), 1);
    QCOMPARE(loaded.locale, saved.locale);
    QCOMPARE(loaded.flag, saved.flag);
    QCOMPARE(loaded.bytes, saved.bytes);
    QCOMPARE(loaded.date, saved.date);
    QCOMPARE(loaded.dateTime, saved.dateTime);
    QCOMPARE(loaded.dir.path(), saved.dir.path());
    QCOMPARE(loaded.unit, saved.unit);
    QCOMPARE(loaded.text, saved.text);
    QVERIFY(loaded.single == saved.single);
    QCOMPARE(loaded.records.keys(), QStringList({QStringLiteral("/photos/a.jpg"), QStringLiteral("/photos/b.jpg")}));
    QVERIFY(loaded.records == saved.records);
    QCOMPARE(loaded.records.value(QStringLiteral("/photos/b.jpg")).points.size(), 3);
}

void XmlDataStoreTest::emptyValuesAreOmittedAndKeepThePreviousValue()
{
    Root saved;
    saved.text.clear();
    saved.unit = Unit();
    const QString fileName = m_dir.filePath(QStringLiteral("empty.xml"));
    {
        XmlFileWriter writer(fileName, testFormat);
        writer.writeRoot(saved);
    }
    const QByteArray text = readFile(fileName);
    QVERIFY(!text.contains("<text"));
    QVERIFY(!text.contains("<unit"));
    QVERIFY(!text.contains("<bytes"));

    Root loaded;
    loaded.text = QStringLiteral("previous");
    loaded.unit = Unit::Inch;
    XmlFileReader reader(fileName, testFormat);
    reader.readRoot(loaded);
    QVERIFY(!reader.hasError());
    QCOMPARE(loaded.text, QStringLiteral("previous"));
    QCOMPARE(loaded.unit, Unit::Inch);
}

void XmlDataStoreTest::readErrors_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("error");

    QTest::newRow("wrong root")
        << QByteArray("<?xml version=\"1.0\"?>\n<other version=\"1\">\n<locale>de_DE</locale>\n</other>\n")
        << "XML parsing error at line 2, column 19: Element <mensor> expected.";
    QTest::newRow("bad bool")
        << document("<locale>de_DE</locale>\n<flag>yes</flag>")
        << "XML parsing error at line 5, column 9: The value of flag is not a valid bool.";
    QTest::newRow("bad locale")
        << document("<locale>xx_YY</locale>")
        << "XML parsing error at line 4, column 9: The value of locale is not a valid locale.";
    QTest::newRow("bad unit")
        << document("<unit>kmh</unit>")
        << "XML parsing error at line 4, column 9: The value of unit is not a valid unit.";
    QTest::newRow("missing object")
        << document("<flag>true</flag>\n<records/>")
        << "XML parsing error at line 4, column 10: Element <single> expected.";
    QTest::newRow("group not closed")
        << document("<single><origin><x>1</x><y>2</y><z>3</z></origin></single>")
        << "XML parsing error at line 3, column 35: Closing tag </origin> expected.";
    QTest::newRow("unexpected element in object")
        << document("<single><nextid>2</nextid><origin><x>1</x><y>2</y></origin><points/><extra>1</extra></single>")
        << "XML parsing error at line 3, column 84: Closing tag </single> expected instead of <extra>.";
    QTest::newRow("comment between values")
        << document("<single><nextid>2</nextid><!-- note --><origin><x>1</x><y>2</y></origin><points/></single>")
        << "XML parsing error at line 3, column 39: Element <origin> expected.";
    QTest::newRow("value with child element")
        << document("<locale><b>de</b></locale>")
        << "Expected character data.";
}

void XmlDataStoreTest::readErrors()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, error);

    if (error.startsWith(QLatin1String("XML parsing error")))
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("\"%1\"").arg(error)));
    Root root;
    BufferReader reader(xml);
    reader.readRoot(root);
    QVERIFY(reader.hasError());
    QCOMPARE(reader.errorString(), error);
}

void XmlDataStoreTest::missingFileReadsAsEmptyWithDefaults()
{
    Root root;
    XmlFileReader reader(m_dir.filePath(QStringLiteral("does-not-exist.xml")), testFormat);
    reader.readRoot(root);
    QVERIFY(reader.hasError());
    QCOMPARE(reader.errorString(), QStringLiteral("Premature end of document."));
    QCOMPARE(reader.formatVersion(), 0);
    QCOMPARE(root.locale.name(), QStringLiteral("de_CH"));
    QVERIFY(root.records.isEmpty());
}

void XmlDataStoreTest::rootVersion_data()
{
    QTest::addColumn<QByteArray>("root");
    QTest::addColumn<int>("version");

    QTest::newRow("own") << QByteArray("<mensor version=\"1\">") << 1;
    QTest::newRow("newer") << QByteArray("<mensor version=\"7\">") << 7;
    QTest::newRow("absent") << QByteArray("<mensor>") << 0;
    QTest::newRow("not a number") << QByteArray("<mensor version=\"one\">") << 0;
}

void XmlDataStoreTest::rootVersion()
{
    QFETCH(QByteArray, root);
    QFETCH(int, version);

    Root tree;
    BufferReader reader(document(minimalBody, root));
    reader.readRoot(tree);
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(reader.formatVersion(), version);
    QCOMPARE(tree.locale.name(), QStringLiteral("en_US"));
}

void XmlDataStoreTest::outOfOrderValuesReadAsAbsent()
{
    Pair pair;
    BufferReader swapped(document("<pair><b>2</b><a>1</a></pair><text>t</text>"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("Closing tag </pair> expected instead of <a>")));
    swapped.readObject(QStringLiteral("pair"), pair);
    QCOMPARE(pair.a, -1);
    QCOMPARE(pair.b, 2);
    QVERIFY(swapped.errorString().endsWith(QStringLiteral("Closing tag </pair> expected instead of <a>.")));

    // An absent value costs nothing: the next one is still found.
    Pair onlyB;
    BufferReader partial(document("<pair><b>5</b></pair>"));
    partial.readObject(QStringLiteral("pair"), onlyB);
    QVERIFY(!partial.hasError());
    QCOMPARE(onlyB.a, -1);
    QCOMPARE(onlyB.b, 5);
}

void XmlDataStoreTest::contentAfterRootObjectIsIgnored()
{
    Root root;
    BufferReader reader(document(minimalBody + "<future>1</future>"));
    reader.readRoot(root);
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(root.locale.name(), QStringLiteral("en_US"));
}

void XmlDataStoreTest::firstErrorStopsAllFurtherReading()
{
    Root root;
    root.text = QStringLiteral("default");
    BufferReader reader(document("<locale>de_DE</locale><flag>maybe</flag><text>read</text>"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("flag is not a valid bool")));
    reader.readRoot(root);
    QCOMPARE(root.locale.name(), QStringLiteral("de_DE"));
    QCOMPARE(root.text, QStringLiteral("default"));
    QString text;
    QVERIFY(!reader.readString(QStringLiteral("text"), text));
    QVERIFY(!reader.hasNextItem());
}

void XmlDataStoreTest::readPointFPartialGroups_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<bool>("error");

    QTest::newRow("both") << QByteArray("<p><x>1.5</x><y>2</y></p>") << true << QPointF(1.5, 2) << false;
    QTest::newRow("empty group") << QByteArray("<p/>") << false << QPointF(-1, -1) << false;
    QTest::newRow("x only") << QByteArray("<p><x>4</x></p>") << false << QPointF(4, -1) << false;
    QTest::newRow("y only") << QByteArray("<p><y>4</y></p>") << false << QPointF(-1, -1) << true;
    QTest::newRow("no group") << QByteArray("<q/>") << false << QPointF(-1, -1) << true;
}

void XmlDataStoreTest::readPointFPartialGroups()
{
    QFETCH(QByteArray, group);
    QFETCH(bool, result);
    QFETCH(QPointF, point);
    QFETCH(bool, error);

    BufferReader reader(document(group));
    QPointF value(-1, -1);
    if (error)
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("expected")));
    QCOMPARE(reader.readPointF(QStringLiteral("p"), value), result);
    QCOMPARE(value, point);
    QCOMPARE(reader.hasError(), error);
}

void XmlDataStoreTest::readListWithoutGroupClearsList()
{
    Record record;
    record.points.append(Leaf());
    BufferReader reader(document("<nextid>2</nextid><origin><x>1</x><y>1</y></origin>"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("Element <points> expected")));
    reader.readRoot(record);
    QCOMPARE(record.nextId, 2);
    QVERIFY(record.points.isEmpty());
    QVERIFY(reader.hasError());
}

void XmlDataStoreTest::emptyStorableConsumesItsElement()
{
    kit::Storable nothing;
    BufferReader reader(document("<empty/><text>after</text>"));
    reader.readObject(QStringLiteral("empty"), nothing);
    QString text;
    QVERIFY(reader.readString(QStringLiteral("text"), text));
    QCOMPARE(text, QStringLiteral("after"));
    QVERIFY(!reader.hasError());
}

void XmlDataStoreTest::survivesHostileInput_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray valid = document("<locale>de_DE</locale><single><points><point><id>1</id></point></points></single>");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated") << valid.left(valid.size() / 2);
    QTest::newRow("truncated in tag") << valid.left(valid.indexOf("<point>") + 4);
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe<\x01\x02>\x80\x81", 9);
    QTest::newRow("invalid utf8") << document("<text>\xc3\x28\xa0\xa1</text>");
    QByteArray deep = "<mensor version=\"1\"><locale>de_DE</locale><single>";
    for (int i = 0; i < 20000; ++i)
        deep += "<a>";
    QTest::newRow("deep nesting") << deep;
    QTest::newRow("huge text") << document("<text>" + QByteArray(8 * 1024 * 1024, 'x') + "</text>");
    QTest::newRow("value with child") << document("<locale><b>de</b></locale>");
    QTest::newRow("list of wrong items") << document("<single><points><x/><y/><z/></points></single>");
    QTest::newRow("unclosed root") << QByteArray("<mensor version=\"1\"><locale>de_DE</locale>");
    QTest::newRow("doctype") << QByteArray("<!DOCTYPE x [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]><mensor>&b;</mensor>");
}

void XmlDataStoreTest::survivesHostileInput()
{
    QFETCH(QByteArray, bytes);

    const QString fileName = m_dir.filePath(QStringLiteral("hostile.xml"));
    writeFile(fileName, bytes);
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    Root root;
    XmlFileReader reader(fileName, testFormat);
    reader.readRoot(root);
    qInstallMessageHandler(previous);
    QVERIFY(reader.hasError());
    QVERIFY(!reader.errorString().isEmpty());
    QVERIFY(root.records.isEmpty());
}

void XmlDataStoreTest::setErrorLogsTheMessage()
{
    BufferReader reader(document("<locale>de_DE</locale>"));
    QTest::ignoreMessage(QtDebugMsg, "\"XML parsing error at line 3, column 8: custom\"");
    reader.setError(QStringLiteral("custom"));
    QVERIFY(reader.hasError());
    QLocale locale;
    QVERIFY(!reader.readLocale(QStringLiteral("locale"), locale));
}

void XmlDataStoreTest::savingCreatesMissingFolders()
{
    const QString fileName = m_dir.filePath(QStringLiteral("a/b/c/settings.xml"));
    XmlFileWriter writer(fileName, testFormat);
    writer.writeRoot(sampleTree());
    QVERIFY(writer.commit());
    QVERIFY(QFileInfo::exists(fileName));
}

void XmlDataStoreTest::failedSaveKeepsOldFile()
{
    // A name that leaves no room for the temporary file's suffix: the old file
    // can exist, but no temporary file can be created beside it.
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QString(250, QLatin1Char('n')) + QStringLiteral(".xml"));
    const QByteArray old = document("<locale>de_DE</locale>");
    writeFile(fileName, old);

    XmlFileWriter writer(fileName, testFormat);
    writer.writeRoot(sampleTree());
    QVERIFY(!writer.commit());
    QVERIFY(!writer.errorString().isEmpty());
    QCOMPARE(readFile(fileName), old);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 1);
}

void XmlDataStoreTest::readOnlyFolderKeepsOldFile()
{
    if (::geteuid() == 0)
        QSKIP("permissions do not bind the superuser");
    const QString folder = m_dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(folder));
    const QString fileName = folder + QStringLiteral("/settings.xml");
    const QByteArray old = document("<locale>de_DE</locale>");
    writeFile(fileName, old);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);

    bool committed = true;
    {
        XmlFileWriter writer(fileName, testFormat);
        writer.writeRoot(sampleTree());
        committed = writer.commit();
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!committed);
    QCOMPARE(readFile(fileName), old);
}

void XmlDataStoreTest::fullDiskKeepsOldFile_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("room");
    // A small document fits the file's write buffer and only fails in the final flush.
    QTest::newRow("small, no room") << 2000 << 0;
    QTest::newRow("small, part") << 2000 << 100;
    QTest::newRow("large, part") << 100000 << 30000;
}

void XmlDataStoreTest::fullDiskKeepsOldFile()
{
    QFETCH(int, length);
    QFETCH(int, room);
    const QString fileName = m_dir.filePath(QStringLiteral("full.xml"));
    const QByteArray old = document("<locale>de_DE</locale>");
    writeFile(fileName, old);
    Root tree;
    tree.text = QString(length, QLatin1Char('x'));

    // A file size limit fails writes as a full disk does, for the superuser too.
    const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit previous;
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = rlim_t(room);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool committed = true;
    QString error;
    {
        XmlFileWriter writer(fileName, testFormat);
        writer.writeRoot(tree);
        committed = writer.commit();
        error = writer.errorString();
    }
    ::setrlimit(RLIMIT_FSIZE, &previous);
    ::signal(SIGXFSZ, previousHandler);

    QVERIFY(!committed);
    QCOMPARE(error, QString::fromLocal8Bit(::strerror(EFBIG)));
    QCOMPARE(readFile(fileName), old);
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("full*")}, QDir::Files), QStringList(QStringLiteral("full.xml")));
}

MENSOR_CORETEST_MAIN(XmlDataStoreTest)
#include "xmldatastoretest.moc"
