#pragma once

#include <QList>
#include <QPoint>
#include <QSize>
#include <QVector>

#include <array>

// The cells of an image-set editor's editing pane: a grid of up to 256 x 256
// cells on four stacked layers, each cell of a layer empty or showing one
// slot of the set. The grid size limits what is shown; cells placed beyond
// it are kept, and the size never shrinks below them.
class EditingGrid {
public:
    static constexpr int layerCount = 4;
    static constexpr int maxSize = 256;

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    // Clamped to 1-256 and to the used extent.
    void resize(int columns, int rows);

    // The slot of a cell, -1 for an empty cell or one outside 0-255.
    int slotAt(int layer, int column, int row) const;
    // Places a slot, or empties the cell with -1; cells outside 0-255 are
    // dropped.
    void place(int layer, int column, int row, int slot);
    void clear(int layer);
    bool isEmpty(int layer) const;

    // Columns and rows up to the last used cell of any layer, at least 1 x 1.
    QSize usedExtent() const;
    // Counts every change of what is placed, so that what was built from
    // the cells can tell when it is out of date.
    int generation() const { return generation_; }

    // The layer cleared, then the slots in order into cells (0, 0), (1, 0),
    // ... wrapping after the grid's columns and ending with its rows.
    void fill(int layer, const QList<int>& slotList);
private:
    // maxSize x maxSize slots per layer, allocated when first placed.
    std::array<QVector<int>, layerCount> cells;
    int columns_ = 1;
    int rows_ = 1;
    int generation_ = 0;
};
