#pragma once

#include <QLine>
#include <QRegion>
#include <QVector>

// The boundary of a region made of unit squares: every edge between a square
// inside the region and one outside it, merged into maximal straight
// segments. Holes get their own outlines, so a ring yields an outer and an
// inner outline. Horizontal segments come first, sorted by y then x, then
// the vertical ones; each segment runs from its smaller to its larger
// coordinate. One pass over the region's bands: linear in its rectangles.
namespace Region {
QVector<QLine> outline(const QRegion& region);
}
