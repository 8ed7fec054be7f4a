#include "exchange/tilesetexchange.h"

#include <algorithm>

#include "exchange/importparser.h"
#include "exchange/textformat.h"

QList<int> TilesetExchange::allTiles(const Tileset& tileset)
{
    QList<int> tiles;
    const int count = tileset.gridSizeX * tileset.gridSizeY;
    for (int tile = 0; tile < count; ++tile)
        tiles.append(tile);
    return tiles;
}

bool TilesetExchange::wordIndexes(const Tileset& tileset, const QList<int>& tiles)
{
    for (int index : tiles) {
        const auto tile = tileset.tiles.constFind(index);
        if (tile == tileset.tiles.cend())
            continue;
        for (int i = 0; i < tile->width * tile->height; ++i) {
            if (tile->indexes.value(i) > 255)
                return true;
        }
    }
    return false;
}

QList<ExportSection> TilesetExchange::sections(const Tileset& tileset, const QList<int>& tiles,
                                               const ExportDataOptions& options)
{
    QList<ExportSection> sections;
    const QString label = TextFormat::labelName(tileset.name);
    const int cellsPerTile = tileset.tileWidth * tileset.tileHeight;

    QByteArray reference;
    reference += char(tileset.imagesetId & 0xFF);
    reference += char(tileset.imagesetIsCharset ? 1 : 0);
    sections.append({QString(), label + QStringLiteral("_imageset_id"), reference});

    if (options.includeData || options.includeColors) {
        sections.append({QString(), label + QStringLiteral("_num_tiles"), TextFormat::littleEndianWord(tiles.size())});
        QByteArray size;
        size += char(tileset.tileWidth & 0xFF);
        size += char(tileset.tileHeight & 0xFF);
        sections.append({QString(), label + QStringLiteral("_size"), size});
    }

    if (options.includeData) {
        const bool wide = wordIndexes(tileset, tiles);
        sections.append({QString(), label + QStringLiteral("_is_16bit"), QByteArray(1, char(wide ? 1 : 0))});

        QByteArray data;
        for (int index : tiles) {
            const auto tile = tileset.tiles.constFind(index);
            const bool exists = tile != tileset.tiles.cend();
            const int cells = exists ? tile->width * tile->height : cellsPerTile;
            for (int i = 0; i < cells; ++i) {
                const int value = exists ? tile->indexes.value(i) : 0;
                data += wide ? TextFormat::littleEndianWord(value) : QByteArray(1, char(value & 0xFF));
            }
        }
        sections.append({QString(), label + QStringLiteral("_data"), data});
    }

    if (options.includeColors) {
        QByteArray colors;
        for (int index : tiles) {
            const auto tile = tileset.tiles.constFind(index);
            if (tile == tileset.tiles.cend()) {
                colors += QByteArray(cellsPerTile, char(0xFF));
                continue;
            }
            // An empty cell (-1) becomes 255; colours read from a file are
            // palette numbers, of which the chip keeps the low four bits.
            for (int color : tile->colors)
                colors += char(color == Tile::emptyColor ? 0xFF : color & 15);
        }
        sections.append({QString(), label + QStringLiteral("_colors"), colors});
    }
    return sections;
}

QString TilesetExchange::text(const Tileset& tileset, const QList<int>& tiles, const ExportDataOptions& options)
{
    return TextFormat(options).text(sections(tileset, tiles, options));
}

TilesetImport TilesetExchange::parseImport(const QString& text)
{
    static const QStringList keys {QStringLiteral("imageset_id"), QStringLiteral("num_tiles"),
                                   QStringLiteral("size"),        QStringLiteral("is_16bit"),
                                   QStringLiteral("data"),        QStringLiteral("colors")};
    const QVector<QList<int>> sections = ImportParser::sections(text, keys);
    TilesetImport import;
    import.reference = sections[0];
    import.count = sections[1];
    import.size = sections[2];
    import.wide = sections[3];
    import.data = sections[4];
    import.colors = sections[5];
    return import;
}

TilesetImport::Problem TilesetImport::check(const Tileset& tileset) const
{
    if (count.isEmpty() || size.isEmpty() || wide.isEmpty() || (data.isEmpty() && colors.isEmpty()))
        return MissingRequiredInfo;
    // Every value of this text is a byte; words are made of two of them.
    for (const QList<int>* values : {&reference, &count, &size, &wide, &data, &colors}) {
        if (std::any_of(values->cbegin(), values->cend(), [](int value) { return value < 0 || value > 255; }))
            return NotBytes;
    }
    if (count.value(0) == 0 && count.value(1) == 0)
        return NothingToImport;
    if (size.value(0) != tileset.tileWidth || size.value(1) != tileset.tileHeight)
        return SizeDiffers;
    return None;
}

QString TilesetImport::message(Problem problem) const
{
    switch (problem) {
    case None:
        break;
    case MissingRequiredInfo:
        return QStringLiteral("Missing required info!");
    case NothingToImport:
        return QStringLiteral("Nothing to import!");
    case SizeDiffers:
        return QStringLiteral("Cannot import because the size (%1x%2) is different!")
            .arg(size.value(0))
            .arg(size.value(1));
    case NotBytes:
        return QStringLiteral("Cannot import values that are not bytes (0-255)!");
    }
    return {};
}

void TilesetExchange::applyImport(Tileset& tileset, const QList<int>& targets, const TilesetImport& import)
{
    QList<int> cells;
    if (import.wide.value(0) != 0) {
        // A last value without its high byte is left out.
        for (int i = 0; i + 1 < import.data.size(); i += 2)
            cells.append((import.data.at(i) & 0xFF) | (import.data.at(i + 1) & 0xFF) << 8);
    } else {
        cells = import.data;
    }

    const int tileCount = (import.count.value(0) & 0xFF) | (import.count.value(1) & 0xFF) << 8;
    const int cellsPerTile = tileset.tileWidth * tileset.tileHeight;
    for (int t = 0; t < tileCount && t < targets.size(); ++t) {
        Tile& tile = tileset.tileAt(targets.at(t));
        const int offset = t * cellsPerTile;
        if (cells.size() >= offset + cellsPerTile) {
            for (int i = 0; i < cellsPerTile; ++i)
                tile.indexes[i] = cells.at(offset + i);
        }
        // Colours are palette numbers: a byte keeps its low four bits, and
        // 255 empties the cell.
        if (import.colors.size() >= offset + cellsPerTile) {
            for (int i = 0; i < cellsPerTile; ++i) {
                const int color = import.colors.at(offset + i);
                tile.colors[i] = color == 255 ? Tile::emptyColor : color & 15;
            }
        }
    }
}
