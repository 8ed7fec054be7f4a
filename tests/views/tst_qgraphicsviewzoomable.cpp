// The zoomable view of every editor: Ctrl+wheel zooming between 1 and 32,
// plain wheel scrolling, middle-button panning, and every input event passed
// on as a signal after the view itself has handled it.

#include "views/qgraphicsviewzoomable.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QtTest>

namespace {

// Every signal of a view in the order it came, with the event object it carried.
struct EmittedSignal {
    QString name;
    const void* event = nullptr;
    double zoomFactor = 0.0;
};

class SignalRecorder {
public:
    explicit SignalRecorder(QGraphicsViewZoomable& view)
    {
        using V = QGraphicsViewZoomable;
        QObject::connect(&view, &V::zoomChanged, [this](double zoom) { emitted.append({"zoomChanged", nullptr, zoom}); });
        record(view, &V::mousePress, "mousePress");
        record(view, &V::mouseMove, "mouseMove");
        record(view, &V::mouseRelease, "mouseRelease");
        record(view, &V::mouseDoubleClick, "mouseDoubleClick");
        record(view, &V::mouseEnter, "mouseEnter");
        record(view, &V::mouseLeave, "mouseLeave");
        record(view, &V::mouseWheel, "mouseWheel");
        record(view, &V::dragEnter, "dragEnter");
        record(view, &V::dragMove, "dragMove");
        record(view, &V::dragLeave, "dragLeave");
        record(view, &V::drop, "drop");
        record(view, &V::keyPress, "keyPress");
        record(view, &V::keyRelease, "keyRelease");
    }

    QStringList names() const
    {
        QStringList list;
        for (const EmittedSignal& signal : emitted)
            list << signal.name;
        return list;
    }

    QList<EmittedSignal> emitted;

private:
    template<typename Event>
    void record(QGraphicsViewZoomable& view, void (QGraphicsViewZoomable::*signal)(Event*), const char* name)
    {
        QObject::connect(&view, signal, [this, name](Event* event) { emitted.append({name, event, 0.0}); });
    }
};

// A graphics item that counts the presses the scene gave it.
class PressCountingItem : public QGraphicsRectItem {
public:
    using QGraphicsRectItem::QGraphicsRectItem;
    int presses = 0;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override
    {
        ++presses;
        event->accept();
    }
};

}  // namespace

class ZoomableViewTest : public QObject {
    Q_OBJECT

    QGraphicsScene* scene = nullptr;
    QGraphicsViewZoomable* view = nullptr;

    QWidget* viewport() const { return view->viewport(); }

    void sendMouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, pos, viewport()->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &event);
    }

    static constexpr QPoint wheelPos {30, 30};

    QWheelEvent wheelEvent(int angleDeltaY, Qt::KeyboardModifiers modifiers) const
    {
        return QWheelEvent(wheelPos, viewport()->mapToGlobal(wheelPos), QPoint(), QPoint(0, angleDeltaY), Qt::NoButton,
                           modifiers, Qt::NoScrollPhase, false);
    }

    void sendWheel(int angleDeltaY, Qt::KeyboardModifiers modifiers)
    {
        QWheelEvent event = wheelEvent(angleDeltaY, modifiers);
        QApplication::sendEvent(viewport(), &event);
    }

private slots:
    void init()
    {
        scene = new QGraphicsScene(0, 0, 4000, 4000);
        view = new QGraphicsViewZoomable;
        view->setScene(scene);
        view->resize(200, 200);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        view->horizontalScrollBar()->setValue(1000);
        view->verticalScrollBar()->setValue(1000);
    }

    void cleanup()
    {
        delete view;
        delete scene;
    }

    void startsUnzoomedWithTrackingAndDrops()
    {
        QCOMPARE(view->zoomFactor(), 1.0);
        QVERIFY(view->isZoomEnabled());
        QVERIFY(view->hasMouseTracking());
        QVERIFY(view->acceptDrops());
        QCOMPARE(view->viewportUpdateMode(), QGraphicsView::FullViewportUpdate);
    }

    void setZoomScalesWithoutSignal()
    {
        SignalRecorder recorder(*view);
        view->setZoom(3.0);
        QCOMPARE(view->zoomFactor(), 3.0);
        QCOMPARE(view->transform(), QTransform::fromScale(3.0, 3.0));
        view->setZoom(1.0);
        QCOMPARE(view->transform(), QTransform());
        QVERIFY(recorder.emitted.isEmpty());
    }

    void ctrlWheelUpZoomsInOneStepAroundTheMouse()
    {
        QTest::mouseMove(viewport(), wheelPos);
        QVERIFY(view->underMouse());
        const QPointF underMouse = view->mapToScene(wheelPos);
        view->setTransformationAnchor(QGraphicsView::AnchorViewCenter);
        SignalRecorder recorder(*view);

        QWheelEvent event = wheelEvent(120, Qt::ControlModifier);
        QApplication::sendEvent(viewport(), &event);

        QCOMPARE(view->zoomFactor(), 2.0);
        QCOMPARE(view->transform(), QTransform::fromScale(2.0, 2.0));
        QCOMPARE(recorder.names(), QStringList({"zoomChanged", "mouseWheel"}));
        QCOMPARE(recorder.emitted.at(0).zoomFactor, 2.0);
        QCOMPARE(recorder.emitted.at(1).event, &event);
        // The scene point under the mouse stays there, and the view's own
        // anchor is back afterwards.
        const QPointF moved = view->mapToScene(wheelPos) - underMouse;
        QVERIFY2(qAbs(moved.x()) <= 1.0 && qAbs(moved.y()) <= 1.0,
                 qPrintable(QStringLiteral("moved by %1, %2").arg(moved.x()).arg(moved.y())));
        QCOMPARE(view->transformationAnchor(), QGraphicsView::AnchorViewCenter);
    }

    void ctrlWheelDownZoomsOutOneStep()
    {
        view->setZoom(3.0);
        SignalRecorder recorder(*view);
        sendWheel(-120, Qt::ControlModifier);
        QCOMPARE(view->zoomFactor(), 2.0);
        QCOMPARE(view->transform(), QTransform::fromScale(2.0, 2.0));
        QCOMPARE(recorder.names(), QStringList({"zoomChanged", "mouseWheel"}));
    }

    void ctrlWheelDownAtOneStaysAtOne()
    {
        SignalRecorder recorder(*view);
        sendWheel(-120, Qt::ControlModifier);
        QCOMPARE(view->zoomFactor(), 1.0);
        QCOMPARE(view->transform(), QTransform());
        QCOMPARE(recorder.names(), QStringList({"zoomChanged", "mouseWheel"}));
        QCOMPARE(recorder.emitted.at(0).zoomFactor, 1.0);
    }

    void ctrlWheelWithoutVerticalDeltaZoomsOut()
    {
        view->setZoom(5.0);
        sendWheel(0, Qt::ControlModifier);
        QCOMPARE(view->zoomFactor(), 4.0);
    }

    void ctrlWheelUpAtThirtyTwoStaysThere()
    {
        view->setZoom(32.0);
        SignalRecorder recorder(*view);
        sendWheel(120, Qt::ControlModifier);
        QCOMPARE(view->zoomFactor(), 32.0);
        QCOMPARE(view->transform(), QTransform::fromScale(32.0, 32.0));
        QCOMPARE(recorder.names(), QStringList({"zoomChanged", "mouseWheel"}));
        QCOMPARE(recorder.emitted.at(0).zoomFactor, 32.0);
    }

    void wheelWithoutCtrlScrolls()
    {
        SignalRecorder recorder(*view);
        const int vertical = view->verticalScrollBar()->value();

        QWheelEvent event = wheelEvent(-120, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &event);

        QVERIFY(view->verticalScrollBar()->value() > vertical);
        QCOMPARE(view->zoomFactor(), 1.0);
        QCOMPARE(recorder.names(), QStringList({"mouseWheel"}));
        QCOMPARE(recorder.emitted.at(0).event, &event);
    }

    void ctrlWheelScrollsWhileZoomIsDisabled()
    {
        view->setZoomEnabled(false);
        QVERIFY(!view->isZoomEnabled());
        SignalRecorder recorder(*view);
        const int vertical = view->verticalScrollBar()->value();

        sendWheel(-120, Qt::ControlModifier);

        QVERIFY(view->verticalScrollBar()->value() > vertical);
        QCOMPARE(view->zoomFactor(), 1.0);
        QCOMPARE(recorder.names(), QStringList({"mouseWheel"}));

        view->setZoomEnabled(true);
        sendWheel(120, Qt::ControlModifier);
        QCOMPARE(view->zoomFactor(), 2.0);
    }

    void middleButtonDragPansAndRestoresCursor()
    {
        viewport()->setCursor(Qt::CrossCursor);
        SignalRecorder recorder(*view);
        QScrollBar* horizontal = view->horizontalScrollBar();
        QScrollBar* vertical = view->verticalScrollBar();

        sendMouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::MiddleButton, Qt::MiddleButton);
        QCOMPARE(viewport()->cursor().shape(), Qt::ClosedHandCursor);

        // The content follows the mouse: dragging left and up scrolls right and down.
        sendMouse(QEvent::MouseMove, QPoint(80, 70), Qt::NoButton, Qt::MiddleButton);
        QCOMPARE(horizontal->value(), 1020);
        QCOMPARE(vertical->value(), 1030);
        sendMouse(QEvent::MouseMove, QPoint(90, 75), Qt::NoButton, Qt::MiddleButton);
        QCOMPARE(horizontal->value(), 1010);
        QCOMPARE(vertical->value(), 1025);

        sendMouse(QEvent::MouseButtonRelease, QPoint(90, 75), Qt::MiddleButton, Qt::NoButton);
        QCOMPARE(viewport()->cursor().shape(), Qt::CrossCursor);
        QCOMPARE(recorder.names(), QStringList({"mousePress", "mouseMove", "mouseMove", "mouseRelease"}));

        // Once released, moving the mouse no longer scrolls.
        sendMouse(QEvent::MouseMove, QPoint(10, 10), Qt::NoButton, Qt::NoButton);
        QCOMPARE(horizontal->value(), 1010);
        QCOMPARE(vertical->value(), 1025);
    }

    void panningMirrorsHorizontallyRightToLeft()
    {
        view->setLayoutDirection(Qt::RightToLeft);
        QScrollBar* horizontal = view->horizontalScrollBar();
        horizontal->setValue(1000);

        sendMouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::MiddleButton, Qt::MiddleButton);
        sendMouse(QEvent::MouseMove, QPoint(80, 100), Qt::NoButton, Qt::MiddleButton);
        sendMouse(QEvent::MouseButtonRelease, QPoint(80, 100), Qt::MiddleButton, Qt::NoButton);

        QCOMPARE(horizontal->value(), 980);
    }

    void middleButtonPressBypassesTheScene()
    {
        auto* item = new PressCountingItem(0, 0, 4000, 4000);
        scene->addItem(item);
        sendMouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::MiddleButton, Qt::MiddleButton);
        sendMouse(QEvent::MouseButtonRelease, QPoint(100, 100), Qt::MiddleButton, Qt::NoButton);
        QCOMPARE(item->presses, 0);
    }

    void pressReachesTheSceneBeforeTheSignal()
    {
        auto* item = new PressCountingItem(0, 0, 4000, 4000);
        scene->addItem(item);
        int pressesSeenBySignal = -1;
        connect(view, &QGraphicsViewZoomable::mousePress, this,
                [&](QMouseEvent*) { pressesSeenBySignal = item->presses; });

        sendMouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton, Qt::LeftButton);
        sendMouse(QEvent::MouseButtonRelease, QPoint(100, 100), Qt::LeftButton, Qt::NoButton);

        QCOMPARE(item->presses, 1);
        QCOMPARE(pressesSeenBySignal, 1);
    }

    void everyEventIsPassedOnAsItsSignal()
    {
        SignalRecorder recorder(*view);
        QList<const void*> sent;
        const QPoint pos(50, 60);
        const QPoint global = viewport()->mapToGlobal(pos);

        QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent move(QEvent::MouseMove, pos, global, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, pos, global, Qt::LeftButton, Qt::LeftButton,
                                Qt::NoModifier);
        for (QMouseEvent* event : {&press, &move, &release, &doubleClick}) {
            QApplication::sendEvent(viewport(), event);
            sent << event;
        }

        QEvent enter(QEvent::Enter);
        QEvent leave(QEvent::Leave);
        for (QEvent* event : {&enter, &leave}) {
            QApplication::sendEvent(view, event);
            sent << event;
        }

        QMimeData mimeData;
        mimeData.setText(QStringLiteral("1,2"));
        QDragEnterEvent dragEnter(pos, Qt::CopyAction, &mimeData, Qt::LeftButton, Qt::NoModifier);
        QDragMoveEvent dragMove(pos, Qt::CopyAction, &mimeData, Qt::LeftButton, Qt::NoModifier);
        QDragLeaveEvent dragLeave;
        QDropEvent drop(pos, Qt::CopyAction, &mimeData, Qt::LeftButton, Qt::NoModifier);
        for (QEvent* event : std::initializer_list<QEvent*> {&dragEnter, &dragMove, &dragLeave, &dragEnter, &drop}) {
            QApplication::sendEvent(viewport(), event);
            sent << event;
        }

        QKeyEvent keyPress(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QKeyEvent keyRelease(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        for (QKeyEvent* event : {&keyPress, &keyRelease}) {
            QApplication::sendEvent(view, event);
            sent << event;
        }

        QCOMPARE(recorder.names(),
                 QStringList({"mousePress", "mouseMove", "mouseRelease", "mouseDoubleClick", "mouseEnter",
                              "mouseLeave", "dragEnter", "dragMove", "dragLeave", "dragEnter", "drop", "keyPress",
                              "keyRelease"}));
        for (int i = 0; i < sent.size(); ++i)
            QCOMPARE(recorder.emitted.at(i).event, sent.at(i));
    }
};

QTEST_MAIN(ZoomableViewTest)
#include "tst_qgraphicsviewzoomable.moc"
