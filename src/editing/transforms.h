#pragma once

#include "editing/layerpixels.h"

#include <optional>

// The transformations of the pixels of an editing-grid layer. Each works on
// the working area: the whole picture, or the bounding rectangle of a
// non-empty selection, in units (multicolour pixels when the images are
// multicolour). With a selection only its pixels change, and the content
// moved, turned or scaled is the selection's own: pixels outside it count
// as code 0. Each returns the stored slots it changed.
namespace Transform {
enum class Direction { Left, Right, Up, Down };

// One unit cyclically, the units leaving one side coming back on the other;
// the whole working area moves (a selection must be a rectangle).
QSet<int> shift(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection,
                Direction direction);
// Left to right (mirror) or top to bottom (flip).
QSet<int> mirror(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection);
QSet<int> flip(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection);
// Turned by degrees about a centre unit (the working area's middle when
// none), to the left (counter-clockwise on screen) or the right, nearest
// neighbour. With a pixel aspect of 2 units turn as they look on screen,
// twice as wide as high.
QSet<int> rotate(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection, double degrees,
                 bool right, std::optional<QPoint> centre, double pixelAspect = 1.0);
// Scaled by percentages about a centre unit, nearest neighbour.
QSet<int> scale(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection,
                double widthPercent, double heightPercent, std::optional<QPoint> centre);
// Every code turned to its complement (3 - code, or 1 - code for hi-res).
QSet<int> invert(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection);
// Every code 0.
QSet<int> erase(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection);
}
