#include "views/qgraphicsscenewithgrid.h"

#include "editing/regionoutline.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace {

// Every line of the scene is one screen pixel wide at the given zoom (the
// hover frame three), whatever the scale of the view.
QPen linePen(const QColor& color, double viewZoom, double screenPixels = 1.0)
{
    return QPen(QBrush(color), screenPixels / viewZoom, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

// Half of a black-and-white dashed line: dashes of 4 screen pixels, the
// black ones filling the gaps between the white ones.
QPen outlinePen(const QColor& color, double viewZoom, double dashOffset)
{
    QPen pen = linePen(color, viewZoom);
    pen.setDashPattern({4.0, 4.0});
    pen.setDashOffset(dashOffset);
    return pen;
}

// The range of cells [first, last] along one axis that touch the span
// [from, to] of scene coordinates.
std::pair<int, int> cellRange(double from, double to, int cellSize, int cellCount)
{
    const int first = std::max(0, int(std::floor(from / cellSize)));
    const int last = std::min(cellCount - 1, int(std::floor(to / cellSize)));
    return {first, last};
}

}  // namespace

QGraphicsSceneWithGrid::QGraphicsSceneWithGrid(QObject* parent)
    : QGraphicsScene(parent)
{
}

void QGraphicsSceneWithGrid::setBackgroundColor(const QColor& color)
{
    backgroundColor_ = color;
    update();
}

void QGraphicsSceneWithGrid::setReferenceImage(const QImage& image)
{
    referenceImage_ = image;
    update();
}

void QGraphicsSceneWithGrid::setReferenceRect(const QRectF& rect)
{
    referenceRect_ = rect;
    update();
}

void QGraphicsSceneWithGrid::setReferenceInFront(bool inFront)
{
    referenceInFront = inFront;
    update();
}

void QGraphicsSceneWithGrid::setReferenceToolActive(bool active)
{
    referenceToolActive = active;
    update();
}

void QGraphicsSceneWithGrid::setImageSize(int width, int height)
{
    imageWidth_ = width;
    imageHeight_ = height;
    update();
}

void QGraphicsSceneWithGrid::setGridSize(int cols, int rows)
{
    gridCols_ = cols;
    gridRows_ = rows;
    update();
}

void QGraphicsSceneWithGrid::setCellMode(const CellModeFunction& function)
{
    cellModeOf = function;
    update();
}

void QGraphicsSceneWithGrid::setPixelsGridVisible(bool visible)
{
    pixelsGridVisible = visible;
    update();
}

void QGraphicsSceneWithGrid::setPixelsGridColor(const QColor& color)
{
    pixelsGridColor_ = color;
    update();
}

void QGraphicsSceneWithGrid::setImagesGridVisible(bool visible)
{
    imagesGridVisible = visible;
    update();
}

void QGraphicsSceneWithGrid::setImagesGridColor(const QColor& color)
{
    imagesGridColor_ = color;
    update();
}

void QGraphicsSceneWithGrid::setSelection(const QRegion& region)
{
    selection_ = region;
    selectionOutline_ = Region::outline(region);
    update();
}

void QGraphicsSceneWithGrid::setPendingRegion(const QRegion& region)
{
    pendingRegion_ = region;
    update();
}

void QGraphicsSceneWithGrid::setHoverCell(int col, int row)
{
    hoverCol_ = col;
    hoverRow_ = row;
    update();
}

void QGraphicsSceneWithGrid::setViewZoom(double zoomFactor)
{
    viewZoom_ = zoomFactor;
    update();
}

QRect QGraphicsSceneWithGrid::cellRect(int col, int row) const
{
    return QRect(2 * col * imageWidth_, 2 * row * imageHeight_, 2 * imageWidth_, 2 * imageHeight_);
}

QRect QGraphicsSceneWithGrid::gridRect() const
{
    return QRect(0, 0, 2 * imageWidth_ * gridCols_, 2 * imageHeight_ * gridRows_);
}

void QGraphicsSceneWithGrid::drawBackground(QPainter* painter, const QRectF& rect)
{
    painter->fillRect(rect, QBrush(backgroundColor_));
    if (!referenceImage_.isNull() && !referenceInFront)
        painter->drawImage(referenceRect_, referenceImage_);
}

void QGraphicsSceneWithGrid::drawForeground(QPainter* painter, const QRectF& rect)
{
    painter->save();
    painter->setBrush(Qt::NoBrush);

    // In front of the pixels but behind the grids, so the grids stay visible.
    if (!referenceImage_.isNull() && referenceInFront)
        painter->drawImage(referenceRect_, referenceImage_);

    if (pixelsGridVisible) {
        painter->setPen(linePen(pixelsGridColor_, viewZoom_));
        painter->drawLines(pixelsGridLines(rect));
    }
    painter->setPen(linePen(imagesGridColor_, viewZoom_));
    if (imagesGridVisible)
        painter->drawLines(imagesGridLines());
    painter->drawRect(QRectF(gridRect()));

    if (!selection_.isEmpty())
        drawOutline(painter, selectionOutline_, rect);
    if (!pendingRegion_.isEmpty())
        drawOutline(painter, Region::outline(pendingRegion_), rect);

    if (hoverCol_ != -1 && hoverRow_ != -1) {
        painter->setPen(linePen(Qt::white, viewZoom_, 3.0));
        painter->drawRect(QRectF(cellRect(hoverCol_, hoverRow_)));
    }

    if (!referenceImage_.isNull() && referenceToolActive) {
        painter->setPen(linePen(Qt::white, viewZoom_));
        painter->drawRect(referenceRect_);
    }
    painter->restore();
}

QVector<QLine> QGraphicsSceneWithGrid::pixelsGridLines(const QRectF& exposed) const
{
    QVector<QLine> lines;
    if (!cellModeOf)
        return lines;
    // Cells just outside the exposed area may still reach into it with
    // their border lines.
    const double margin = 1.0 / viewZoom_;
    const auto [firstCol, lastCol] =
        cellRange(exposed.left() - margin, exposed.right() + margin, 2 * imageWidth_, gridCols_);
    const auto [firstRow, lastRow] =
        cellRange(exposed.top() - margin, exposed.bottom() + margin, 2 * imageHeight_, gridRows_);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = firstCol; col <= lastCol; ++col) {
            const int mode = cellModeOf(col, row);
            if (mode == NoSlot)
                continue;
            const QRect cell = cellRect(col, row);
            const int left = cell.x();
            const int top = cell.y();
            const int right = left + cell.width();
            const int bottom = top + cell.height();
            for (int y = 0; y <= imageHeight_; ++y)
                lines.append(QLine(left, top + 2 * y, right, top + 2 * y));
            // A multicolour pixel spans two hi-res pixels.
            const int pixelWidth = mode == MultiColorCell ? 4 : 2;
            const int columns = mode == MultiColorCell ? imageWidth_ / 2 : imageWidth_;
            for (int x = 0; x <= columns; ++x)
                lines.append(QLine(left + pixelWidth * x, top, left + pixelWidth * x, bottom));
        }
    }
    return lines;
}

QVector<QLine> QGraphicsSceneWithGrid::imagesGridLines() const
{
    QVector<QLine> lines;
    const QRect grid = gridRect();
    for (int row = 0; row <= gridRows_; ++row) {
        const int y = 2 * imageHeight_ * row;
        lines.append(QLine(0, y, grid.width(), y));
    }
    for (int col = 0; col <= gridCols_; ++col) {
        const int x = 2 * imageWidth_ * col;
        lines.append(QLine(x, 0, x, grid.height()));
    }
    return lines;
}

void QGraphicsSceneWithGrid::drawOutline(QPainter* painter, const QVector<QLine>& allLines, const QRectF& exposed) const
{
    // A selection may have millions of edges; only those in view are drawn.
    const QRect area = exposed.toAlignedRect().adjusted(-1, -1, 1, 1);
    QVector<QLine> outline;
    for (const QLine& line : allLines) {
        if (line.x2() >= area.left() && line.x1() <= area.right() && line.y2() >= area.top() && line.y1() <= area.bottom())
            outline.append(line);
    }
    painter->setPen(outlinePen(Qt::white, viewZoom_, 0.0));
    painter->drawLines(outline);
    painter->setPen(outlinePen(Qt::black, viewZoom_, 4.0));
    painter->drawLines(outline);
}
