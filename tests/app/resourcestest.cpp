#include "resources.h"

#include "testutils.h"

#include <QImageReader>

class ResourcesTest : public QObject
{
    Q_OBJECT

private slots:
    void bundlesAreRegisteredBeforeMain();
    void everyIconIsALegiblePicture_data();
    void everyIconIsALegiblePicture();
    void cataloguesAreEmbedded_data();
    void cataloguesAreEmbedded();
};

void ResourcesTest::bundlesAreRegisteredBeforeMain()
{
    QVERIFY(vireo::resourcesRegistered());
}

void ResourcesTest::everyIconIsALegiblePicture_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");

    QTest::newRow("application 32") << ":/icon/application-icon-32x32.png" << 32;
    QTest::newRow("application 128") << ":/icon/application-icon-128x128.png" << 128;
    const char *toolbar[] = {"open-image", "open-folder", "go-next", "go-previous", "exit", "copy-coordinates",
                             "delete-point", "configure", "zoom-in", "zoom-out", "snap-horizontal", "snap-vertical",
                             "mode-calibrate", "mode-edit", "show-thumbnails", "about", "help", "color-black",
                             "color-red", "color-yellow", "clear-points", "dialog/ok", "dialog/cancel",
                             "locale/de_CH", "locale/de_DE", "locale/en_US"};
    for (const char *name : toolbar)
        QTest::newRow(name) << QStringLiteral(":/icon/%1.png").arg(QLatin1String(name)) << 24;
}

void ResourcesTest::everyIconIsALegiblePicture()
{
    QFETCH(QString, path);
    QFETCH(int, size);

    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("png"));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), QSize(size, size));
    // Legible: the picture is not blank, it has several colours.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    }
    QVERIFY(colours.size() >= 2);
}

void ResourcesTest::cataloguesAreEmbedded_data()
{
    QTest::addColumn<QString>("path");
    for (const char *name : {"de_CH", "de_DE", "libvireo_de_CH", "libvireo_de_DE"})
        QTest::newRow(name) << QStringLiteral(":/translations/%1.qm").arg(QLatin1String(name));
}

void ResourcesTest::cataloguesAreEmbedded()
{
    QFETCH(QString, path);
    QTranslator translator;
    QVERIFY(translator.load(path));
    QVERIFY(!translator.isEmpty());
}

MENSOR_GUITEST_MAIN(ResourcesTest)
#include "resourcestest.moc"
