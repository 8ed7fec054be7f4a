#pragma once

#include "exchange/exportoptions.h"
#include "exchange/textformat.h"
#include "model/tileset.h"

#include <QList>
#include <QString>

// The tiles exported when nothing is selected: every tile place of the
// editor's grid.
QList<int> allExportTiles(const Tileset& tileset);

// The assembler text of the listed tiles: the image-set reference, and with
// data or colours the tile count and size, the cell indexes (two bytes each
// when any exceeds 255) and the cell colours (255 for an empty cell).
QList<ExportSection> tilesetSections(const Tileset& tileset, const QList<int>& tiles, const ExportDataOptions& options);
QString exportTilesetText(const Tileset& tileset, const QList<int>& tiles, const ExportDataOptions& options);

// Numbers read back from exported tile-set text, by section, kept whole.
struct TilesetImport {
    QList<int> reference;
    QList<int> count;
    QList<int> size;
    QList<int> wide;
    QList<int> data;
    QList<int> colors;

    enum Problem { None, MissingRequiredInfo, NothingToImport, SizeDiffers };
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

TilesetImport parseTilesetImport(const QString& text);

// Fills the target tiles in order with the imported cells, creating missing
// tiles; a tile is only filled while a whole tile's worth of values remains.
// The import must have passed check().
void applyTilesetImport(Tileset& tileset, const QList<int>& targets, const TilesetImport& import);
