// The zoomable view of every editor: zooming, scrolling and panning, and
// every input event passed on as a signal (tests/data/viewzoomable).

#include "views/qgraphicsviewzoomable.h"
#include "support/core/datatable.h"

#include <QGraphicsRectItem>
#include <QMimeData>
#include <QScrollBar>

class ZoomableViewTest : public QObject {
    Q_OBJECT

    QGraphicsScene scene {0, 0, 4000, 4000};
    std::unique_ptr<QGraphicsViewZoomable> view;
    QStringList shown;
    const QEvent* sent = nullptr; // a signal with another event shows with "?"

    template<typename Event>
    void record(void (QGraphicsViewZoomable::*signal)(Event*), const QString& name)
    {
        connect(view.get(), signal, this, [this, name](Event* event) {
            const bool grabbed = name == "mousePress" && scene.mouseGrabberItem();
            shown << name + (event == sent ? "" : "?") + (grabbed ? " grabbed" : "");
        });
    }
    void send(QObject* receiver, QEvent&& event)
    {
        sent = &event;
        QApplication::sendEvent(receiver, &event);
    }

private slots:
    void input_data() { datatable::addRows("viewzoomable/input.txt"); }

    void input()
    {
        QFETCH(QStringList, fields);
        QGraphicsRectItem item(0, 0, 4000, 4000);
        item.setFlag(QGraphicsItem::ItemIsMovable);
        scene.addItem(&item);
        view.reset(new QGraphicsViewZoomable);
        view->setScene(&scene);
        view->resize(200, 200);
        view->setLayoutDirection(fields[0].contains("right to left") ? Qt::RightToLeft : Qt::LeftToRight);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QWidget* viewport = view->viewport();
        const QRegularExpressionMatch zoom = QRegularExpression("zoom (\\d+)").match(fields[0]);
        view->setZoom(zoom.hasMatch() ? zoom.captured(1).toDouble() : 1.0);
        view->setZoomEnabled(!fields[0].contains("zoom off"));
        view->horizontalScrollBar()->setValue(1000);
        view->verticalScrollBar()->setValue(1000);
        view->setTransformationAnchor(QGraphicsView::AnchorViewCenter);
        viewport->setCursor(Qt::CrossCursor);
        const QPoint at(30, 30), corner = view->mapToScene(0, 0).toPoint();
        QTest::mouseMove(viewport, at - QPoint(1, 1));
        QTest::mouseMove(viewport, at);
        connect(view.get(), &QGraphicsViewZoomable::zoomChanged, this,
                [this](double zoom) { shown << "zoomChanged " + QString::number(zoom); });
#define RECORD(signal) record(&QGraphicsViewZoomable::signal, #signal)
        RECORD(mousePress), RECORD(mouseMove), RECORD(mouseRelease), RECORD(mouseDoubleClick), RECORD(mouseEnter);
        RECORD(mouseLeave), RECORD(mouseWheel), RECORD(dragEnter), RECORD(dragMove), RECORD(dragLeave), RECORD(drop);
        RECORD(keyPress), RECORD(keyRelease);
#undef RECORD
        shown.clear();

        const QMap<QString, QEvent::Type> mouse {{"press", QEvent::MouseButtonPress}, {"move", QEvent::MouseMove},
                                                 {"release", QEvent::MouseButtonRelease},
                                                 {"double", QEvent::MouseButtonDblClick}};
        const QMap<QString, Qt::MouseButton> buttons {{"left", Qt::LeftButton}, {"middle", Qt::MiddleButton}};
        QPointF underWheel;
        QMimeData data;
        for (const QString& step : fields[1].split(", ")) {
            const QStringList w = step.split(' ');
            const QPoint pos(w.value(2).toInt(), w.value(3).toInt());
            if (w.contains("wheel")) {
                underWheel = view->mapToScene(at);
                send(viewport, QWheelEvent(at, viewport->mapToGlobal(at), {}, {0, w.last().toInt()}, Qt::NoButton,
                                           w[0] == "ctrl" ? Qt::ControlModifier : Qt::NoModifier, Qt::NoScrollPhase, false));
            } else if (mouse.contains(w[0])) {
                const QEvent::Type type = mouse[w[0]];
                const Qt::MouseButton button = buttons.value(w[1], Qt::NoButton);
                const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
                send(viewport, QMouseEvent(type, pos, viewport->mapToGlobal(pos),
                                           type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier));
            } else if (w[0] == "enter" || w[0] == "leave") {
                send(view.get(), QEvent(w[0] == "enter" ? QEvent::Enter : QEvent::Leave));
            } else if (step == "drag enter") {
                send(viewport, QDragEnterEvent(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier));
            } else if (step == "drag move") {
                send(viewport, QDragMoveEvent(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier));
            } else if (step == "drop") {
                send(viewport, QDropEvent(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier));
            } else if (step == "drag leave") {
                send(viewport, QDragLeaveEvent());
            } else if (w[0] == "key") {
                send(view.get(), QKeyEvent(w[1] == "press" ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_A, {}, "a"));
            } else if (step == "zoom") {
                const bool kept = view->transform() == QTransform::fromScale(view->zoomFactor(), view->zoomFactor())
                    && view->transformationAnchor() == QGraphicsView::AnchorViewCenter;
                shown << QStringLiteral("at %1%2").arg(view->zoomFactor()).arg(kept ? "" : " (transform or anchor changed)");
            } else if (step == "anchor") {
                const QPointF moved = view->mapToScene(at) - underWheel;
                shown << (qAbs(moved.x()) <= 1 && qAbs(moved.y()) <= 1 ? "anchor kept" : "anchor moved");
            } else if (step == "scrolled") {
                shown << (view->mapToScene(0, 0).y() > corner.y() ? "scrolled" : "not scrolled");
            } else if (step == "scroll") {
                const QPoint scroll(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
                shown << QStringLiteral("scroll %1 %2").arg(scroll.x() - 1000).arg(scroll.y() - 1000);
            } else if (step == "cursor") {
                const QMap<int, QString> shapes {{Qt::CrossCursor, "cross"}, {Qt::ClosedHandCursor, "closed hand"}};
                shown << "cursor " + shapes.value(viewport->cursor().shape(), "other");
            }
        }
        QCOMPARE(shown.join(", "), fields[2]);
        view.reset();
        scene.removeItem(&item);
    }
};

QTEST_MAIN(ZoomableViewTest)
#include "tst_qgraphicsviewzoomable.moc"
