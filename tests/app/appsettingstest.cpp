#include "settings.h"

#include "startup.h"
#include "testutils.h"

#include <QMainWindow>

using vireo::Geometry;
using vireo::Point;
using vireo::Settings;

class AppSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void defaults();
    void roundTripOfWholeFile();
    void loadAnnouncesValues_data();
    void loadAnnouncesValues();
    void setCurrentDirOnlyOnChange_data();
    void setCurrentDirOnlyOnChange();
    void setDecimalPlacesOnlyOnChange();
    void geometryForCreatesOnceAndKeepsReferences();
    void unusedRecordIsWritten();
    void destructionSaves();
    void storedFileRoundTripsByteForByte();

private:
    QString m_fileName;
    std::unique_ptr<SilentMessages> m_silence;
};

void AppSettingsTest::initTestCase()
{
    vireo::setApplicationIdentity();
    m_fileName = Settings().fileName();
    m_silence = std::make_unique<SilentMessages>();
}

void AppSettingsTest::init()
{
    QFile::remove(m_fileName);
}

void AppSettingsTest::defaults()
{
    Settings settings;
    QCOMPARE(settings.currentDir(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QCOMPARE(settings.decimalPlaces(), 3);
    QCOMPARE(settings.geometryCount(), 0);
    QVERIFY(m_fileName.endsWith(QStringLiteral("/ortus/mensor.xml")));
}

void AppSettingsTest::roundTripOfWholeFile()
{
    QMainWindow window;
    window.resize(700, 500);
    {
        Settings settings;
        settings.setLocale(QLocale(QLocale::German, QLocale::Germany));
        settings.saveWindowState(&window);
        settings.setCurrentDir(QStringLiteral("/photos/R&D <2026>"));
        settings.setDecimalPlaces(5);
        Geometry &image = settings.geometryFor(QStringLiteral("/photos/b.jpg"));
        image.initialize(QSize(640, 480));
        image.addPoint(Point(1, QPointF(10.5, 20), QStringLiteral("b.jpg")));
        image.addPoint(Point(4, QPointF(30, 40.25), QStringLiteral("b.jpg")));
        image.setNextId(5);
        Geometry &folder = settings.geometryFor(QStringLiteral("/photos"));
        folder.initialize(QSize(100, 50));
        folder.setRulerLength(25.4);
        folder.addPoint(Point(1, QPointF(1, 2), QStringLiteral("a.jpg")));
        QVERIFY(settings.save());
    }

    Settings loaded;
    QVERIFY(loaded.load());
    QCOMPARE(loaded.locale().name(), QStringLiteral("de_DE"));
    QCOMPARE(loaded.currentDir(), QStringLiteral("/photos/R&D <2026>"));
    QCOMPARE(loaded.decimalPlaces(), 5);
    QCOMPARE(loaded.geometryCount(), 2);
    const Geometry &image = loaded.geometryFor(QStringLiteral("/photos/b.jpg"));
    QCOMPARE(image.nextId(), 5);
    QCOMPARE(image.pointCount(), 2);
    QCOMPARE(image.point(1).pos(), QPointF(30, 40.25));
    QCOMPARE(image.origin(), QPointF(320, 240));
    QCOMPARE(loaded.geometryFor(QStringLiteral("/photos")).rulerLength(), 25.4);
    QMainWindow restored;
    loaded.restoreWindowState(&restored);
    QCOMPARE(restored.size(), QSize(700, 500));

    // Keys in the file come in ascending order, after the base values.
    QFile file(m_fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray xml = file.readAll();
    QVERIFY(xml.indexOf("<mainwindow>") < xml.indexOf("<currentdir>"));
    QVERIFY(xml.indexOf("<currentdir>") < xml.indexOf("<decimalplaces>5</decimalplaces>"));
    QVERIFY(xml.indexOf("<key>/photos</key>") < xml.indexOf("<key>/photos/b.jpg</key>"));
}

void AppSettingsTest::loadAnnouncesValues_data()
{
    QTest::addColumn<int>("stored");
    QTest::newRow("five") << 5;
    QTest::newRow("three, the default") << 3;
}

void AppSettingsTest::loadAnnouncesValues()
{
    QFETCH(int, stored);
    {
        Settings settings;
        settings.setDecimalPlaces(stored);
        settings.setCurrentDir(QStringLiteral("/data"));
    }
    Settings loaded;
    QSignalSpy decimals(&loaded, &Settings::decimalPlacesChanged);
    QSignalSpy folder(&loaded, &Settings::currentDirChanged);
    QVERIFY(loaded.load());
    QCOMPARE(decimals.count(), 1);
    QCOMPARE(decimals.first().at(0).toInt(), stored);
    QCOMPARE(folder.count(), 1);
    QCOMPARE(folder.first().at(0).toString(), QStringLiteral("/data"));
}

void AppSettingsTest::setCurrentDirOnlyOnChange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("emitted");
    QTest::newRow("same text") << "/data/photos" << false;
    QTest::newRow("other case") << "/data/Photos" << true;
    QTest::newRow("trailing separator") << "/data/photos/" << true;
}

void AppSettingsTest::setCurrentDirOnlyOnChange()
{
    QFETCH(QString, text);
    QFETCH(bool, emitted);

    Settings settings;
    settings.setCurrentDir(QStringLiteral("/data/photos"));
    QSignalSpy changed(&settings, &Settings::currentDirChanged);
    settings.setCurrentDir(text);
    QCOMPARE(changed.count(), emitted ? 1 : 0);
    QCOMPARE(settings.currentDir(), text);
}

void AppSettingsTest::setDecimalPlacesOnlyOnChange()
{
    Settings settings;
    QSignalSpy changed(&settings, &Settings::decimalPlacesChanged);
    settings.setDecimalPlaces(3);
    QCOMPARE(changed.count(), 0);
    settings.setDecimalPlaces(0);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toInt(), 0);
}

void AppSettingsTest::geometryForCreatesOnceAndKeepsReferences()
{
    Settings settings;
    Geometry &first = settings.geometryFor(QStringLiteral("/a/first.jpg"));
    QVERIFY(first.isNew());
    first.setRulerLength(42);
    Geometry *address = &first;
    for (int i = 0; i < 1000; ++i)
        settings.geometryFor(QStringLiteral("/a/%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
    QVERIFY(settings.save());
    QCOMPARE(&settings.geometryFor(QStringLiteral("/a/first.jpg")), address);
    QCOMPARE(address->rulerLength(), 42.0);
    QCOMPARE(settings.geometryCount(), 1001);
    QCOMPARE(&settings.geometryFor(QStringLiteral("/a/FIRST.jpg")) == address, false);
}

void AppSettingsTest::unusedRecordIsWritten()
{
    {
        Settings settings;
        settings.geometryFor(QStringLiteral("/never/shown.jpg"));
    }
    Settings loaded;
    QVERIFY(loaded.load());
    QCOMPARE(loaded.geometryCount(), 1);
    QVERIFY(!loaded.geometryFor(QStringLiteral("/never/shown.jpg")).isNew());
}

void AppSettingsTest::destructionSaves()
{
    {
        Settings settings;
        settings.setDecimalPlaces(7);
    }
    QVERIFY(QFile::exists(m_fileName));
    Settings loaded;
    loaded.load();
    QCOMPARE(loaded.decimalPlaces(), 7);
}

void AppSettingsTest::storedFileRoundTripsByteForByte()
{
    QFile fixture(QStringLiteral(MENSOR_TEST_DATA "/settings-v1.xml"));
    QVERIFY(fixture.open(QIODevice::ReadOnly));
    const QByteArray original = fixture.readAll();
    QDir().mkpath(QFileInfo(m_fileName).absolutePath());
    QFile file(m_fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(original);
    file.close();
    {
        Settings settings;
        QVERIFY(settings.load());
        QCOMPARE(settings.geometryFor(QStringLiteral("/home/lab/photos/IMG_0001.JPG")).pointCount(), 3);
        QVERIFY(settings.save());
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), original);
}

MENSOR_GUITEST_MAIN(AppSettingsTest)
#include "appsettingstest.moc"
