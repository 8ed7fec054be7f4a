#include "editing/regionoutline.h"

#include <climits>
#include <utility>
#include <vector>

namespace {

using Spans = std::vector<std::pair<int, int>>; // [from, to) along a line

// The stretches of a horizontal line covered by exactly one of two sets of
// spans (the band above and the band below): there the region's inside
// meets its outside. Spans of one band never overlap nor touch.
void appendBoundary(QVector<QLine>& segments, int y, const Spans& above, const Spans& below)
{
    const auto position = [](const Spans& spans, size_t i) {
        return i < 2 * spans.size() ? (i % 2 == 0 ? spans[i / 2].first : spans[i / 2].second) : INT_MAX;
    };
    size_t i = 0, j = 0;
    bool inAbove = false, inBelow = false, boundary = false;
    int start = 0;
    while (i < 2 * above.size() || j < 2 * below.size()) {
        const int a = position(above, i), b = position(below, j), at = qMin(a, b);
        if (a == at) {
            inAbove = !inAbove;
            ++i;
        }
        if (b == at) {
            inBelow = !inBelow;
            ++j;
        }
        const bool now = inAbove != inBelow;
        if (now && !boundary)
            start = at;
        else if (!now && boundary)
            segments.append(QLine(start, y, at, y));
        boundary = now;
    }
}

// Ends vertical boundaries at a row.
void closeAll(QVector<QLine>& vertical, const std::vector<std::pair<int, int>>& open, int y)
{
    for (const auto& [x, top] : open)
        vertical.append(QLine(x, top, x, y));
}

}  // namespace

QVector<QLine> Region::outline(const QRegion& region)
{
    QVector<QLine> segments, vertical;
    Spans previous, band;
    int previousBottom = INT_MIN;
    std::vector<std::pair<int, int>> open, next; // vertical boundaries running down: x and top
    const auto finishBand = [&](int top, int bottom) {
        // Between touching bands the boundary is where just one of them
        // lies; elsewhere a band's top and bottom edges are boundary whole.
        const bool touching = previousBottom == top;
        if (touching) {
            appendBoundary(segments, top, previous, band);
        } else {
            appendBoundary(segments, previousBottom, previous, {});
            appendBoundary(segments, top, {}, band);
            closeAll(vertical, open, previousBottom);
            open.clear();
        }
        // Every left and right edge is boundary; edges at the same x in
        // touching bands continue one segment.
        next.clear();
        size_t k = 0;
        for (const auto& [from, to] : band) {
            for (const int x : {from, to}) {
                for (; k < open.size() && open[k].first < x; ++k)
                    vertical.append(QLine(open[k].first, open[k].second, open[k].first, top));
                if (k < open.size() && open[k].first == x)
                    next.push_back(open[k++]);
                else
                    next.emplace_back(x, top);
            }
        }
        for (; k < open.size(); ++k)
            vertical.append(QLine(open[k].first, open[k].second, open[k].first, top));
        std::swap(open, next);
        std::swap(previous, band);
        band.clear();
        previousBottom = bottom;
    };
    // A region lists its rectangles band by band, from the top, each band
    // from the left.
    int top = INT_MIN, bottom = INT_MIN;
    for (const QRect& rect : region) {
        if (rect.y() != top) {
            if (!band.empty())
                finishBand(top, bottom);
            top = rect.y();
            bottom = rect.y() + rect.height();
        }
        band.emplace_back(rect.x(), rect.x() + rect.width());
    }
    if (!band.empty())
        finishBand(top, bottom);
    appendBoundary(segments, previousBottom, previous, {});
    closeAll(vertical, open, previousBottom);
    return segments + vertical;
}
