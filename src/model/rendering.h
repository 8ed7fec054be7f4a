#pragma once

#include "model/imageset.h"
#include "model/project.h"

#include <QImage>

// Pictures of whole items, built from the rendering of single images: an
// image set as a sheet of slotList, a tile set as its grid of tiles, a screen
// with every cell drawn from its source. Pictures are 32-bit with alpha;
// empty slotList, empty cells and cells whose source is missing stay transparent.
namespace Rendering {
// Image index of a set shown in a given foreground colour, as tile and
// screen cells show it: in a multicolour character set the colour decides
// whether the cell is multicolour (8-15) or hi-res.
QImage cell(const Imageset& set, int index, int color, bool transparent);

// The slots laid out row by row, columns per row.
QImage imagesetSheet(const Imageset& set, const QList<int>& slotList, int columns);
// Every tile place of the tile set's grid, columns places per row (the
// grid's own width when not positive); a null set draws nothing in them.
QImage tileset(const Tileset& tileset, const Imageset* set, int columns = 0);
// The screen with its cells drawn from the dataset it refers to in the project.
QImage screen(const Screen& screen, const Project& project);
}
