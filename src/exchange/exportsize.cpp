#include "exchange/exportsize.h"

#include "exchange/rle.h"

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
    for (auto it = tileset.tiles.cbegin(); it != tileset.tiles.cend() && it.key() <= stats.lastIndex; ++it) {
        if (std::any_of(it->indexes.cbegin(), it->indexes.cend(), [](int index) { return index > 255; }))
            stats.sixteenBit = true;
    }
    const qint64 tiles = stats.allocated + stats.holes;
    stats.memory = tiles * tileset.tileWidth * tileset.tileHeight * (stats.sixteenBit ? 3 : 2);
    return stats;
}

QByteArray ExportSize::screenIndexStream(const Screen& screen, bool sixteenBit)
{
    const int empty = sixteenBit ? 0xFFFF : 0xFF;
    QByteArray stream;
    stream.reserve(screen.width * screen.height * (sixteenBit ? 2 : 1));
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            const int index = screen.cellIndexes.value(CellPos {x, y}, empty);
            stream.append(char(index & 0xFF));
            if (sixteenBit)
                stream.append(char((index >> 8) & 0xFF));
        }
    }
    return stream;
}

QByteArray ExportSize::screenColorStream(const Screen& screen)
{
    QByteArray stream;
    stream.reserve(screen.width * screen.height);
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x)
            stream.append(char(screen.cellColors.value(CellPos {x, y}, 255)));
    }
    return stream;
}

ExportSize::ScreenStatistics ExportSize::screenStatistics(const Screen& screen)
{
    ScreenStatistics stats;
    stats.cells = qint64(screen.width) * screen.height;
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            const auto cell = screen.cellIndexes.constFind(CellPos {x, y});
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
    }
    if (!screen.cellIndexes.isEmpty()) {
        const int largest = *std::max_element(screen.cellIndexes.cbegin(), screen.cellIndexes.cend());
        stats.sixteenBit = largest > (stats.emptyCells > 0 ? 254 : 255);
    }

    const bool tileScreen = SourceRef::isTileset(screen.sourceRef);
    const int indexBytes = stats.sixteenBit ? 2 : 1;
    stats.flatMemory = stats.cells * (indexBytes + (tileScreen ? 0 : 1));

    const QByteArray indexes = screenIndexStream(screen, stats.sixteenBit);
    stats.rleMemory = (stats.sixteenBit ? Rle::encode16(indexes) : Rle::encode8(indexes)).size();
    if (!tileScreen)
        stats.rleMemory += Rle::encode8(screenColorStream(screen)).size();
    return stats;
}
