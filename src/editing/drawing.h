#pragma once

#include "editing/editinggrid.h"
#include "model/imageset.h"

#include <QPoint>
#include <QRegion>
#include <QSet>

#include <functional>
#include <optional>

// One layer of the editing grid as a picture of hi-res pixels: cell (c, r)
// shows the image of its slot at (c * imageWidth, r * imageHeight). Scene
// units, in which selections are kept, are two per hi-res pixel.
class LayerCanvas {
public:
    LayerCanvas(const EditingGrid& grid, int layer, int imageWidth, int imageHeight);

    // A pixel of the picture where its bits are stored.
    struct Spot {
        int slot = -1;   // placed in the pixel's cell; -1 where none or outside
        int stored = -1; // whose image holds the bits: in extended background
                         // colour mode the slots share the patterns of 0-63
        int x = 0;       // in the image: in multicolour pixels for a
        int y = 0;       // multicolour image
        bool multiColor = false;
        bool editable() const { return slot >= 0; }
    };
    Spot locate(const Imageset& set, int x, int y) const;

    int width() const { return grid.columns() * imageWidth; }
    int height() const { return grid.rows() * imageHeight; }
    int layerIndex() const { return layer; }
    const EditingGrid& editingGrid() const { return grid; }
    QSize imageSize() const { return QSize(imageWidth, imageHeight); }

    // A pixel's code, 0 in an empty slot; -1 where no slot is placed.
    int code(const Imageset& set, int x, int y) const;
    // Writes a code (AND 3, negative codes as 0), giving an empty slot a new
    // zero-filled image; the stored slot when the pixel changed, else -1.
    int write(Imageset& set, int x, int y, int code) const;

    // Whether the images an operation concerns are all multicolour (true),
    // all hi-res (false) or mixed (none): those with pixels inside a
    // non-empty selection, else every image placed in the layer.
    std::optional<bool> commonKind(const Imageset& set, const QRegion& selection) const;

private:
    const EditingGrid& grid;
    int layer;
    int imageWidth;
    int imageHeight;
};

// What a mouse button draws: a code, or with dithering a checkerboard.
struct Pen {
    int code = 0;
    bool dither = false;
    int left = 1; // the codes a multicolour dither alternates
    int right = 0;

    // The pen of a button. With dithering the left button dithers and any
    // other draws 0; otherwise in a hi-res image the left button draws 1 and
    // the right one 0, in a multicolour image the code chosen for the button.
    static Pen forButton(Qt::MouseButton button, bool dither, bool multiColor, int leftCode, int rightCode);
    // The code put on a pixel (hi-res coordinates of the picture): a
    // multicolour dither alternates per multicolour pixel, starting with the
    // left code on even rows; a hi-res dither sets the pixels where x + y is odd.
    int codeAt(int x, int y, bool multiColor) const;
};

namespace Drawing {
// Draws a pixel: outside a non-empty clip region (tested at the pixel's
// centre in scene units) or where nothing is placed nothing happens. The
// stored slot when the pixel changed, else -1.
int setPixel(Imageset& set, const LayerCanvas& canvas, int x, int y, const Pen& pen, const QRegion& clip = {});

// The pixels of a line from one pixel to another: with multicolour pixels
// the x coordinates are halved first and doubled again for every pixel.
void forLine(QPoint from, QPoint to, bool multiColor, const std::function<void(int x, int y)>& plot);
// The pixels of an ellipse inside the box of two corner pixels, by the
// midpoint algorithm in two regions.
void forEllipse(QPoint from, QPoint to, bool multiColor, const std::function<void(int x, int y)>& plot);

enum class Shape { Line, Ellipse, Rectangle };
// Draws a shape between two corner pixels, clipped to a non-empty selection;
// returns the stored slots it changed.
QSet<int> drawShape(Imageset& set, const LayerCanvas& canvas, Shape shape, QPoint from, QPoint to, const Pen& pen,
                    bool multiColor, const QRegion& selection);
}
