#pragma once

#include "model/dataset.h"
#include "model/sourceref.h"

#include <QMap>

// A cell position on a screen; ordered by column first, then row, which is
// also the order cells are written in.
struct CellPos {
    int x = 0;
    int y = 0;

    bool operator<(const CellPos& other) const
    {
        return x != other.x ? x < other.x : y < other.y;
    }
    bool operator==(const CellPos& other) const { return x == other.x && y == other.y; }
};

// A map of cells, each one image of a character or block set or one tile of
// a tile set, as named by sourceRef.
class Screen : public Dataset {
public:
    static constexpr int maxSide = 16384;

    Screen() = default;
    Screen(const Screen&) = default;
    Screen& operator=(const Screen&) = default;

    bool load(RecordReader& in) override;
    void save(RecordWriter& out) const override;
    bool operator==(const Screen& other) const;
    bool operator!=(const Screen& other) const { return !(*this == other); }

    // Renumbers the cells after images or tiles moved: a cell whose index is
    // a key of oldToNew takes the mapped index; any other cell stays as it is
    // when keepUnmapped is set and is emptied otherwise (its colour stays).
    void remapCells(const QMap<int, int>& oldToNew, bool keepUnmapped);

    qint32 sourceRef = SourceRef::none;
    QMap<CellPos, int> cellIndexes; // image or tile index of every used cell
    QMap<CellPos, int> cellColors;  // foreground colour of character and block cells
    int width = 1;
    int height = 1;
    double zoom = 3.0;
    bool outerGridVisible = true;
    bool innerGridVisible = false;
};
