#include "geometry.h"
#include "settings.h"
#include "startup.h"

#include "testutils.h"

#include <xmldatastore.h>

using vireo::Geometry;
using vireo::Point;
using vireo::Settings;

namespace {

const kit::DataFormat storeFormat(QStringLiteral("mensor"), 1);

bool readInto(const QByteArray &xml, Geometry &geometry)
{
    struct BufferReader : kit::XmlDataReader
    {
        explicit BufferReader(const QByteArray &xml) : XmlDataReader(storeFormat) { setReader(new QXmlStreamReader(xml)); }
    } reader(xml);
    SilentMessages silence;
    reader.readObject(QStringLiteral("value"), geometry);
    return !reader.hasError();
}

} // namespace

class RecordTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(m_fileName); }

    void initTestCase()
    {
        vireo::setApplicationIdentity();
        m_fileName = Settings().fileName();
        m_silence = std::make_unique<SilentMessages>();
    }

    void wholeStoreRoundTrip()
    {
        QMainWindow window;
        window.resize(700, 500);
        const Geometry *address = nullptr;
        {
            Settings settings;
            QCOMPARE(settings.currentDir(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
            QCOMPARE(settings.decimalPlaces(), 3);
            settings.setLocale(QLocale(QLocale::German, QLocale::Germany));
            settings.saveWindowState(&window);
            settings.setCurrentDir(QStringLiteral("/photos/R&D <2026>"));
            settings.setDecimalPlaces(5);
            Geometry &image = settings.geometryFor(QStringLiteral("/photos/b.jpg"));
            QVERIFY(image.isNew());
            image.setNextId(7);
            image.addPoint(Point(3, QPointF(1, 2), QStringLiteral("a.jpg")));
            image.initialize(QSize(5, 3));
            QCOMPARE(QVariantList({image.origin(), image.rulerEnd1(), image.rulerEnd2(), image.rulerLength(), image.nextId(), image.pointCount()}),
                     QVariantList({QPointF(2.5, 1.5), QPointF(2.5, 1.5), QPointF(5, 3), 1.0, 1, 1}));
            image.initialize(QSize(640, 480));
            image.clearPoints();
            image.addPoint(Point(1, QPointF(10.5, 20), QStringLiteral("R&D <1>.png")));
            image.addPoint(Point(4, QPointF(-30, 40.25), QString()));
            image.setNextId(5);
            settings.geometryFor(QStringLiteral("/photos")).setRulerLength(25.4);
            // Records stay where they are however many are added.
            address = &image;
            for (int i = 0; i < 1000; ++i)
                settings.geometryFor(QStringLiteral("/a/%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
            QCOMPARE(&settings.geometryFor(QStringLiteral("/photos/b.jpg")), address);
            QVERIFY(settings.geometryFor(QStringLiteral("/PHOTOS")).isNew());
            // Saved when it goes.
        }
        Settings loaded;
        QVERIFY(loaded.load());
        QCOMPARE(loaded.locale().name(), QStringLiteral("de_DE"));
        QCOMPARE(loaded.currentDir(), QStringLiteral("/photos/R&D <2026>"));
        QCOMPARE(loaded.decimalPlaces(), 5);
        QCOMPARE(loaded.geometryCount(), 1003);
        const Geometry &image = loaded.geometryFor(QStringLiteral("/photos/b.jpg"));
        QCOMPARE(image.nextId(), 5);
        QCOMPARE(image.points(), QList<Point>({Point(1, QPointF(10.5, 20), QStringLiteral("R&D <1>.png")), Point(4, QPointF(-30, 40.25), QString())}));
        QCOMPARE(image.origin(), QPointF(320, 240));
        QCOMPARE(loaded.geometryFor(QStringLiteral("/photos")).rulerLength(), 25.4);
        QVERIFY(!loaded.geometryFor(QStringLiteral("/a/0999.jpg")).isNew());
        QMainWindow restored;
        loaded.restoreWindowState(&restored);
        QCOMPARE(restored.size(), QSize(700, 500));
        // Base values first, then the records, each in a fixed order.
        QByteArray xml = readFile(m_fileName);
        QStringList order;
        for (const char *name : {"<mainwindow>", "<currentdir>", "<decimalplaces>5", "<key>", "|<key>/photos/b.jpg", "<nextid>5", "<origin>",
                                 "<rulerend1>", "<rulerend2>", "<rulerlength>", "<points>", "<point>", "<id>1", "<pos>", "<file>R&amp;D"}) {
            if (*name == '|')
                xml = xml.mid(xml.indexOf(++name));
            order << QString::number(xml.indexOf(name)).rightJustified(8, QLatin1Char('0'));
        }
        QVERIFY2(std::is_sorted(order.begin() + 4, order.end()) && std::is_sorted(order.begin(), order.begin() + 4) && !order.join(QString()).contains(QLatin1Char('-')),
                 qPrintable(order.join(QLatin1Char(' '))));
    }

    void storedFileRoundTripsByteForByte()
    {
        const QByteArray original = readFile(QStringLiteral(MENSOR_TEST_DATA "/settings-v1.xml"));
        writeFile(m_fileName, original);
        {
            Settings settings;
            QVERIFY(settings.load());
            QCOMPARE(settings.geometryFor(QStringLiteral("/home/lab/photos/IMG_0001.JPG")).pointCount(), 3);
            QVERIFY(settings.save());
        }
        QCOMPARE(readFile(m_fileName), original);
    }

    void changesAreAnnouncedOnce()
    {
        {
            Settings settings;
            settings.setDecimalPlaces(0);
            settings.setCurrentDir(QStringLiteral("/data"));
        }
        Settings settings;
        QSignalSpy decimals(&settings, &Settings::decimalPlacesChanged);
        QSignalSpy folder(&settings, &Settings::currentDirChanged);
        QVERIFY(settings.load());
        settings.setDecimalPlaces(0);
        settings.setCurrentDir(QStringLiteral("/data"));
        settings.setCurrentDir(QStringLiteral("/data/"));
        settings.setDecimalPlaces(3);
        QCOMPARE(QVariantList({decimals.count(), decimals.first().at(0), decimals.last().at(0)}), QVariantList({2, 0, 3}));
        QCOMPARE(QVariantList({folder.count(), folder.first().at(0), folder.last().at(0)}), QVariantList({2, "/data", "/data/"}));
    }

    void missingValuesKeepPreviousOnes()
    {
        Geometry geometry;
        geometry.setRulerLength(3.5);
        geometry.setNextId(4);
        QVERIFY(readInto("<mensor version=\"1\"><value><origin><x>1</x><y>2</y></origin><rulerend1><x>3</x><y>4</y></rulerend1>"
                         "<rulerend2><x>5</x><y>6</y></rulerend2><points><point><pos><x>7</x><y>8</y></pos></point></points></value></mensor>",
                         geometry));
        QCOMPARE(geometry.rulerLength(), 3.5);
        QCOMPARE(geometry.nextId(), 4);
        QCOMPARE(geometry.rulerEnd2(), QPointF(5, 6));
        QCOMPARE(geometry.points(), QList<Point>({Point(0, QPointF(7, 8), QString())}));
        // Without its point group a record is damaged.
        QVERIFY(!readInto("<mensor version=\"1\"><value><nextid>2</nextid></value></mensor>", geometry));
        QCOMPARE(geometry.nextId(), 2);
    }

private:
    QString m_fileName;
    std::unique_ptr<SilentMessages> m_silence;
};

MENSOR_GUITEST_MAIN(RecordTest)
#include "recordtest.moc"
