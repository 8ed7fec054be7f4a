#include "editors/imageset/layersitem.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <cmath>

LayersItem::LayersItem(const ImagesetDocument* document, const EditingGrid* grid)
    : document(document)
    , grid(grid)
{
    setFlag(ItemUsesExtendedStyleOption);
}

void LayersItem::setLayerShown(int layer, bool visible)
{
    shown[size_t(layer)] = visible;
    update();
}

void LayersItem::setReferenceBehind(bool behind)
{
    referenceBehind = behind;
    refresh();
}

void LayersItem::refresh()
{
    prepareGeometryChange();
    pictures.clear();
    update();
}

void LayersItem::refreshSlots(const QSet<int>& stored)
{
    const Imageset& set = document->current();
    for (auto it = pictures.begin(); it != pictures.end();) {
        if (stored.contains(set.patternSlot(it.key() / 2)))
            it = pictures.erase(it);
        else
            ++it;
    }
    const QSizeF cell(2.0 * set.imageWidth, 2.0 * set.imageHeight);
    for (int layer = 0; layer < EditingGrid::layerCount; ++layer) {
        if (!shown[size_t(layer)] || grid->isEmpty(layer))
            continue;
        for (int row = 0; row < grid->rows(); ++row) {
            for (int column = 0; column < grid->columns(); ++column) {
                const int slot = grid->slotAt(layer, column, row);
                if (slot >= 0 && stored.contains(set.patternSlot(slot)))
                    update(QRectF(QPointF(column * cell.width(), row * cell.height()), cell));
            }
        }
    }
}

QRectF LayersItem::boundingRect() const
{
    const Imageset& set = document->current();
    return QRectF(0, 0, 2.0 * grid->columns() * set.imageWidth, 2.0 * grid->rows() * set.imageHeight);
}

const QPixmap& LayersItem::picture(int slot, bool transparent)
{
    const int key = slot * 2 + (transparent ? 1 : 0);
    auto it = pictures.find(key);
    if (it == pictures.end()) {
        // An empty slot shows as an image of code 0, which drawing will fill.
        const Imageset& set = document->current();
        ImageData image = set.displayedImage(slot);
        if (image.isEmpty())
            image = ImageData(set.imageWidth, set.imageHeight);
        it = pictures.insert(key, QPixmap::fromImage(Imageset::toImage(image, set.colorsFor(slot), set.imageColor(slot),
                                                                       set.isMultiColorImage(slot), transparent, set.type)));
    }
    return *it;
}

void LayersItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* /*widget*/)
{
    const Imageset& set = document->current();
    const double cellWidth = 2.0 * set.imageWidth, cellHeight = 2.0 * set.imageHeight;
    const QRectF exposed = option->exposedRect & boundingRect();
    if (exposed.isEmpty())
        return;
    const int firstColumn = int(std::floor(exposed.left() / cellWidth));
    const int lastColumn = qMin(grid->columns() - 1, int(std::ceil(exposed.right() / cellWidth)));
    const int firstRow = int(std::floor(exposed.top() / cellHeight));
    const int lastRow = qMin(grid->rows() - 1, int(std::ceil(exposed.bottom() / cellHeight)));
    bool lowest = !referenceBehind;
    for (int layer = 0; layer < EditingGrid::layerCount; ++layer) {
        if (!shown[size_t(layer)] || grid->isEmpty(layer))
            continue;
        for (int row = firstRow; row <= lastRow; ++row) {
            for (int column = firstColumn; column <= lastColumn; ++column) {
                const int slot = grid->slotAt(layer, column, row);
                if (slot >= 0)
                    painter->drawPixmap(QRectF(column * cellWidth, row * cellHeight, cellWidth, cellHeight),
                                        picture(slot, !lowest), QRectF(0, 0, set.imageWidth, set.imageHeight));
            }
        }
        lowest = false;
    }
}
