#include "model/rendering.h"

#include "model/workingcopies.h"

#include <QPainter>

namespace {
constexpr int cellSide = 8;

QImage transparentImage(int width, int height)
{
    QImage image(qMax(1, width), qMax(1, height), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// Draws the cells of a tile with its top-left corner at the pixel position.
void drawTile(QPainter& painter, const Tile& tile, const Imageset& set, QPoint origin)
{
    for (int y = 0; y < tile.height; ++y) {
        for (int x = 0; x < tile.width; ++x) {
            const int i = y * tile.width + x;
            if (tile.colors.value(i, Tile::emptyColor) == Tile::emptyColor)
                continue;
            painter.drawImage(origin + QPoint(x * cellSide, y * cellSide),
                              Rendering::cell(set, tile.indexes.value(i), tile.colors.at(i), false));
        }
    }
}
}

QImage Rendering::cell(const Imageset& set, int index, int color, bool transparent)
{
    bool multiColor = set.isMultiColorImage(index);
    if (set.type == Imageset::Charset)
        multiColor = set.mode == Imageset::MCM && color > 7;
    return Imageset::toImage(set.displayedImage(index), set.colorsFor(index), color, multiColor, transparent,
                             set.type);
}

QImage Rendering::imagesetSheet(const Imageset& set, const QList<int>& slotList, int columns)
{
    columns = qMax(1, columns);
    const int rows = (slotList.size() + columns - 1) / columns;
    QImage sheet = transparentImage(columns * set.imageWidth, rows * set.imageHeight);
    QPainter painter(&sheet);
    for (int i = 0; i < slotList.size(); ++i) {
        const int slot = slotList.at(i);
        if (!set.images.contains(set.patternSlot(slot)))
            continue;
        painter.drawImage(QPoint((i % columns) * set.imageWidth, (i / columns) * set.imageHeight),
                          set.toImage(slot));
    }
    return sheet;
}

QImage Rendering::tileset(const Tileset& tileset, const Imageset* set, int columns)
{
    const int tileWidth = tileset.tileWidth * cellSide;
    const int tileHeight = tileset.tileHeight * cellSide;
    const int places = tileset.gridSizeX * tileset.gridSizeY;
    const int perRow = columns > 0 ? columns : tileset.gridSizeX;
    QImage picture = transparentImage(perRow * tileWidth, (places + perRow - 1) / perRow * tileHeight);
    if (!set)
        return picture;
    QPainter painter(&picture);
    for (auto it = tileset.tiles.cbegin(); it != tileset.tiles.cend() && it.key() < places; ++it) {
        const QPoint origin((it.key() % perRow) * tileWidth, (it.key() / perRow) * tileHeight);
        drawTile(painter, *it, *set, origin);
    }
    return picture;
}

QImage Rendering::screen(const Screen& screen, const Project& project)
{
    const WorkingCopies stored(project, [](ItemKind, qint32) { return nullptr; });
    const SourceItem source = stored.source(screen.sourceRef);
    const Tileset* tiles = source.kind == ItemKind::Tileset ? static_cast<const Tileset*>(source.dataset) : nullptr;
    const Imageset* set = tiles ? stored.imageset(tiles->imagesetId, tiles->imagesetIsCharset)
                                : static_cast<const Imageset*>(source.dataset);

    const QSize cellSize = tiles ? source.cellSize * cellSide : QSize(cellSide, cellSide);
    QImage picture = transparentImage(screen.width * cellSize.width(), screen.height * cellSize.height());
    if (!set)
        return picture;
    QPainter painter(&picture);
    for (auto it = screen.cellIndexes.cbegin(); it != screen.cellIndexes.cend(); ++it) {
        const QPoint origin(it.key().x * cellSize.width(), it.key().y * cellSize.height());
        if (tiles) {
            const auto tile = tiles->tiles.constFind(*it);
            if (tile != tiles->tiles.cend())
                drawTile(painter, *tile, *set, origin);
        } else {
            const int color = screen.cellColors.value(it.key(), set->imageColor(*it));
            painter.drawImage(origin, cell(*set, *it, color, false));
        }
    }
    return picture;
}
