#pragma once

#include "editing/drawing.h"

#include <QRect>
#include <QVector>

#include <utility>
#include <vector>

// The codes of the images a layer shows, decoded once for an operation over
// many pixels (a fill, a flood selection, a move) and written back once.
// Coordinates are units: hi-res pixels, or multicolour pixels when the
// images are multicolour. Cells that show the same stored image (the shared
// patterns of extended background colour mode) read and write one copy.
class LayerPixels {
public:
    // The cells inside cellArea (all of the grid when empty).
    LayerPixels(const Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRect& cellArea = {});

    // Of the whole picture, in units.
    int width() const { return pictureWidth; }
    int height() const { return pictureHeight; }
    // -1 where no slot is placed or outside the area.
    int code(int x, int y) const
    {
        const int image = imageAt(x, y);
        return image < 0 ? -1 : images.at(image).codes.at((y % imageHeight) * unitsPerCell + x % unitsPerCell);
    }
    void setCode(int x, int y, int code);
    // The unit's hi-res x in the picture, for dither patterns and selections.
    int hiResX(int x) const { return x * unitWidth; }
    int unitWidthInPixels() const { return unitWidth; }

    // Writes the changed images into the set; returns their stored slots.
    QSet<int> writeBack(Imageset& set) const;

private:
    struct Image {
        int stored = -1;
        QVector<qint8> codes;
        bool changed = false;
    };
    int imageAt(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= pictureWidth || y >= pictureHeight)
            return -1;
        const int column = x / unitsPerCell - area.x(), row = y / imageHeight - area.y();
        if (column < 0 || row < 0 || column >= columns || row >= rows)
            return -1;
        return cellImages.at(row * columns + column);
    }

    QRect area; // in cells
    int columns = 0;
    int rows = 0;
    int unitWidth = 1;
    int unitsPerCell = 1;
    int imageHeight = 1;
    int pictureWidth = 0;
    int pictureHeight = 0;
    bool multiColor = false;
    QVector<Image> images;
    QVector<int> cellImages; // per cell of the area: index into images, -1 for none
};

// The pixels a move lifted, and the picture without them.
struct MoveBuffers {
    int layer = 0;
    int gridGeneration = 0;
    bool multiColor = false;
    QSize size;          // units of the picture
    QRect liftedRect;    // units: the bounding rectangle of the selection
    QVector<qint8> lifted; // over liftedRect; -1 outside the selection
    QVector<qint8> under;  // over the picture; -1 where the selection was
};

namespace Drawing {
// The first and last unit of each run of units in a row, in order, apart.
using Runs = std::vector<std::pair<int, int>>;
// The region of the runs of units, row by row from the top, in scene units.
QRegion regionOfRuns(const std::vector<Runs>& rows, int unitWidth);
// Which units of a picture of width x height units lie in a region of scene
// units, tested at their centres; row by row.
std::vector<bool> unitsInside(const QRegion& region, int width, int height, int unitWidth);
// Fills the area of equal code connected to a pixel with the pen, inside a
// non-empty selection only, in units of the images' kind; returns the stored
// slots changed. Nothing happens where no slot is placed, or when the pen's
// plain code is the code already there.
QSet<int> floodFill(Imageset& set, const LayerCanvas& canvas, QPoint pixel, const Pen& pen, bool multiColor,
                    const QRegion& selection);
// The area of equal code connected to a pixel, in scene units.
QRegion floodArea(const Imageset& set, const LayerCanvas& canvas, QPoint pixel, bool multiColor);
// The rectangle of units between two pixels, both included, in scene units.
QRegion band(QPoint from, QPoint to, bool multiColor);
// A pixel in units of the kind: x halved for multicolour.
inline QPoint unitOf(QPoint pixel, bool multiColor) { return multiColor ? QPoint(pixel.x() / 2, pixel.y()) : pixel; }

// Lifts the selected pixels of the layer for a move.
MoveBuffers lift(const Imageset& set, const LayerCanvas& canvas, const QRegion& selection, bool multiColor);
// Puts the lifted pixels at an offset (in units) from where they were
// lifted, after they were at another one: every pixel either place covered
// takes the lifted code or the one it had before the lift (0 where the
// selection was). Returns the stored slots changed.
QSet<int> moveLifted(Imageset& set, const LayerCanvas& canvas, const MoveBuffers& buffers, QPoint from, QPoint to);
}
