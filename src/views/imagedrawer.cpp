#include "views/imagedrawer.h"

#include <QMouseEvent>
#include <QPainter>

ImageDrawer::ImageDrawer(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setMinimumSize(64, 64);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ImageDrawer::setImage(const QImage& image)
{
    picture = image;
    update();
}

QRect ImageDrawer::drawnRect() const
{
    if (picture.isNull())
        return QRect();
    const QSize size = picture.size().scaled(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint(0, 0), size.expandedTo(QSize(1, 1)));
}

QPoint ImageDrawer::pictureAt(const QPoint& point) const
{
    const QRect drawn = drawnRect();
    if (!drawn.contains(point))
        return QPoint(-1, -1);
    // Through the drawn rectangle, never past the last pixel.
    const int x = int(qint64(point.x() - drawn.left()) * picture.width() / drawn.width());
    const int y = int(qint64(point.y() - drawn.top()) * picture.height() / drawn.height());
    return QPoint(qMin(x, picture.width() - 1), qMin(y, picture.height() - 1));
}

void ImageDrawer::paintEvent(QPaintEvent*)
{
    if (picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(drawnRect(), picture);
}

void ImageDrawer::mouseMoveEvent(QMouseEvent* event)
{
    emit hovered(pictureAt(event->pos()));
}

void ImageDrawer::mousePressEvent(QMouseEvent* event)
{
    emit clicked(pictureAt(event->pos()), event->button());
}

void ImageDrawer::leaveEvent(QEvent*)
{
    emit hovered(QPoint(-1, -1));
}
