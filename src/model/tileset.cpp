#include "model/tileset.h"

#include <limits>

namespace {
constexpr qint64 minTileBytes = 5 * 4; // index, width, height, two counts

// Reads count stored cell values into the first entries of cells. Before
// 0.11.0 every value was one byte, and a colour byte 255 meant an empty cell.
void readCells(RecordReader& in, QVector<int>& cells, bool bytes, bool colors)
{
    const int count = in.readCount(bytes ? 1 : 4);
    if (count > cells.size()) {
        in.fail();
        return;
    }
    in.claimUnfilledStorage(qint64(cells.size() - count) * qint64(sizeof(int)));
    for (int i = 0; i < count && in.ok(); ++i) {
        if (!bytes)
            cells[i] = in.readInt();
        else if (const quint8 byte = in.readByte(); colors && byte == 255)
            cells[i] = Tile::emptyColor;
        else
            cells[i] = byte;
    }
}
}

Tile::Tile(int width, int height)
    : indexes(width * height, 0)
    , colors(width * height, emptyColor)
    , width(width)
    , height(height)
{
}

Tile& Tileset::tileAt(int index)
{
    auto it = tiles.find(index);
    if (it == tiles.end())
        it = tiles.insert(index, newTile());
    return *it;
}

bool Tileset::operator==(const Tileset& other) const
{
    return sameHead(other) && imagesetId == other.imagesetId
        && imagesetIsCharset == other.imagesetIsCharset && tiles == other.tiles
        && tileWidth == other.tileWidth && tileHeight == other.tileHeight && zoom == other.zoom
        && tilesGridVisible == other.tilesGridVisible && charsGridVisible == other.charsGridVisible
        && gridSizeX == other.gridSizeX && gridSizeY == other.gridSizeY;
}

bool Tileset::load(RecordReader& in)
{
    FileVersion version;
    if (!loadHead(in, version))
        return false;
    const bool byteCells = !version.hasBlocksets();

    imagesetId = in.readInt();
    imagesetIsCharset = byteCells ? true : in.readBool();

    tiles.clear();
    const int tileCount = in.readCount(minTileBytes);
    for (int t = 0; t < tileCount && in.ok(); ++t) {
        const int index = in.readIntInRange(0, std::numeric_limits<qint32>::max());
        const int width = in.readIntInRange(1, maxTileSide);
        const int height = in.readIntInRange(1, maxTileSide);
        if (!in.ok())
            break;
        Tile tile(width, height);
        readCells(in, tile.indexes, byteCells, false);
        readCells(in, tile.colors, byteCells, true);
        tiles.insert(index, tile);
    }

    tileWidth = in.readIntInRange(1, maxTileSide);
    tileHeight = in.readIntInRange(1, maxTileSide);
    if (byteCells)
        in.readInt(); // a value older versions stored and never used
    zoom = in.readFiniteDouble(Tileset().zoom);
    tilesGridVisible = in.readBool();
    charsGridVisible = in.readBool();
    gridSizeX = in.readIntInRange(1, maxGridSize);
    gridSizeY = in.readIntInRange(1, maxGridSize);

    // Every tile has the set's tile size; the editors rely on it.
    for (const Tile& tile : qAsConst(tiles)) {
        if (tile.width != tileWidth || tile.height != tileHeight)
            in.fail();
    }
    return in.ok();
}

void Tileset::save(RecordWriter& out) const
{
    saveHead(out);
    out.writeInt(imagesetId);
    out.writeBool(imagesetIsCharset);
    out.writeInt(tiles.size());
    for (auto it = tiles.cbegin(); it != tiles.cend(); ++it) {
        out.writeInt(it.key());
        out.writeInt(it->width);
        out.writeInt(it->height);
        out.writeInt(it->indexes.size());
        for (int index : it->indexes)
            out.writeInt(index);
        out.writeInt(it->colors.size());
        for (int color : it->colors)
            out.writeInt(color);
    }
    out.writeInt(tileWidth);
    out.writeInt(tileHeight);
    out.writeDouble(zoom);
    out.writeBool(tilesGridVisible);
    out.writeBool(charsGridVisible);
    out.writeInt(gridSizeX);
    out.writeInt(gridSizeY);
}
