#include "editing/referenceframe.h"

#include <QtGlobal>

namespace ReferenceFrame {

int grab(const QRect& rect, const QPoint& point)
{
    constexpr int reach = 2;
    if (!rect.adjusted(-reach, -reach, reach, reach).contains(point))
        return -1;
    const int right = rect.x() + rect.width(), bottom = rect.y() + rect.height();
    int edges = 0;
    if (point.y() < rect.y() + reach)
        edges |= Top;
    else if (point.y() >= bottom - reach)
        edges |= Bottom;
    if (point.x() < rect.x() + reach)
        edges |= Left;
    else if (point.x() >= right - reach)
        edges |= Right;
    return edges;
}

QRect drag(const QRect& rect, int edges, const QPoint& offset, bool keepAspect, const QSize& pictureSize)
{
    if (edges == 0)
        return rect.translated(offset);
    int x = rect.x(), y = rect.y(), width = rect.width(), height = rect.height();
    if (edges & Left) {
        x += offset.x();
        width -= offset.x();
    } else if (edges & Right) {
        width += offset.x();
    }
    if (edges & Top) {
        y += offset.y();
        height -= offset.y();
    } else if (edges & Bottom) {
        height += offset.y();
    }
    width = qMax(1, width);
    if (keepAspect && pictureSize.width() > 0)
        height = int(qint64(width) * pictureSize.height() / pictureSize.width());
    return QRect(x, y, width, qMax(1, height));
}

}
