#include "resources.h"

#include "testutils.h"

#include <QDirIterator>
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

    QDirIterator icons(QStringLiteral(":/icon"), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    int count = 0;
    while (icons.hasNext()) {
        ++count;
        const QString path = icons.next();
        if (path.endsWith(QLatin1String("@2x.png")))
            continue;
        const int size = path.contains(QLatin1String("128x128")) ? 128 : path.contains(QLatin1String("32x32")) ? 32 : 24;
        QTest::newRow(qPrintable(path)) << path << size;
        // Crisp at 200 %: the toolkit picks the double-size picture by its name.
        QString doubled = path;
        doubled.insert(path.size() - 4, QLatin1String("@2x"));
        QTest::newRow(qPrintable(doubled)) << doubled << 2 * size;
    }
    QVERIFY(count > 40);
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
