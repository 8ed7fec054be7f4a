#include "editing/regionoutline.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

// A change of the boundary along one grid line. Every rectangle edge adds
// +1 or -1 (by the side the rectangle lies on) over its interval, written as
// two changes: at its start and, negated, at its end. The rectangles of a
// region never overlap, so the running sum along a line is -1, 0 or +1, and
// the line is boundary exactly where the sum is not 0.
struct BoundaryChange {
    int line;     // y of a horizontal line, x of a vertical one
    int position; // x along a horizontal line, y along a vertical one
    int delta;

    bool operator<(const BoundaryChange& other) const
    {
        return std::tie(line, position) < std::tie(other.line, other.position);
    }
};

void addInterval(std::vector<BoundaryChange>& changes, int line, int from, int to, int side)
{
    changes.push_back({line, from, side});
    changes.push_back({line, to, -side});
}

// Sweeps every line in order and appends the stretches with a non-zero sum;
// makeLine turns (line, from, to) into a segment of the right orientation.
template<typename MakeLine>
void appendSegments(std::vector<BoundaryChange>& changes, QVector<QLine>& segments, MakeLine makeLine)
{
    std::sort(changes.begin(), changes.end());
    size_t i = 0;
    while (i < changes.size()) {
        const int line = changes[i].line;
        int sum = 0;
        int segmentStart = 0;
        while (i < changes.size() && changes[i].line == line) {
            const int position = changes[i].position;
            const bool wasBoundary = sum != 0;
            for (; i < changes.size() && changes[i].line == line && changes[i].position == position; ++i)
                sum += changes[i].delta;
            const bool isBoundary = sum != 0;
            if (!wasBoundary && isBoundary)
                segmentStart = position;
            else if (wasBoundary && !isBoundary)
                segments.append(makeLine(line, segmentStart, position));
        }
    }
}

}  // namespace

QVector<QLine> Region::outline(const QRegion& region)
{
    std::vector<BoundaryChange> horizontal;
    std::vector<BoundaryChange> vertical;
    horizontal.reserve(size_t(region.rectCount()) * 4);
    vertical.reserve(size_t(region.rectCount()) * 4);
    for (const QRect& rect : region) {
        const int left = rect.x();
        const int right = rect.x() + rect.width();
        const int top = rect.y();
        const int bottom = rect.y() + rect.height();
        addInterval(horizontal, top, left, right, +1);
        addInterval(horizontal, bottom, left, right, -1);
        addInterval(vertical, left, top, bottom, +1);
        addInterval(vertical, right, top, bottom, -1);
    }

    QVector<QLine> segments;
    appendSegments(horizontal, segments, [](int y, int from, int to) { return QLine(from, y, to, y); });
    appendSegments(vertical, segments, [](int x, int from, int to) { return QLine(x, from, x, to); });
    return segments;
}
