#pragma once

#include "exchange/exportoptions.h"
#include "exchange/textformat.h"
#include "model/tileset.h"

#include <QList>
#include <QString>

// Numbers read back from exported tile-set text, by section, kept whole.
struct TilesetImport {
    QList<int> reference;
    QList<int> count;
    QList<int> size;
    QList<int> wide;
    QList<int> data;
    QList<int> colors;

    enum Problem { None, MissingRequiredInfo, NothingToImport, SizeDiffers, NotBytes };
    // Why the cells cannot be imported into the tile set, if they cannot.
    Problem check(const Tileset& tileset) const;
    // The message for a problem, as the user reads it.
    QString message(Problem problem) const;

    // The image-set reference (identifier, is-character-set) the text names.
    bool hasReference() const { return !reference.isEmpty(); }
    qint32 referenceId() const { return reference.value(0); }
    // A reference without its flag names a character set.
    bool referenceIsCharset() const { return reference.size() < 2 || reference.at(1) != 0; }
};

// Tile sets as exported assembler text, and that text read back.
namespace TilesetExchange {

// The tiles exported when nothing is selected: every tile place of the
// editor's grid.
QList<int> allTiles(const Tileset& tileset);

// Whether the cell indexes of the listed tiles take two bytes each: some
// index exceeds 255. (Missing tiles are written as index 0, so no value is
// kept free to mark them.)
bool wordIndexes(const Tileset& tileset, const QList<int>& tiles);

// The assembler text of the listed tiles: the image-set reference, and with
// data or colours the tile count and size, the cell indexes (as words when
// wordIndexes says so) and the cell colours (255 for an empty cell).
QList<ExportSection> sections(const Tileset& tileset, const QList<int>& tiles, const ExportDataOptions& options);
QString text(const Tileset& tileset, const QList<int>& tiles, const ExportDataOptions& options);

TilesetImport parseImport(const QString& text);

// Fills the target tiles in order with the imported cells, creating missing
// tiles; a tile is only filled while a whole tile's worth of values remains.
// The import must have passed check().
void applyImport(Tileset& tileset, const QList<int>& targets, const TilesetImport& import);

}
