#include "graphicsview.h"

#include "testutils.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QScrollBar>

using vireo::GraphicsView;

namespace {

// Records which presses and releases reach the scene.
class RecordingScene : public QGraphicsScene
{
public:
    RecordingScene()
        : QGraphicsScene(0, 0, 4000, 3000)
    {
    }
    int presses = 0;
    int releases = 0;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override
    {
        ++presses;
        QGraphicsScene::mousePressEvent(event);
    }
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override
    {
        ++releases;
        QGraphicsScene::mouseReleaseEvent(event);
    }
};

// An item that takes every press, as a point item does.
class GrabbingItem : public QGraphicsRectItem
{
public:
    GrabbingItem()
        : QGraphicsRectItem(1000, 1000, 400, 400)
    {
    }

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override { event->accept(); }
};

struct Fixture
{
    Fixture()
    {
        view.resize(400, 300);
        view.setScene(&scene);
        view.show();
    }

    void send(QEvent::Type type, QPoint position, Qt::MouseButton button = Qt::LeftButton)
    {
        sendMouse(view.viewport(), type, position, button);
    }

    void drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        send(QEvent::MouseButtonPress, from, button);
        send(QEvent::MouseMove, to, button);
        send(QEvent::MouseButtonRelease, to, button);
    }

    void wheel(int delta, QPointF position = QPointF(200, 150))
    {
        QWheelEvent event(position, view.viewport()->mapToGlobal(position.toPoint()), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &event);
    }

    QPoint scroll() const { return QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()); }

    RecordingScene scene;
    GraphicsView view;
};

} // namespace

class GraphicsViewTest : public QObject
{
    Q_OBJECT

private slots:
    void startsAtLevelTen();
    void zoomLevelsAreClampedAndAnnounced_data();
    void zoomLevelsAreClampedAndAnnounced();
    void wheelZoomsInWholeSteps_data();
    void wheelZoomsInWholeSteps();
    void wheelKeepsThePointUnderThePointer_data();
    void wheelKeepsThePointUnderThePointer();
    void smallMoveIsAClick_data();
    void smallMoveIsAClick();
    void panningFollowsTheMouse_data();
    void panningFollowsTheMouse();
    void pressOnAnItemNeitherPansNorClicks();
    void releaseAfterActivationIsSwallowed();
    void pressDisarmsTheSwallowedRelease();
    void rightButtonNeverPans();
};

void GraphicsViewTest::startsAtLevelTen()
{
    GraphicsView view;
    QCOMPARE(view.zoomLevel(), 10);
    QCOMPARE(view.transform().m11(), 0.2 * 1.2 * 1.2);
    QCOMPARE(view.transformationAnchor(), QGraphicsView::AnchorUnderMouse);
    QCOMPARE(view.resizeAnchor(), QGraphicsView::AnchorViewCenter);
}

void GraphicsViewTest::zoomLevelsAreClampedAndAnnounced_data()
{
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("level");
    QTest::addColumn<double>("scale");

    QTest::newRow("zero") << 0 << 1 << 0.20742;
    QTest::newRow("negative") << -7 << 1 << 0.20742;
    QTest::newRow("five") << 5 << 5 << 0.24;
    QTest::newRow("twenty") << 20 << 20 << 0.41472;
    QTest::newRow("fifty") << 50 << 50 << 1.23835;
    QTest::newRow("hundred") << 100 << 100 << 7.66752;
    QTest::newRow("too high") << 250 << 100 << 7.66752;
}

void GraphicsViewTest::zoomLevelsAreClampedAndAnnounced()
{
    QFETCH(int, requested);
    QFETCH(int, level);
    QFETCH(double, scale);

    GraphicsView view;
    QSignalSpy changed(&view, &GraphicsView::zoomLevelChanged);
    view.setZoomLevel(requested);
    QCOMPARE(view.zoomLevel(), level);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toInt(), level);
    QVERIFY(qAbs(view.transform().m11() - scale) < 1e-5);
    QCOMPARE(view.transform().m22(), view.transform().m11());
    QCOMPARE(view.transform().m12(), 0.0);

    // Setting the same level again still announces it.
    view.setZoomLevel(level);
    QCOMPARE(changed.count(), 2);
}

void GraphicsViewTest::wheelZoomsInWholeSteps_data()
{
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("level");

    QTest::newRow("one notch") << 120 << 14;
    QTest::newRow("one notch back") << -120 << 6;
    QTest::newRow("delta 29") << 29 << 10;
    QTest::newRow("delta -45") << -45 << 9;
    QTest::newRow("huge") << 12000 << 100;
}

void GraphicsViewTest::wheelZoomsInWholeSteps()
{
    QFETCH(int, delta);
    QFETCH(int, level);

    Fixture f;
    const QPoint before = f.scroll();
    f.wheel(delta);
    QCOMPARE(f.view.zoomLevel(), level);
    if (level == 10)
        QCOMPARE(f.scroll(), before);
}

void GraphicsViewTest::wheelKeepsThePointUnderThePointer_data()
{
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<QSizeF>("image");
    QTest::addColumn<bool>("rightToLeft");
    QTest::newRow("centre") << QPointF(200, 150) << QSizeF(4000, 3000) << false;
    QTest::newRow("near a corner") << QPointF(23.5, 281) << QSizeF(4000, 3000) << false;
    QTest::newRow("right to left") << QPointF(350, 40) << QSizeF(4000, 3000) << true;
    QTest::newRow("image lower than the view") << QPointF(90, 160) << QSizeF(4000, 200) << false;
}

// Twenty notches in and twenty out: the image point under the pointer stays
// there, within a pixel, wherever the image is larger than the view.
void GraphicsViewTest::wheelKeepsThePointUnderThePointer()
{
    QFETCH(QPointF, pointer);
    QFETCH(QSizeF, image);
    QFETCH(bool, rightToLeft);

    Fixture f;
    f.scene.setSceneRect(QRectF(QPointF(0, 0), image));
    f.view.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    f.view.centerOn(1234, 567);
    const QPointF target = f.view.viewportTransform().inverted().map(pointer);
    for (int notch = 0; notch < 40; ++notch) {
        f.wheel(notch < 20 ? 120 : -120, pointer);
        const QPointF error = f.view.viewportTransform().map(target) - pointer;
        const QPointF centreError = f.view.viewportTransform().map(f.scene.sceneRect().center())
            - QRectF(f.view.viewport()->rect()).center();
        const double scale = f.view.transform().m11();
        if (image.width() * scale > f.view.viewport()->width())
            QVERIFY2(qAbs(error.x()) <= 1, qPrintable(QStringLiteral("notch %1: x off by %2").arg(notch).arg(error.x())));
        // Only as far as the scroll bar reaches, as the image just outgrows the view.
        const QScrollBar *vertical = f.view.verticalScrollBar();
        const bool atEnd = vertical->value() == vertical->minimum() || vertical->value() == vertical->maximum();
        if (image.height() * scale > f.view.viewport()->height())
            QVERIFY2(qAbs(error.y()) <= 1 || atEnd, qPrintable(QStringLiteral("notch %1: y off by %2").arg(notch).arg(error.y())));
        else
            QVERIFY2(qAbs(centreError.y()) <= 1, qPrintable(QStringLiteral("notch %1: not centred").arg(notch)));
    }
    QCOMPARE(f.view.zoomLevel(), 10);
}

void GraphicsViewTest::smallMoveIsAClick_data()
{
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<bool>("click");

    QTest::newRow("no move") << QPoint(0, 0) << true;
    QTest::newRow("5 pixels") << QPoint(5, 0) << true;
    QTest::newRow("3-4-5 diagonal") << QPoint(3, 4) << true;
    QTest::newRow("6 pixels") << QPoint(0, 6) << false;
    QTest::newRow("4-4 diagonal") << QPoint(4, 4) << false;
}

void GraphicsViewTest::smallMoveIsAClick()
{
    QFETCH(QPoint, offset);
    QFETCH(bool, click);

    Fixture f;
    f.view.setZoomLevel(50);
    const QPoint start(200, 150);
    const QPoint before = f.scroll();
    f.drag(start, start + offset);
    QCOMPARE(f.scene.presses, 1);
    QCOMPARE(f.scene.releases, click ? 1 : 0);
    QCOMPARE(f.scroll() == before, click);
    QCOMPARE(f.view.viewport()->cursor().shape(), Qt::CrossCursor);
}

void GraphicsViewTest::panningFollowsTheMouse_data()
{
    QTest::addColumn<Qt::LayoutDirection>("direction");
    QTest::newRow("left to right") << Qt::LeftToRight;
    QTest::newRow("right to left") << Qt::RightToLeft;
}

void GraphicsViewTest::panningFollowsTheMouse()
{
    QFETCH(Qt::LayoutDirection, direction);

    Fixture f;
    f.view.setLayoutDirection(direction);
    f.view.setZoomLevel(50);
    f.view.centerOn(2000, 1500);
    const QPoint start(200, 150);
    const QPoint end(230, 170);
    const QPointF grabbed = f.view.mapToScene(start);

    f.send(QEvent::MouseButtonPress, start);
    f.send(QEvent::MouseMove, end);
    QCOMPARE(f.view.viewport()->cursor().shape(), Qt::ClosedHandCursor);
    f.send(QEvent::MouseButtonRelease, end);

    // The image point under the mouse at the press is under it again.
    const QPointF now = f.view.mapToScene(end);
    QVERIFY2(QLineF(now, grabbed).length() < 1.0, qPrintable(QStringLiteral("%1,%2 vs %3,%4")
                                                               .arg(now.x()).arg(now.y()).arg(grabbed.x()).arg(grabbed.y())));
    QCOMPARE(f.scene.releases, 0);
    QCOMPARE(f.view.viewport()->cursor().shape(), Qt::CrossCursor);
}

void GraphicsViewTest::pressOnAnItemNeitherPansNorClicks()
{
    Fixture f;
    f.scene.addItem(new GrabbingItem);
    f.view.setZoomLevel(50);
    f.view.centerOn(1200, 1200);
    const QPoint onItem = f.view.mapFromScene(1200, 1200);
    const QPoint before = f.scroll();
    f.drag(onItem, onItem + QPoint(40, 40));
    QCOMPARE(f.scroll(), before);
}

void GraphicsViewTest::releaseAfterActivationIsSwallowed()
{
    Fixture f;
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&f.view, &activate);
    f.send(QEvent::MouseButtonRelease, QPoint(100, 100));
    QCOMPARE(f.scene.releases, 0);
    // Only one release is swallowed.
    f.send(QEvent::MouseButtonRelease, QPoint(100, 100));
    QCOMPARE(f.scene.releases, 1);
}

void GraphicsViewTest::pressDisarmsTheSwallowedRelease()
{
    Fixture f;
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&f.view, &activate);
    f.drag(QPoint(100, 100), QPoint(102, 100));
    QCOMPARE(f.scene.releases, 1);
}

void GraphicsViewTest::rightButtonNeverPans()
{
    Fixture f;
    f.view.setZoomLevel(50);
    const QPoint before = f.scroll();
    f.drag(QPoint(100, 100), QPoint(180, 160), Qt::RightButton);
    QCOMPARE(f.scroll(), before);
    QCOMPARE(f.scene.releases, 1);
}

MENSOR_GUITEST_MAIN(GraphicsViewTest)
#include "graphicsviewtest.moc"
