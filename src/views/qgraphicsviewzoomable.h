#pragma once

#include <QCursor>
#include <QGraphicsView>
#include <QPoint>

class QDragEnterEvent;
class QDragLeaveEvent;
class QDragMoveEvent;
class QDropEvent;
class QEvent;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

// The graphics view of every editor. Ctrl+wheel zooms in whole steps from 1
// to 32 around the mouse, a middle-button drag pans, and every mouse, key
// and drag-and-drop event is re-emitted as a signal after the view has
// handled it, so the owning editor handles input in its own slots. The
// signals carry the view's own event object: a slot may accept or ignore it
// but must not keep the pointer.
//
// Panning starts on a middle-button press and ends when that button is
// released; while it lasts the viewport shows a closed hand, and the press
// and moves bypass the base view (and so the scene) but are still emitted.
//
// Mouse events arrive in viewport coordinates (event->pos()); map them with
// mapToScene().
class QGraphicsViewZoomable : public QGraphicsView {
    Q_OBJECT
public:
    explicit QGraphicsViewZoomable(QWidget* parent = nullptr);

    // The current uniform scale of the view, 1.0 initially.
    double zoomFactor() const { return zoomFactor_; }
    // Replaces the view's transform by a uniform scale; emits nothing.
    void setZoom(double zoomFactor);

    // Whether Ctrl+wheel zooms (true initially). When off, Ctrl+wheel
    // scrolls like a plain wheel.
    bool isZoomEnabled() const { return zoomEnabled; }
    void setZoomEnabled(bool enabled) { zoomEnabled = enabled; }

signals:
    // Only wheel zooming emits it, even when the factor stays at a limit; a
    // zooming wheel event does not scroll and arrives at mouseWheel accepted.
    void zoomChanged(double zoomFactor);
    void mousePress(QMouseEvent* event);
    void mouseMove(QMouseEvent* event);
    void mouseRelease(QMouseEvent* event);
    void mouseDoubleClick(QMouseEvent* event);
    void mouseEnter(QEvent* event);
    void mouseLeave(QEvent* event);
    void mouseWheel(QWheelEvent* event);
    void dragEnter(QDragEnterEvent* event);
    void dragMove(QDragMoveEvent* event);
    void dragLeave(QDragLeaveEvent* event);
    void drop(QDropEvent* event);
    void keyPress(QKeyEvent* event);
    void keyRelease(QKeyEvent* event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    static constexpr double minimumZoom = 1.0;
    static constexpr double maximumZoom = 32.0;

    double zoomFactor_ = 1.0;
    bool zoomEnabled = true;
    bool panning = false;      // a middle-button drag is in progress
    QPoint lastPanPos;         // viewport position at the previous panning step
    QCursor savedCursor;       // viewport cursor to restore after panning
};
