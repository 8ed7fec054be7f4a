#pragma once

#include <QByteArray>
#include <QPoint>
#include <QVector>

#include <optional>
#include <utility>

// What a drag of slots (from an image list) or of tiles (from a tile set)
// carries: comma-separated numbers giving the set's identifier, the width
// and height of the dragged block in cells (-1, -1 when it is no rectangle),
// the width and height of one piece (1 x 1 for slots, the tile size for
// tiles), then a slot and its colour for every cell, piece after piece and
// row by row inside a piece. A colour of -1 marks an empty tile cell.
struct SlotPayload {
    qint32 setId = -1;
    int blockWidth = -1;
    int blockHeight = -1;
    int pieceWidth = 1;
    int pieceHeight = 1;
    QVector<std::pair<int, int>> items; // slot, colour

    // None for text that is not such a payload.
    static std::optional<SlotPayload> parse(const QByteArray& text);

    // Where the slots land when dropped on a cell: pieces side by side from
    // the cell while they end within the block's width (or the grid's right
    // edge when the block has none), then the next row of pieces from the
    // cell's column. Empty tile cells keep their place but land nowhere.
    QVector<std::pair<QPoint, int>> placements(const QPoint& cell, int gridColumns) const;
};
