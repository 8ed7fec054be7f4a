#pragma once

#include "model/dataset.h"

#include <QMap>
#include <QVector>

// A rectangle of cells of a character or block set. A cell whose colour is -1
// is empty and shows nothing, whatever its index.
struct Tile {
    static constexpr int emptyColor = -1;

    Tile() = default;
    Tile(int width, int height);

    QVector<int> indexes; // row-major, entry y * width + x
    QVector<int> colors;  // same order; -1 marks an empty cell
    int width = 0;        // cells
    int height = 0;

    bool operator==(const Tile& other) const
    {
        return width == other.width && height == other.height && indexes == other.indexes
            && colors == other.colors;
    }
};

// Tiles of one size built from the images of one character set or block set,
// which the tile set names by identifier only.
class Tileset : public Dataset {
public:
    static constexpr int maxTileSide = 256;
    static constexpr int maxGridSize = 4096;

    Tileset() = default;
    Tileset(const Tileset&) = default;
    Tileset& operator=(const Tileset&) = default;

    bool load(RecordReader& in) override;
    void save(RecordWriter& out) const override;
    bool operator==(const Tileset& other) const;
    bool operator!=(const Tileset& other) const { return !(*this == other); }

    // A tile of the set's size with every cell empty.
    Tile newTile() const { return Tile(tileWidth, tileHeight); }
    // The tile at the index, created empty when missing.
    Tile& tileAt(int index);

    qint32 imagesetId = -1;
    bool imagesetIsCharset = true;
    QMap<int, Tile> tiles;
    int tileWidth = 1;
    int tileHeight = 1;
    double zoom = 3.0;
    bool tilesGridVisible = true;
    bool charsGridVisible = true;
    int gridSizeX = 1;
    int gridSizeY = 1;
};
