#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Moving and resizing the reference picture of the editing pane by its
// edges or its body, in scene units.
namespace ReferenceFrame {
enum Edge { Top = 1, Bottom = 2, Left = 4, Right = 8 };

// What a press grabs: the edges within 2 units of it (inside or outside the
// picture), 0 for the whole picture, -1 when it misses the picture.
int grab(const QRect& rect, const QPoint& point);
// The rectangle after the grabbed edges (or the whole picture, for 0)
// followed the mouse by an offset. Keeping the aspect ratio sets the height
// from the width as the picture's own. A picture keeps at least 1 x 1 units.
QRect drag(const QRect& rect, int edges, const QPoint& offset, bool keepAspect, const QSize& pictureSize);
}
