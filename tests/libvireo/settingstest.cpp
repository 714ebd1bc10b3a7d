#include "settings.h"

#include "columnstate.h"
#include "translations.h"
#include "windowstate.h"
#include "xmldatastore.h"

#include "testutils.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QToolBar>

using namespace kit;

namespace {

struct Entry : Storable
{
    int id = 0;
    void load(DataReader &reader) override { reader.readInt(QStringLiteral("id"), id); }
    void save(DataWriter &writer) const override { writer.writeInt(QStringLiteral("id"), id); }
};

// A settings object with values of its own, as an application adds them.
class AppSettings : public Settings
{
    Q_OBJECT

public:
    AppSettings()
        : Settings(1)
    {
    }
    using Settings::load;
    using Settings::save;

    int number = 3;
    QList<Entry> records;
    int afterLoadCalls = 0;

protected:
    void afterLoad() override { ++afterLoadCalls; }
    void load(DataReader &reader) override
    {
        Settings::load(reader);
        reader.readInt(QStringLiteral("number"), number);
        reader.readList(QStringLiteral("records"), QStringLiteral("record"), records);
    }
    void save(DataWriter &writer) const override
    {
        Settings::save(writer);
        writer.writeInt(QStringLiteral("number"), number);
        writer.writeList(QStringLiteral("records"), QStringLiteral("record"), records);
    }
};

QByteArray readFile(const QString &fileName)
{
    QFile file(fileName);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeFile(const QString &fileName, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void ignoreLoadMessages()
{
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^Loading settings from")));
}


// A window with what the program's main window has: docks and tool bars.
struct LayoutWindow : QMainWindow
{
    LayoutWindow()
    {
        for (const char *name : {"dockA", "dockB"}) {
            auto dock = new QDockWidget(this);
            dock->setObjectName(QLatin1String(name));
            dock->setWidget(new QWidget);
            addDockWidget(Qt::LeftDockWidgetArea, dock);
        }
        auto tools = new QToolBar(this);
        tools->setObjectName(QStringLiteral("tools"));
        addToolBar(Qt::TopToolBarArea, tools);
        setCentralWidget(new QWidget);
        resize(600, 400);
    }
};

// A name as the layout stores it.
QByteArray utf16(const char *name)
{
    QByteArray bytes;
    for (const char *c = name; *c; ++c)
        bytes.append('\0').append(*c);
    return bytes;
}

QByteArray realLayout()
{
    LayoutWindow window;
    window.splitDockWidget(window.findChild<QDockWidget *>(QStringLiteral("dockA")),
                           window.findChild<QDockWidget *>(QStringLiteral("dockB")), Qt::Vertical);
    return window.saveState();
}

const QByteArray twoRecords = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<mensor version=\"1\">\n"
                              "  <locale>de_DE</locale>\n"
                              "  <mainwindow/>\n"
                              "  <number>4</number>\n"
                              "  <records>\n"
                              "    <record><id>1</id></record>\n"
                              "    <record><id>2</id\n";

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fileSitsBesideTheIniFile();
    void firstStartUsesSwissGerman();
    void roundTripOfAllValues();
    void failedLoads_data();
    void failedLoads();
    void setLocaleAlwaysAnnounces();
    void unreadableFilesAreKeptNeverOverwritten();
    void secondHolderOfTheFileNeverSaves();
    void missingFileNeedsNoCopy();
    void failedSaveIsReported();
    void windowStateRestore_data();
    void windowStateRestore();
    void columnStateDefaults();
    void damagedLayoutsAreLeftOut_data();
    void damagedLayoutsAreLeftOut();
    void everyByteFlipOfALayoutIsSafe();
    void layoutThatStoppedTheProgramIsNotTriedAgain();

private:
    QString m_fileName;
    std::unique_ptr<TranslationNoiseFilter> m_filter;
};

void SettingsTest::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("mensor"));
    QCoreApplication::setOrganizationName(QStringLiteral("ortus"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    m_fileName = AppSettings().fileName();
    m_filter = std::make_unique<TranslationNoiseFilter>();
}

void SettingsTest::init()
{
    QFile::remove(m_fileName);
    QFile::remove(m_fileName + QStringLiteral(".bak"));
    QFile::remove(m_fileName + QStringLiteral(".2.bak"));
    QDir(m_fileName).removeRecursively();
}

void SettingsTest::cleanup()
{
    Translations::instance().setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    QLocale::setDefault(QLocale::c());
}

void SettingsTest::fileSitsBesideTheIniFile()
{
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    QCOMPARE(m_fileName, config + QStringLiteral("/ortus/mensor.xml"));
    QVERIFY(m_fileName.startsWith(isolatedHome().path()) || !qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME"));
}

void SettingsTest::firstStartUsesSwissGerman()
{
    AppSettings settings;
    QSignalSpy localeChanged(&settings, &Settings::localeChanged);
    ignoreLoadMessages();
    QTest::ignoreMessage(QtWarningMsg, "Error while loading settings: \"Premature end of document.\"");
    QVERIFY(!settings.load());
    QCOMPARE(settings.locale().name(), QStringLiteral("de_CH"));
    QCOMPARE(QLocale().name(), QStringLiteral("de_CH"));
    QCOMPARE(localeChanged.count(), 1);
    QCOMPARE(settings.afterLoadCalls, 1);
    QCOMPARE(QCoreApplication::translate("kit::LocaleModel", "Locale"), QStringLiteral("Gebietsschema"));

    QMainWindow window;
    settings.restoreWindowState(&window);
    QVERIFY(window.windowState() & Qt::WindowMaximized);
}

void SettingsTest::roundTripOfAllValues()
{
    QMainWindow window;
    window.resize(640, 480);
    window.move(20, 30);
    {
        AppSettings settings;
            settings.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        settings.number = 17;
        settings.saveWindowState(&window);
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("Saving settings to \"%1\".").arg(m_fileName)));
        QVERIFY(settings.save());
    }
    QVERIFY(readFile(m_fileName).contains("<locale>en_US</locale>"));

    AppSettings loaded;
    QSignalSpy localeChanged(&loaded, &Settings::localeChanged);
    QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("Loading settings from \"%1\".").arg(m_fileName)));
    QVERIFY(loaded.load());
    QCOMPARE(loaded.locale().name(), QStringLiteral("en_US"));
    QCOMPARE(loaded.number, 17);
    QCOMPARE(localeChanged.count(), 1);
    QCOMPARE(localeChanged.first().at(0).toLocale().name(), QStringLiteral("en_US"));

    QMainWindow restored;
    loaded.restoreWindowState(&restored);
    QCOMPARE(restored.size(), QSize(640, 480));
    QVERIFY(!(restored.windowState() & Qt::WindowMaximized));
}

void SettingsTest::failedLoads_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("number");

    QTest::newRow("root only") << QByteArray("<?xml version=\"1.0\"?>\n<mensor version=\"1\"/>\n")
                               << "Element <mainwindow> expected." << "de_CH" << 3;
    QTest::newRow("other application") << QByteArray("<?xml version=\"1.0\"?>\n<other><locale>en_US</locale></other>\n")
                                       << "Element <mensor> expected." << "de_CH" << 3;
    QTest::newRow("value after error kept default")
        << QByteArray("<mensor version=\"1\"><locale>de_DE</locale><mainwindow><geometry>zz</geometry>"
                      "<state>01</state><x/></mainwindow><number>9</number></mensor>")
        << "Closing tag </mainwindow> expected instead of <x>." << "de_DE" << 3;
    QTest::newRow("bad number")
        << QByteArray("<mensor version=\"1\"><locale>en_US</locale><mainwindow/><number>nine</number></mensor>")
        << "The value of number is not a valid int." << "en_US" << 3;
    QTest::newRow("empty file") << QByteArray() << "Premature end of document." << "de_CH" << 3;
}

void SettingsTest::failedLoads()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QFETCH(QString, locale);
    QFETCH(int, number);

    writeFile(m_fileName, content);
    {
        XmlFileReader reader(m_fileName, DataFormat(QStringLiteral("mensor"), 1));
        AppSettings probe;
        SilentMessages silence;
        reader.readRoot(probe);
        QVERIFY2(reader.errorString().endsWith(error), qPrintable(reader.errorString()));
    }

    AppSettings settings;
    QSignalSpy localeChanged(&settings, &Settings::localeChanged);
    {
        SilentMessages silence;
        QVERIFY(!settings.load());
    }
    QCOMPARE(settings.locale().name(), locale);
    QCOMPARE(settings.number, number);
    QCOMPARE(localeChanged.count(), 1);
    QCOMPARE(settings.afterLoadCalls, 1);
}

void SettingsTest::setLocaleAlwaysAnnounces()
{
    AppSettings settings;
    QSignalSpy localeChanged(&settings, &Settings::localeChanged);
    settings.setLocale(QLocale(QLocale::German, QLocale::Germany));
    settings.setLocale(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(localeChanged.count(), 2);
    QCOMPARE(QLocale().name(), QStringLiteral("de_DE"));
    QCOMPARE(QCoreApplication::translate("kit::TextDataReader", "The value of %1 is not a valid double."),
             QStringLiteral("%1 ist keine gültige Fließkommazahl."));
}

void SettingsTest::unreadableFilesAreKeptNeverOverwritten()
{
    const QByteArray second = QByteArray(twoRecords).replace("<number>4", "<number>x");
    QStringList backups;
    for (const QByteArray &broken : {twoRecords, second}) {
        writeFile(m_fileName, broken);
        AppSettings settings;
        {
            SilentMessages silence;
            QVERIFY(!settings.load());
            QVERIFY(settings.save());
        }
        const QRegularExpression where(QStringLiteral("(line|Zeile) \\d+, (column|Spalte) \\d+: .+"));
        QVERIFY2(where.match(settings.loadErrorString()).hasMatch(), qPrintable(settings.loadErrorString()));
        backups << settings.backupFileName();
        QCOMPARE(readFile(settings.backupFileName()), broken);
        QVERIFY(readFile(m_fileName).contains("<locale>de_DE</locale>"));

        // A file that reads completely needs no copy and reports nothing.
        SilentMessages silence;
        QVERIFY(settings.load());
        QCOMPARE(settings.loadErrorString(), QString());
        QCOMPARE(settings.backupFileName(), QString());
    }
    QCOMPARE(backups, QStringList({m_fileName + QStringLiteral(".bak"), m_fileName + QStringLiteral(".2.bak")}));
    QCOMPARE(readFile(backups.first()), twoRecords);
}

void SettingsTest::secondHolderOfTheFileNeverSaves()
{
    AppSettings first;
    AppSettings second;
    SilentMessages silence;
    QVERIFY(first.lock());
    QVERIFY(!second.lock());
    QVERIFY(second.isReadOnly());
    second.number = 9;
    QVERIFY(!second.save());
    QVERIFY(!second.errorString().isEmpty());
    QVERIFY(!QFile::exists(m_fileName));
    QVERIFY(first.save());
}

void SettingsTest::missingFileNeedsNoCopy()
{
    AppSettings settings;
    {
        SilentMessages silence;
        QVERIFY(!settings.load());
        QVERIFY(settings.save());
    }
    QVERIFY(QFile::exists(m_fileName));
    QVERIFY(!QFile::exists(m_fileName + QStringLiteral(".bak")));
}

void SettingsTest::failedSaveIsReported()
{
    // A folder where the file should be: nothing can replace it.
    QVERIFY(QDir().mkpath(m_fileName));
    AppSettings settings;
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^Saving settings to")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Error while saving settings: .+")));
    QVERIFY(!settings.save());
    QVERIFY(!settings.errorString().isEmpty());
    QVERIFY(QFileInfo(m_fileName).isDir());
    QCOMPARE(QDir(QFileInfo(m_fileName).absolutePath()).entryList(QDir::Files), QStringList());
}

void SettingsTest::windowStateRestore_data()
{
    QTest::addColumn<bool>("withGeometry");
    QTest::addColumn<bool>("withState");
    QTest::addColumn<bool>("maximised");

    QTest::newRow("nothing saved") << false << false << true;
    QTest::newRow("geometry only") << true << false << true;
    QTest::newRow("both") << true << true << false;
}

void SettingsTest::windowStateRestore()
{
    QFETCH(bool, withGeometry);
    QFETCH(bool, withState);
    QFETCH(bool, maximised);

    QMainWindow source;
    source.resize(500, 400);
    const WindowState full(&source);
    QVERIFY(!full.geometry().isEmpty());
    QVERIFY(!full.state().isEmpty());

    const QByteArray geometry = withGeometry ? full.geometry().toHex() : QByteArray();
    const QByteArray state = withState ? full.state().toHex() : QByteArray();
    const QString fileName = isolatedHome().filePath(QStringLiteral("window.xml"));
    writeFile(fileName, "<mensor version=\"1\"><geometry>" + geometry + "</geometry><state>" + state + "</state></mensor>");
    WindowState loaded;
    XmlFileReader reader(fileName, DataFormat(QStringLiteral("mensor"), 1));
    reader.readRoot(loaded);

    QMainWindow window;
    loaded.restore(&window);
    QCOMPARE(bool(window.windowState() & Qt::WindowMaximized), maximised);
    if (withGeometry)
        QCOMPARE(window.size(), QSize(500, 400));
}

void SettingsTest::columnStateDefaults()
{
    const QString fileName = isolatedHome().filePath(QStringLiteral("column.xml"));
    {
        XmlFileWriter writer(fileName, DataFormat(QStringLiteral("mensor"), 1));
        writer.writeObject(QStringLiteral("column"), ColumnState());
    }
    const QByteArray text = readFile(fileName);
    QVERIFY(text.contains("<decimal-places>1</decimal-places>"));
    QVERIFY(text.contains("<visible>true</visible>"));
    QVERIFY(text.contains("<width>100</width>"));
    QVERIFY(!text.contains("<unit"));

    ColumnState state;
    state.setUnit(Unit::Inch);
    XmlFileReader reader(fileName, DataFormat(QStringLiteral("mensor"), 1));
    reader.readObject(QStringLiteral("column"), state);
    QVERIFY(!reader.hasError());
    QCOMPARE(state.unit(), Unit::Inch);
    QCOMPARE(state.width(), 100);

    ColumnState copy = state;
    copy.setWidth(5);
    QCOMPARE(state.width(), 100);
}

void SettingsTest::damagedLayoutsAreLeftOut_data()
{
    QTest::addColumn<QByteArray>("state");
    QTest::addColumn<bool>("plausible");
    const QByteArray real = realLayout();
    const int dockArea = real.indexOf(QByteArray("\xfd\x00\x00\x00\x01", 5)) + 5;
    QVERIFY(dockArea > 5);
    QTest::newRow("as saved") << real << true;
    QTest::newRow("truncated") << real.left(real.size() - 3) << false;
    QTest::newRow("trailing byte") << real + '\xfd' << false;
    QTest::newRow("dock area past the last") << QByteArray(real).replace(dockArea, 4, QByteArray("\x00\x00\x00\x07", 4)) << false;
    QTest::newRow("unknown dock") << QByteArray(real).replace(utf16("dockA"), utf16("dockX")) << false;
    QTest::newRow("dock twice") << QByteArray(real).replace(utf16("dockA"), utf16("dockB")) << false;
    QTest::newRow("unknown tool bar") << QByteArray(real).replace(utf16("tools"), utf16("toolx")) << false;
    QTest::newRow("other marker") << QByteArray(real).replace(8, 1, "\xf9") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void SettingsTest::damagedLayoutsAreLeftOut()
{
    QFETCH(QByteArray, state);
    QFETCH(bool, plausible);
    LayoutWindow window;
    QCOMPARE(WindowState::isPlausibleState(state, &window), plausible);
}

// Every single damaged byte of a real layout, restored into a window: the
// toolkit alone crashes on some of them.
void SettingsTest::everyByteFlipOfALayoutIsSafe()
{
    const QByteArray real = realLayout();
    const QString fileName = isolatedHome().filePath(QStringLiteral("layout.xml"));
    SilentMessages silence;
    int refused = 0;
    for (int i = 0; i < real.size(); ++i) {
        for (const uchar value : {uchar(real[i] ^ 0x01), uchar(real[i] ^ 0x80), uchar(0x00), uchar(0xff)}) {
            QByteArray damaged = real;
            damaged[i] = char(value);
            writeFile(fileName, "<mensor version=\"1\"><state>" + damaged.toHex() + "</state></mensor>");
            WindowState loaded;
            XmlFileReader reader(fileName, DataFormat(QStringLiteral("mensor"), 1));
            reader.readRoot(loaded);
            LayoutWindow window;
            if (!loaded.restore(&window))
                ++refused;
            window.show();
            QCoreApplication::processEvents();
        }
    }
    QVERIFY(refused > real.size());
}

void SettingsTest::layoutThatStoppedTheProgramIsNotTriedAgain()
{
    LayoutWindow source;
    source.findChild<QDockWidget *>(QStringLiteral("dockA"))->hide();
    AppSettings settings;
    settings.saveWindowState(&source);
    QVERIFY(!QFile::exists(m_fileName + QStringLiteral(".restoring")));

    // As if the program had died while restoring the layout.
    writeFile(m_fileName + QStringLiteral(".restoring"), QByteArray());
    LayoutWindow window;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^The window layout stopped the program")));
    settings.restoreWindowState(&window);
    QVERIFY(!QFile::exists(m_fileName + QStringLiteral(".restoring")));
    QVERIFY(!window.findChild<QDockWidget *>(QStringLiteral("dockA"))->isHidden());

    // The next start restores normally again.
    settings.saveWindowState(&source);
    settings.restoreWindowState(&window);
    QVERIFY(window.findChild<QDockWidget *>(QStringLiteral("dockA"))->isHidden());
}

MENSOR_GUITEST_MAIN(SettingsTest)
#include "settingstest.moc"
