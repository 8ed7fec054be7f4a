#pragma once

#include "model/screen.h"
#include "model/tileset.h"

// What tile sets and screens take in memory once exported, in the layout of
// TilesetExchange and ScreenExport.
namespace ExportSize {

// What a tile set needs in memory when exported: every tile from 0 to the
// last one in use, a hole included, takes one or two index bytes and one
// colour byte per cell.
struct TilesetStatistics {
    int allocated = 0;   // tiles with at least one non-empty cell
    int holes = 0;       // indexes up to the last allocated one without such a tile
    int firstIndex = -1; // range of the allocated tiles; -1 when there are none
    int lastIndex = -1;
    bool sixteenBit = false;
    qint64 memory = 0;   // bytes
};

// What a screen needs in memory when exported whole, flat and run-length
// coded.
struct ScreenStatistics {
    qint64 cells = 0;
    qint64 emptyCells = 0;
    bool hasRange = false; // at least one cell used
    int minIndex = 0;
    int maxIndex = 0;
    bool sixteenBit = false;
    qint64 flatMemory = 0;
    qint64 rleMemory = 0;
};

TilesetStatistics tilesetStatistics(const Tileset& tileset);
ScreenStatistics screenStatistics(const Screen& screen);

// A tile is in use when at least one of its cells is not empty.
bool isTileUsed(const Tile& tile);

}
