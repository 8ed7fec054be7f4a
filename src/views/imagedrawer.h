#pragma once

#include <QImage>
#include <QWidget>

// Shows a picture scaled to the widget, keeping its aspect ratio, at the
// top left corner, and tells where the mouse is in picture coordinates.
class ImageDrawer : public QWidget {
    Q_OBJECT

public:
    explicit ImageDrawer(QWidget* parent = nullptr);

    void setImage(const QImage& picture);
    const QImage& image() const { return picture; }
    // The rectangle the picture is drawn in.
    QRect drawnRect() const;
    // The picture pixel under a widget point, or (-1, -1) outside the picture.
    QPoint pictureAt(const QPoint& point) const;
    // Room for a picture worth looking at; the layout gives it what is left.
    QSize sizeHint() const override { return QSize(400, 300); }

signals:
    void hovered(const QPoint& picturePoint);
    void clicked(const QPoint& picturePoint, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QImage picture;
};
