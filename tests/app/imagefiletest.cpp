#include "imagefile.h"
#include "thumbnailloader.h"

#include "testutils.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

using vireo::ImageFile;

class ImageFileTest : public QObject
{
    Q_OBJECT

private slots:
    void refusesWhatMustNotBeRead_data();
    void refusesWhatMustNotBeRead();
    void plausibleSizes_data();
    void plausibleSizes();
    void readsAPhotoOf20000By20000();
    void interruptedDecodeStopsAtItsNextRead();

private:
    QTemporaryDir m_dir;
};

void ImageFileTest::refusesWhatMustNotBeRead_data()
{
    QTest::addColumn<QString>("path");
    const QString pipe = m_dir.filePath(QStringLiteral("pipe.jpg"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString linkToPipe = m_dir.filePath(QStringLiteral("link.jpg"));
    QVERIFY(QFile::link(pipe, linkToPipe));
    const QString linkToDevice = m_dir.filePath(QStringLiteral("zero.png"));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), linkToDevice));
    const QString decoy = m_dir.filePath(QStringLiteral("decoy.xbm"));
    QFile file(decoy);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#define d_width 23000\n#define d_height 23000\nstatic char d_bits[] = {\n0x00 };\n");
    file.close();

    QTest::newRow("named pipe") << pipe;
    QTest::newRow("link to a pipe") << linkToPipe;
    QTest::newRow("link to a device") << linkToDevice;
    QTest::newRow("folder") << m_dir.path();
    QTest::newRow("missing") << m_dir.filePath(QStringLiteral("missing.png"));
    QTest::newRow("84 bytes claiming 23000 x 23000") << decoy;
}

void ImageFileTest::refusesWhatMustNotBeRead()
{
    QFETCH(QString, path);
    ImageFile file(path);
    QVERIFY(file.read().isNull());
    QVERIFY(!file.errorString().isEmpty());
    QVERIFY(file.readThumbnail(100).isNull());
    QVERIFY(vireo::ThumbnailLoader::loadThumbnail(path).isNull());
}

void ImageFileTest::plausibleSizes_data()
{
    QTest::addColumn<QSize>("claimed");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<bool>("plausible");
    QTest::newRow("unknown size") << QSize() << qint64(10) << true;
    QTest::newRow("small image, tiny file") << QSize(1024, 1024) << qint64(1) << true;
    QTest::newRow("one-bit PNG at deflate's best") << QSize(20000, 20000) << qint64(400000000 / 8 / 1032) << true;
    QTest::newRow("decoy") << QSize(23000, 23000) << qint64(84) << false;
    QTest::newRow("2 GiB, large file") << QSize(32768, 16384) << qint64(100000000) << false;
    QTest::newRow("just under 2 GiB, large file") << QSize(32767, 16384) << qint64(100000000) << true;
}

void ImageFileTest::plausibleSizes()
{
    QFETCH(QSize, claimed);
    QFETCH(qint64, bytes);
    QFETCH(bool, plausible);
    QCOMPARE(ImageFile::isPlausibleSize(claimed, bytes), plausible);
}

// A grey map keeps the test fast (a sparse file, no encoding) and still
// needs 400 MB decoded: more than Qt 6 decodes by default.
void ImageFileTest::readsAPhotoOf20000By20000()
{
    const QString path = m_dir.filePath(QStringLiteral("large.pgm"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray header = "P5\n20000 20000\n255\n";
    file.write(header);
    QVERIFY(file.resize(header.size() + qint64(20000) * 20000));
    file.close();

    ImageFile image(path);
    QCOMPARE(image.read().size(), QSize(20000, 20000));
    QCOMPARE(image.readThumbnail(100).size(), QSize(100, 100));
}

void ImageFileTest::interruptedDecodeStopsAtItsNextRead()
{
    // Noise does not compress: many reads of the file.
    QImage noise(1500, 1500, QImage::Format_RGB32);
    quint32 state = 1;
    for (int y = 0; y < noise.height(); ++y) {
        auto line = reinterpret_cast<quint32 *>(noise.scanLine(y));
        for (int x = 0; x < noise.width(); ++x)
            line[x] = state = state * 1664525u + 1013904223u;
    }
    const QString path = m_dir.filePath(QStringLiteral("noise.png"));
    QVERIFY(noise.save(path));

    int reads = 0;
    QVERIFY(!ImageFile(path).readThumbnail(100, [&reads] { return ++reads < 0; }).isNull());
    QVERIFY2(reads > 20, qPrintable(QString::number(reads)));
    int readsUntilStopped = 0;
    QVERIFY(ImageFile(path).readThumbnail(100, [&readsUntilStopped] { return ++readsUntilStopped > 3; }).isNull());
    QVERIFY2(readsUntilStopped < 8, qPrintable(QString::number(readsUntilStopped)));
}

MENSOR_GUITEST_MAIN(ImageFileTest)
#include "imagefiletest.moc"
