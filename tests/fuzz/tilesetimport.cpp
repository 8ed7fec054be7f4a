// Tile-set text import: byte 0 picks the tile size (1-4 by 1-4 cells), byte
// 1 how many targets, tiles 0 onwards, the import fills; the rest is the
// text. What the check lets through leaves tiles of the set's size at the
// targets, indexes that are words and colours that are palette numbers (or
// empty); the set saves and loads as itself, and its tiles exported and
// imported into an empty set of that size come back the same.
#include "exchange/tilesetexchange.h"
#include "fuzzcheck.h"

#include <algorithm>

namespace {
Tileset emptySet(int tileWidth, int tileHeight)
{
    Tileset tileset;
    tileset.tileWidth = tileWidth;
    tileset.tileHeight = tileHeight;
    return tileset;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    Tileset tileset = emptySet(1 + data[0] % 4, 1 + data[0] / 4 % 4);
    QList<int> targets;
    for (int tile = 0; tile < data[1]; ++tile)
        targets.append(tile);
    const TilesetImport import = TilesetExchange::parseImport(QString::fromUtf8(fuzz::bytes(data + 2, size - 2)));
    const TilesetImport::Problem problem = import.check(tileset);
    fuzz::require(import.message(problem).isEmpty() == (problem == TilesetImport::None), "every refusal is explained");
    if (problem != TilesetImport::None)
        return 0;

    TilesetExchange::applyImport(tileset, targets, import);
    for (auto tile = tileset.tiles.cbegin(); tile != tileset.tiles.cend(); ++tile) {
        fuzz::require(targets.contains(tile.key()) && tile->width == tileset.tileWidth && tile->height == tileset.tileHeight
                          && tile->indexes.size() == tile->width * tile->height && tile->colors.size() == tile->indexes.size(),
                      "tiles of the set's size at the targets only");
        fuzz::require(std::all_of(tile->indexes.cbegin(), tile->indexes.cend(), [](int index) { return index >= 0 && index < 65536; }),
                      "cell indexes are words");
        fuzz::require(std::all_of(tile->colors.cbegin(), tile->colors.cend(),
                                  [](int color) { return color == Tile::emptyColor || (color >= 0 && color < 16); }),
                      "cell colours are palette numbers or empty");
    }

    RecordWriter out;
    tileset.save(out);
    RecordReader in(out.bytes());
    Tileset again;
    fuzz::require(again.load(in) && in.atEnd() && again == tileset, "the set saves and loads as itself");

    const QList<int> filled = tileset.tiles.keys();
    const QString text = TilesetExchange::text(tileset, filled, ExportDataOptions::forTileset());
    Tileset reimported = emptySet(tileset.tileWidth, tileset.tileHeight);
    const TilesetImport exported = TilesetExchange::parseImport(text);
    if (!filled.isEmpty()) {
        fuzz::require(exported.check(reimported) == TilesetImport::None, "an export passes the check");
        TilesetExchange::applyImport(reimported, filled, exported);
    }
    fuzz::require(reimported.tiles == tileset.tiles, "tiles exported import as themselves");
    return 0;
}
