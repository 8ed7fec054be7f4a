#pragma once

#include "model/screen.h"
#include "model/tileset.h"

#include <QByteArray>

// What tile sets and screens take in memory once exported.
namespace ExportSize {

// What a tile set needs in memory when exported: every tile from 0 to the
// last one in use, a hole included, takes one index byte (two when any index
// exceeds 255) and one colour byte per cell.
struct TilesetStatistics {
    int allocated = 0;   // tiles with at least one non-empty cell
    int holes = 0;       // indexes up to the last allocated one without such a tile
    int firstIndex = -1; // range of the allocated tiles; -1 when there are none
    int lastIndex = -1;
    bool sixteenBit = false;
    qint64 memory = 0;   // bytes
};

// What a screen needs in memory when exported flat and run-length coded.
struct ScreenStatistics {
    qint64 cells = 0;
    qint64 emptyCells = 0;
    bool hasRange = false; // at least one cell used
    int minIndex = 0;
    int maxIndex = 0;
    // Indexes need two bytes when the largest does not fit beside the value
    // that marks an empty cell (255 in bytes, 65535 in words).
    bool sixteenBit = false;
    qint64 flatMemory = 0;
    qint64 rleMemory = 0;
};

TilesetStatistics tilesetStatistics(const Tileset& tileset);
ScreenStatistics screenStatistics(const Screen& screen);

// A tile is in use when at least one of its cells is not empty.
bool isTileUsed(const Tile& tile);
// The index stream of a screen, row by row: one byte per position, or two
// (low byte first) with sixteen-bit indexes; empty positions hold 255 or 65535.
QByteArray screenIndexStream(const Screen& screen, bool sixteenBit);
// The colour stream of a character or block screen: one byte per position,
// row by row, 255 where a position has no colour.
QByteArray screenColorStream(const Screen& screen);

}
