#include "editors/imageset/imagelistscene.h"

#include <QPainter>

#include <cmath>

ImageListScene::ImageListScene(const ImagesetDocument* document, QObject* parent)
    : QGraphicsScene(parent)
    , document(document)
{
    setBackgroundBrush(Qt::black);
}

void ImageListScene::showCurrent()
{
    const QSize imageSize(set().imageWidth, set().imageHeight);
    if (imageSize != emptySlotSize) {
        // An empty slot: black with a grey border.
        emptySlotSize = imageSize;
        emptySlotPixmap = QPixmap(imageSize);
        emptySlotPixmap.fill(Qt::black);
        QPainter painter(&emptySlotPixmap);
        painter.setPen(QColor(96, 96, 96));
        painter.drawRect(0, 0, imageSize.width() - 1, imageSize.height() - 1);
    }
    setSceneRect(0, 0, set().selectorGridWidth * set().imageWidth, set().selectorGridHeight * set().imageHeight);
    // A smaller grid may have lost the hovered slot.
    if (hover >= set().selectorGridWidth * set().selectorGridHeight)
        hover = -1;
    invalidatePictures();
}

void ImageListScene::invalidatePictures()
{
    pictures.clear();
    invalidate(sceneRect(), QGraphicsScene::BackgroundLayer);
}

void ImageListScene::refreshSlots(const QSet<int>& stored)
{
    const int count = set().selectorGridWidth * set().selectorGridHeight;
    for (int pattern : stored) {
        // In extended background colour mode four slots show each pattern.
        for (int slot = pattern; slot >= 0 && slot < count; slot += set().isEcm() ? 64 : count) {
            pictures.remove(slot);
            invalidate(cellRect(slot), QGraphicsScene::BackgroundLayer);
        }
    }
}

void ImageListScene::setGridVisible(bool visible)
{
    gridVisible = visible;
    update();
}

void ImageListScene::setSelection(const SlotSelection& selection)
{
    // One repaint of the area around the old and the new frames: far cheaper
    // than a repaint per cell for large selections.
    QRectF changed;
    for (int slot : qAsConst(selected))
        changed |= cellRect(slot);
    selected = selection.indexes;
    for (int slot : qAsConst(selected))
        changed |= cellRect(slot);
    const qreal margin = 2.0 / zoom;
    if (!changed.isEmpty())
        update(changed.adjusted(-margin, -margin, margin, margin));
}

void ImageListScene::setHoverIndex(int index)
{
    if (index == hover)
        return;
    updateCell(hover);
    hover = index;
    updateCell(hover);
}

void ImageListScene::setZoom(double newZoom)
{
    zoom = newZoom > 0 ? newZoom : 1.0;
    update();
}

int ImageListScene::slotAt(const QPointF& position) const
{
    const int column = int(std::floor(position.x() / set().imageWidth));
    const int row = int(std::floor(position.y() / set().imageHeight));
    if (column < 0 || row < 0 || column >= set().selectorGridWidth || row >= set().selectorGridHeight)
        return -1;
    return row * set().selectorGridWidth + column;
}

QRectF ImageListScene::cellRect(int slot) const
{
    if (slot < 0)
        return {};
    return QRectF((slot % set().selectorGridWidth) * set().imageWidth, (slot / set().selectorGridWidth) * set().imageHeight,
                  set().imageWidth, set().imageHeight);
}

void ImageListScene::updateCell(int slot)
{
    if (slot < 0)
        return;
    // Frames are drawn half outside their cell.
    const qreal margin = 2.0 / zoom;
    update(cellRect(slot).adjusted(-margin, -margin, margin, margin));
}

QPixmap ImageListScene::slotPixmap(int slot)
{
    if (!set().images.contains(set().patternSlot(slot)))
        return emptySlotPixmap;
    auto cached = pictures.constFind(slot);
    if (cached == pictures.cend())
        cached = pictures.insert(slot, QPixmap::fromImage(set().toImage(slot)));
    return *cached;
}

void ImageListScene::drawBackground(QPainter* painter, const QRectF& rect)
{
    painter->fillRect(rect, Qt::black);
    // The view may ask for far more than it shows (its background cache asks
    // for the whole invalidated area): draw only what lands on the device.
    const QRectF device = painter->worldTransform().inverted().mapRect(
        QRectF(0, 0, painter->device()->width(), painter->device()->height()));
    const QRectF visible = rect.intersected(sceneRect()).intersected(device);
    if (visible.isEmpty())
        return;
    const int firstColumn = int(visible.left()) / set().imageWidth;
    const int lastColumn = qMin(set().selectorGridWidth - 1, int(std::ceil(visible.right())) / set().imageWidth);
    const int firstRow = int(visible.top()) / set().imageHeight;
    const int lastRow = qMin(set().selectorGridHeight - 1, int(std::ceil(visible.bottom())) / set().imageHeight);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const int slot = row * set().selectorGridWidth + column;
            painter->drawPixmap(column * set().imageWidth, row * set().imageHeight, slotPixmap(slot));
        }
    }
}

void ImageListScene::drawForeground(QPainter* painter, const QRectF& rect)
{
    const QRectF area = sceneRect();
    if (gridVisible) {
        QPen pen(QColor(128, 128, 128), 1.0 / zoom);
        painter->setPen(pen);
        const int firstColumn = qMax(0, int(rect.left()) / set().imageWidth);
        const int lastColumn = qMin(set().selectorGridWidth, int(std::ceil(rect.right())) / set().imageWidth + 1);
        for (int column = firstColumn; column <= lastColumn; ++column)
            painter->drawLine(QLineF(column * set().imageWidth, 0, column * set().imageWidth, area.bottom()));
        const int firstRow = qMax(0, int(rect.top()) / set().imageHeight);
        const int lastRow = qMin(set().selectorGridHeight, int(std::ceil(rect.bottom())) / set().imageHeight + 1);
        for (int row = firstRow; row <= lastRow; ++row)
            painter->drawLine(QLineF(0, row * set().imageHeight, area.right(), row * set().imageHeight));
    }

    // A green dashed frame around every selected slot, light and dark dashes
    // taking turns so that it shows on any colour.
    QPen light(QColor(79, 255, 79), 2.0 / zoom, Qt::CustomDashLine, Qt::SquareCap);
    light.setDashPattern({3, 3});
    QPen dark(QColor(16, 192, 16), 2.0 / zoom, Qt::CustomDashLine, Qt::SquareCap);
    dark.setDashPattern({3, 3});
    dark.setDashOffset(3);
    painter->setBrush(Qt::NoBrush);
    QVector<QRectF> frames;
    for (int slot : qAsConst(selected)) {
        const QRectF cell = cellRect(slot);
        if (cell.intersects(rect))
            frames.append(cell);
    }
    painter->setPen(light);
    painter->drawRects(frames);
    painter->setPen(dark);
    painter->drawRects(frames);

    if (hover >= 0) {
        painter->setPen(QPen(QColor(255, 255, 0), 2.0 / zoom));
        painter->drawRect(cellRect(hover));
    }
}
