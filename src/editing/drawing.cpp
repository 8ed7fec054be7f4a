#include "editing/drawing.h"

#include <algorithm>
#include <cmath>
#include <utility>

LayerCanvas::LayerCanvas(const EditingGrid& grid, int layer, int imageWidth, int imageHeight)
    : grid(grid)
    , layer(layer)
    , imageWidth(qMax(1, imageWidth))
    , imageHeight(qMax(1, imageHeight))
{
}

LayerCanvas::Spot LayerCanvas::locate(const Imageset& set, int x, int y) const
{
    Spot spot;
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return spot;
    spot.slot = grid.slotAt(layer, x / imageWidth, y / imageHeight);
    if (spot.slot < 0)
        return spot;
    spot.stored = set.patternSlot(spot.slot);
    spot.multiColor = set.isMultiColorImage(spot.slot);
    spot.x = spot.multiColor ? (x % imageWidth) / 2 : x % imageWidth;
    spot.y = y % imageHeight;
    return spot;
}

int LayerCanvas::code(const Imageset& set, int x, int y) const
{
    const Spot spot = locate(set, x, y);
    if (!spot.editable())
        return -1;
    const auto image = set.images.constFind(spot.stored);
    return image == set.images.cend() ? 0 : image->code(spot.x, spot.y, spot.multiColor);
}

int LayerCanvas::write(Imageset& set, int x, int y, int code) const
{
    const Spot spot = locate(set, x, y);
    if (!spot.editable())
        return -1;
    if (!set.images.contains(spot.stored))
        set.images.insert(spot.stored, ImageData(set.imageWidth, set.imageHeight));
    return set.images[spot.stored].setCode(spot.x, spot.y, spot.multiColor, qMax(0, code)) ? spot.stored : -1;
}

std::optional<bool> LayerCanvas::commonKind(const Imageset& set, const QRegion& selection) const
{
    // The cells the selection touches, found from its rectangles: a
    // selection may hold a million of them.
    QVector<bool> touched;
    if (!selection.isEmpty()) {
        touched.fill(false, grid.columns() * grid.rows());
        const QRect cells(0, 0, grid.columns(), grid.rows());
        const auto cellOf = [this](const QPoint& point) {
            return QPoint(int(std::floor(point.x() / (2.0 * imageWidth))), int(std::floor(point.y() / (2.0 * imageHeight))));
        };
        for (const QRect& rect : selection) {
            const QRect covered = QRect(cellOf(rect.topLeft()), cellOf(rect.bottomRight())) & cells;
            for (int row = covered.top(); row <= covered.bottom(); ++row)
                std::fill_n(touched.begin() + row * grid.columns() + covered.left(), covered.width(), true);
        }
    }
    bool multi = false, hiRes = false;
    for (int row = 0; row < grid.rows(); ++row) {
        for (int column = 0; column < grid.columns(); ++column) {
            const int slot = grid.slotAt(layer, column, row);
            if (slot < 0 || (!touched.isEmpty() && !touched.at(row * grid.columns() + column)))
                continue;
            (set.isMultiColorImage(slot) ? multi : hiRes) = true;
        }
    }
    if (multi && hiRes)
        return std::nullopt;
    return multi;
}

Pen Pen::forButton(Qt::MouseButton button, bool dither, bool multiColor, int leftCode, int rightCode)
{
    Pen pen;
    pen.left = leftCode;
    pen.right = rightCode;
    if (dither) {
        pen.dither = button == Qt::LeftButton;
        pen.code = 0;
    } else if (multiColor) {
        pen.code = button == Qt::LeftButton ? leftCode : rightCode;
    } else {
        pen.code = button == Qt::LeftButton ? 1 : 0;
    }
    return pen;
}

int Pen::codeAt(int x, int y, bool multiColor) const
{
    if (!dither)
        return code;
    if (multiColor)
        return ((x & 2) == 0) == (y % 2 == 0) ? left : right;
    return (x + y) % 2 != 0 ? 1 : 0;
}

namespace Drawing {

int setPixel(Imageset& set, const LayerCanvas& canvas, int x, int y, const Pen& pen, const QRegion& clip)
{
    if (!clip.isEmpty() && !clip.contains(QPoint(2 * x + 1, 2 * y + 1)))
        return -1;
    const LayerCanvas::Spot spot = canvas.locate(set, x, y);
    if (!spot.editable())
        return -1;
    return canvas.write(set, x, y, pen.codeAt(x, y, spot.multiColor));
}

void forLine(QPoint from, QPoint to, bool multiColor, const std::function<void(int x, int y)>& plot)
{
    // In single-precision floats, with halved x coordinates for multicolour
    // pixels, as the pixels a user sees must not depend on the platform.
    const float scale = multiColor ? 2.0f : 1.0f;
    float x0 = float(from.x()) / scale, y0 = float(from.y()), x1 = float(to.x()) / scale, y1 = float(to.y());
    const bool steep = std::fabs(y1 - y0) > std::fabs(x1 - x0);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const float dx = x1 - x0, dy = std::fabs(y1 - y0), step = y0 < y1 ? 1.0f : -1.0f;
    float error = dx / 2.0f, y = y0;
    for (float x = x0; x <= x1; x += 1.0f) {
        const float px = steep ? y : x, py = steep ? x : y;
        plot(int(std::floor(px * scale)), int(std::floor(py)));
        error -= dy;
        if (error < 0) {
            y += step;
            error += dx;
        }
    }
}

void forEllipse(QPoint from, QPoint to, bool multiColor, const std::function<void(int x, int y)>& plot)
{
    const double scale = multiColor ? 2.0 : 1.0;
    const double x0 = from.x() / scale, x1 = to.x() / scale, y0 = from.y(), y1 = to.y();
    const long long a = std::llround(std::floor(std::fabs(x1 - x0) / 2 + 0.25));
    const long long b = std::llround(std::floor(std::fabs(y1 - y0) / 2 + 0.25));
    const long long cx = std::llround(std::floor((x0 + x1) / 2 + 0.25));
    const long long cy = std::llround(std::floor((y0 + y1) / 2 + 0.25));
    const auto plot4 = [&](long long x, long long y) {
        for (const long long px : {cx + x, cx - x})
            for (const long long py : {cy + y, cy - y})
                plot(int(px * (multiColor ? 2 : 1)), int(py));
    };
    // A box one pixel high has no curve: the midpoint steps would leave only
    // its centre, where the user drew a flat line.
    if (b == 0) {
        for (long long x = 0; x <= a; ++x)
            plot4(x, 0);
        return;
    }
    const double a2 = double(a) * a, b2 = double(b) * b;
    long long x = 0, y = b;
    double dx = 0, dy = 2 * a2 * y;
    double d1 = b2 - a2 * b + a2 / 4;
    while (dx < dy) {
        plot4(x, y);
        ++x;
        dx += 2 * b2;
        if (d1 < 0) {
            d1 += dx + b2;
        } else {
            --y;
            dy -= 2 * a2;
            d1 += dx - dy + b2;
        }
    }
    double d2 = (x + 0.5) * (x + 0.5) * b2 + double(y - 1) * (y - 1) * a2 - a2 * b2;
    while (y >= 0) {
        plot4(x, y);
        --y;
        dy -= 2 * a2;
        if (d2 > 0) {
            d2 += a2 - dy;
        } else {
            ++x;
            dx += 2 * b2;
            d2 += dx - dy + a2;
        }
    }
}

QSet<int> drawShape(Imageset& set, const LayerCanvas& canvas, Shape shape, QPoint from, QPoint to, const Pen& pen,
                    bool multiColor, const QRegion& selection)
{
    QSet<int> changed;
    const auto plot = [&](int x, int y) {
        const int slot = setPixel(set, canvas, x, y, pen, selection);
        if (slot >= 0)
            changed.insert(slot);
    };
    switch (shape) {
    case Shape::Line:
        forLine(from, to, multiColor, plot);
        break;
    case Shape::Ellipse:
        forEllipse(from, to, multiColor, plot);
        break;
    case Shape::Rectangle:
        forLine(from, QPoint(to.x(), from.y()), multiColor, plot);
        forLine(QPoint(from.x(), to.y()), to, multiColor, plot);
        forLine(from, QPoint(from.x(), to.y()), multiColor, plot);
        forLine(QPoint(to.x(), from.y()), to, multiColor, plot);
        break;
    }
    return changed;
}

}
