#include "thumbnailitem.h"
#include "thumbnailloader.h"
#include "thumbnailview.h"

#include "testutils.h"

#include <QGraphicsScene>

using namespace vireo;

namespace {

void writeImage(const QString &path, QSize size, const char *format = "PNG")
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QVERIFY(image.save(path, format));
}

QDir listing(const QString &path)
{
    QDir dir(path);
    dir.setFilter(QDir::Files | QDir::Readable);
    dir.setNameFilters({QStringLiteral("*.png"), QStringLiteral("*.jpg")});
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir;
}

bool waitForCount(const ThumbnailView &view, int count)
{
    return QTest::qWaitFor([&] { return view.count() == count; }, 10000);
}

} // namespace

class ThumbnailsTest : public QObject
{
    Q_OBJECT

private slots:
    void thumbnailSizes_data();
    void thumbnailSizes();
    void itemGeometry();
    void deliveredInOrderThroughWorker();
    void unreadableFileGetsEmptyFrame();
    void layoutFollowsShape_data();
    void layoutFollowsShape();
    void nextAndPreviousStopAtTheEnds();
    void longNamesAreShortened();
    void secondRequestInterruptsFirst();
    void clearStopsRunningPass();
};

void ThumbnailsTest::thumbnailSizes_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("thumbnail");

    QTest::newRow("wide png") << QSize(400, 200) << QByteArray("PNG") << QSize(100, 50);
    QTest::newRow("tall jpeg") << QSize(300, 900) << QByteArray("JPG") << QSize(33, 100);
    QTest::newRow("large jpeg") << QSize(4000, 3000) << QByteArray("JPG") << QSize(100, 75);
    QTest::newRow("small png is enlarged") << QSize(50, 20) << QByteArray("PNG") << QSize(100, 40);
    QTest::newRow("square") << QSize(100, 100) << QByteArray("PNG") << QSize(100, 100);
}

void ThumbnailsTest::thumbnailSizes()
{
    QFETCH(QSize, size);
    QFETCH(QByteArray, format);
    QFETCH(QSize, thumbnail);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("image.") + QString::fromLatin1(format).toLower());
    writeImage(path, size, format.constData());
    const QImage image = ThumbnailLoader::loadThumbnail(path);
    QCOMPARE(image.size(), thumbnail);
    // The same size a full decode scaled afterwards gives.
    QCOMPARE(QImage(path).scaled(100, 100, Qt::KeepAspectRatio, Qt::FastTransformation).size(), thumbnail);
}

void ThumbnailsTest::itemGeometry()
{
    ThumbnailItem item;
    QImage image(100, 50, QImage::Format_RGB32);
    item.setImage(image);
    QCOMPARE(item.boundingRect(), QRectF(0, 0, 112, 112));
    QCOMPARE(item.imageRect(), QRect(6, 31, 100, 50));
    item.setFileName(QStringLiteral("/some/folder/a.png"));
    QCOMPARE(item.toolTip(), QStringLiteral("a.png"));
    QCOMPARE(item.labelText(), QStringLiteral("a.png"));
    QCOMPARE(item.fileName(), QStringLiteral("/some/folder/a.png"));
}

void ThumbnailsTest::deliveredInOrderThroughWorker()
{
    QTemporaryDir dir;
    writeImage(dir.filePath(QStringLiteral("b.png")), QSize(400, 200));
    writeImage(dir.filePath(QStringLiteral("A.png")), QSize(200, 400));
    writeImage(dir.filePath(QStringLiteral("c.jpg")), QSize(100, 100), "JPG");
    QFile::copy(dir.filePath(QStringLiteral("b.png")), dir.filePath(QStringLiteral("skipped.txt")));

    ThumbnailView view;
    view.resize(600, 200);
    QSignalSpy selected(&view, &ThumbnailView::fileSelected);
    view.loadThumbnails(listing(dir.path()));
    QVERIFY(waitForCount(view, 3));
    QCOMPARE(view.itemAt(0)->fileName(), dir.filePath(QStringLiteral("A.png")));
    QCOMPARE(view.itemAt(0)->image().size(), QSize(50, 100));
    QCOMPARE(view.itemAt(1)->image().size(), QSize(100, 50));
    QCOMPARE(view.itemAt(2)->fileName(), dir.filePath(QStringLiteral("c.jpg")));
    QCOMPARE(selected.count(), 0);
    QCOMPARE(view.currentIndex(), -1);
}

void ThumbnailsTest::unreadableFileGetsEmptyFrame()
{
    QTemporaryDir dir;
    QFile broken(dir.filePath(QStringLiteral("broken.png")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("no picture");
    broken.close();
    ThumbnailView view;
    view.loadThumbnails(listing(dir.path()));
    QVERIFY(waitForCount(view, 1));
    QVERIFY(view.itemAt(0)->image().isNull());
    QCOMPARE(view.itemAt(0)->boundingRect(), QRectF(0, 0, 12, 12));
    QVERIFY(view.itemAt(0)->labelText().endsWith(QLatin1String("...")));
}

void ThumbnailsTest::layoutFollowsShape_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPointF>("third");
    QTest::addColumn<QPointF>("turned");
    QTest::newRow("wide") << QSize(600, 200) << QPointF(250, 10) << QPointF(10, 290);
    QTest::newRow("tall") << QSize(200, 600) << QPointF(10, 290) << QPointF(250, 10);
}

void ThumbnailsTest::layoutFollowsShape()
{
    QFETCH(QSize, size);
    QFETCH(QPointF, third);
    QFETCH(QPointF, turned);

    QTemporaryDir dir;
    for (const char *name : {"1.png", "2.png", "3.png"})
        writeImage(dir.filePath(QLatin1String(name)), QSize(40, 40));
    ThumbnailView view;
    view.resize(size);
    view.show();
    view.loadThumbnails(listing(dir.path()));
    QVERIFY(waitForCount(view, 3));
    QCOMPARE(view.itemAt(2)->pos(), third);

    // Turning the widget re-arranges what is there.
    view.resize(size.transposed());
    QCOMPARE(view.itemAt(2)->pos(), turned);
}

void ThumbnailsTest::nextAndPreviousStopAtTheEnds()
{
    QTemporaryDir dir;
    for (const char *name : {"1.png", "2.png", "3.png"})
        writeImage(dir.filePath(QLatin1String(name)), QSize(40, 40));
    ThumbnailView view;
    view.loadThumbnails(listing(dir.path()));
    QVERIFY(waitForCount(view, 3));
    QSignalSpy selected(&view, &ThumbnailView::fileSelected);

    view.selectPrevious();
    QCOMPARE(selected.count(), 0);
    view.selectNext();
    QCOMPARE(view.currentIndex(), 0);
    QCOMPARE(selected.last().at(0).toString(), dir.filePath(QStringLiteral("1.png")));
    view.selectNext();
    view.selectNext();
    QCOMPARE(view.currentIndex(), 2);
    view.selectNext();
    QCOMPARE(view.currentIndex(), 2);
    QCOMPARE(selected.count(), 3);
    view.selectPrevious();
    QCOMPARE(view.currentIndex(), 1);
    QVERIFY(view.itemAt(1)->isSelected());
    QVERIFY(!view.itemAt(2)->isSelected());
    QCOMPARE(selected.count(), 4);
}

void ThumbnailsTest::longNamesAreShortened()
{
    ThumbnailItem item;
    item.setImage(QImage(100, 80, QImage::Format_RGB32));
    const QString name = QStringLiteral("a-very-long-file-name-of-a-photograph-taken-at-the-lab.jpg");
    item.setFileName(QStringLiteral("/x/") + name);
    const QString label = item.labelText();
    QVERIFY(label.endsWith(QLatin1String("...")));
    QVERIFY(name.startsWith(label.chopped(3)));
    QVERIFY(QFontMetricsF(item.font()).horizontalAdvance(label) <= item.boundingRect().width());
    QCOMPARE(item.toolTip(), name);
}

void ThumbnailsTest::secondRequestInterruptsFirst()
{
    QTemporaryDir first;
    QTemporaryDir second;
    for (int i = 0; i < 40; ++i)
        writeImage(first.filePath(QStringLiteral("%1.jpg").arg(i, 2, 10, QLatin1Char('0'))), QSize(1600, 1200), "JPG");
    writeImage(second.filePath(QStringLiteral("only.png")), QSize(30, 30));

    ThumbnailView view;
    view.loadThumbnails(listing(first.path()));
    QVERIFY(QTest::qWaitFor([&] { return view.count() >= 1; }, 10000));
    view.loadThumbnails(listing(second.path()));
    QVERIFY(waitForCount(view, 1));
    QTest::qWait(300);
    QCOMPARE(view.count(), 1);
    QCOMPARE(view.itemAt(0)->fileName(), second.filePath(QStringLiteral("only.png")));
}

void ThumbnailsTest::clearStopsRunningPass()
{
    QTemporaryDir dir;
    for (int i = 0; i < 40; ++i)
        writeImage(dir.filePath(QStringLiteral("%1.jpg").arg(i, 2, 10, QLatin1Char('0'))), QSize(1600, 1200), "JPG");
    ThumbnailView view;
    view.loadThumbnails(listing(dir.path()));
    QVERIFY(QTest::qWaitFor([&] { return view.count() >= 1; }, 10000));
    view.clear();
    QCOMPARE(view.count(), 0);
    QTest::qWait(500);
    QCOMPARE(view.count(), 0);
    QCOMPARE(view.currentIndex(), -1);
}

MENSOR_GUITEST_MAIN(ThumbnailsTest)
#include "thumbnailstest.moc"
