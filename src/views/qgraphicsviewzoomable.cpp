#include "views/qgraphicsviewzoomable.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

QGraphicsViewZoomable::QGraphicsViewZoomable(QWidget* parent)
    : QGraphicsView(parent)
{
    setMouseTracking(true);
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    setAcceptDrops(true);
}

void QGraphicsViewZoomable::setZoom(double zoomFactor)
{
    zoomFactor_ = zoomFactor;
    setTransform(QTransform::fromScale(zoomFactor_, zoomFactor_));
}

void QGraphicsViewZoomable::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        savedCursor = viewport()->cursor();
        viewport()->setCursor(Qt::ClosedHandCursor);
        lastPanPos = event->pos();
        panning = true;
        event->accept();
    } else {
        QGraphicsView::mousePressEvent(event);
    }
    emit mousePress(event);
}

void QGraphicsViewZoomable::mouseMoveEvent(QMouseEvent* event)
{
    if (panning) {
        // The content follows the mouse, so the scroll bars move against it.
        const QPoint delta = event->pos() - lastPanPos;
        QScrollBar* horizontal = horizontalScrollBar();
        horizontal->setValue(horizontal->value() + (isRightToLeft() ? delta.x() : -delta.x()));
        verticalScrollBar()->setValue(verticalScrollBar()->value() - delta.y());
        lastPanPos = event->pos();
        event->accept();
    } else {
        QGraphicsView::mouseMoveEvent(event);
    }
    emit mouseMove(event);
}

void QGraphicsViewZoomable::mouseReleaseEvent(QMouseEvent* event)
{
    if (panning && event->button() == Qt::MiddleButton) {
        panning = false;
        viewport()->setCursor(savedCursor);
    }
    QGraphicsView::mouseReleaseEvent(event);
    emit mouseRelease(event);
}

void QGraphicsViewZoomable::mouseDoubleClickEvent(QMouseEvent* event)
{
    QGraphicsView::mouseDoubleClickEvent(event);
    emit mouseDoubleClick(event);
}

void QGraphicsViewZoomable::enterEvent(QEvent* event)
{
    QGraphicsView::enterEvent(event);
    emit mouseEnter(event);
}

void QGraphicsViewZoomable::leaveEvent(QEvent* event)
{
    QGraphicsView::leaveEvent(event);
    emit mouseLeave(event);
}

void QGraphicsViewZoomable::wheelEvent(QWheelEvent* event)
{
    if (zoomEnabled && (event->modifiers() & Qt::ControlModifier)) {
        const ViewportAnchor previousAnchor = transformationAnchor();
        setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
        if (event->angleDelta().y() <= 0)
            zoomFactor_ = std::max(zoomFactor_ - 1.0, minimumZoom);
        else
            zoomFactor_ = std::min(zoomFactor_ + 1.0, maximumZoom);
        setTransform(QTransform::fromScale(zoomFactor_, zoomFactor_));
        setTransformationAnchor(previousAnchor);
        event->accept();
        emit zoomChanged(zoomFactor_);
    } else {
        QGraphicsView::wheelEvent(event);
    }
    emit mouseWheel(event);
}

void QGraphicsViewZoomable::dragEnterEvent(QDragEnterEvent* event)
{
    QGraphicsView::dragEnterEvent(event);
    emit dragEnter(event);
}

void QGraphicsViewZoomable::dragMoveEvent(QDragMoveEvent* event)
{
    QGraphicsView::dragMoveEvent(event);
    emit dragMove(event);
}

void QGraphicsViewZoomable::dragLeaveEvent(QDragLeaveEvent* event)
{
    QGraphicsView::dragLeaveEvent(event);
    emit dragLeave(event);
}

void QGraphicsViewZoomable::dropEvent(QDropEvent* event)
{
    QGraphicsView::dropEvent(event);
    emit drop(event);
}

void QGraphicsViewZoomable::keyPressEvent(QKeyEvent* event)
{
    QGraphicsView::keyPressEvent(event);
    emit keyPress(event);
}

void QGraphicsViewZoomable::keyReleaseEvent(QKeyEvent* event)
{
    QGraphicsView::keyReleaseEvent(event);
    emit keyRelease(event);
}
