#include "exchange/exportsize.h"

#include "exchange/rle.h"
#include "exchange/screenexport.h"
#include "exchange/tilesetexchange.h"

#include <algorithm>

bool ExportSize::isTileUsed(const Tile& tile)
{
    return std::any_of(tile.colors.cbegin(), tile.colors.cend(),
                       [](int color) { return color != Tile::emptyColor; });
}

ExportSize::TilesetStatistics ExportSize::tilesetStatistics(const Tileset& tileset)
{
    TilesetStatistics stats;
    for (auto it = tileset.tiles.cbegin(); it != tileset.tiles.cend(); ++it) {
        if (!isTileUsed(*it))
            continue;
        ++stats.allocated;
        if (stats.firstIndex < 0)
            stats.firstIndex = it.key();
        stats.lastIndex = it.key();
    }
    if (stats.allocated == 0)
        return stats;

    stats.holes = stats.lastIndex + 1 - stats.allocated;
    QList<int> exported;
    for (int index = 0; index <= stats.lastIndex; ++index)
        exported.append(index);
    stats.sixteenBit = TilesetExchange::wordIndexes(tileset, exported);
    const qint64 tiles = stats.allocated + stats.holes;
    stats.memory = tiles * tileset.tileWidth * tileset.tileHeight * (stats.sixteenBit ? 3 : 2);
    return stats;
}

ExportSize::ScreenStatistics ExportSize::screenStatistics(const Screen& screen)
{
    ScreenStatistics stats;
    const QList<CellPos> cells = ScreenExport::allCells(screen);
    stats.cells = cells.size();
    for (const CellPos& pos : cells) {
        const auto cell = screen.cellIndexes.constFind(pos);
        if (cell == screen.cellIndexes.cend()) {
            ++stats.emptyCells;
        } else if (!stats.hasRange) {
            stats.hasRange = true;
            stats.minIndex = stats.maxIndex = *cell;
        } else {
            stats.minIndex = std::min(stats.minIndex, *cell);
            stats.maxIndex = std::max(stats.maxIndex, *cell);
        }
    }
    stats.sixteenBit = ScreenExport::wordIndexes(screen, cells);

    const bool tileScreen = SourceRef::isTileset(screen.sourceRef);
    const int indexBytes = stats.sixteenBit ? 2 : 1;
    stats.flatMemory = stats.cells * (indexBytes + (tileScreen ? 0 : 1));

    const QByteArray indexes = ScreenExport::indexStream(screen, cells, stats.sixteenBit);
    stats.rleMemory = (stats.sixteenBit ? Rle::encode16(indexes) : Rle::encode8(indexes)).size();
    if (!tileScreen)
        stats.rleMemory += Rle::encode8(ScreenExport::colorStream(screen, cells)).size();
    return stats;
}
