#include "editing/layerpixels.h"

#include <QHash>

#include <algorithm>
#include <utility>
#include <vector>

namespace {
int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
}

namespace Drawing {
QRegion regionOfRuns(const std::vector<Runs>& rows, int unitWidth)
{
    if (rows.empty())
        return {};
    QVector<QRect> rects;
    int bandStart = 0;
    for (int y = 0; y <= int(rows.size()); ++y) {
        const bool ends = y == int(rows.size()) || rows[size_t(y)] != rows[size_t(bandStart)];
        if (!ends)
            continue;
        for (const auto& [first, last] : rows[size_t(bandStart)])
            rects.append(QRect(2 * first * unitWidth, 2 * bandStart, 2 * (last - first + 1) * unitWidth, 2 * (y - bandStart)));
        bandStart = y;
    }
    QRegion region;
    if (!rects.isEmpty())
        region.setRects(rects.constData(), rects.size());
    return region;
}
}

namespace {
// Visits the 4-connected area of units that pass the test around a unit,
// run by run; every unit is tested once at most.
template<typename Test, typename Run>
void forConnectedRuns(int width, int height, QPoint start, Test test, Run run)
{
    std::vector<bool> visited(size_t(width) * size_t(height), false);
    const auto accepts = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && y < height && !visited[size_t(y) * width + x] && test(x, y);
    };
    std::vector<QPoint> seeds {start};
    while (!seeds.empty()) {
        const QPoint seed = seeds.back();
        seeds.pop_back();
        if (!accepts(seed.x(), seed.y()))
            continue;
        const int y = seed.y();
        int first = seed.x(), last = seed.x();
        while (accepts(first - 1, y))
            --first;
        while (accepts(last + 1, y))
            ++last;
        std::fill_n(visited.begin() + ptrdiff_t(y) * width + first, last - first + 1, true);
        run(first, last, y);
        for (const int next : {y - 1, y + 1}) {
            for (int x = first; x <= last; ++x) {
                if (!accepts(x, next))
                    continue;
                seeds.emplace_back(x, next);
                while (x + 1 <= last && accepts(x + 1, next))
                    ++x;
            }
        }
    }
}
}

LayerPixels::LayerPixels(const Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRect& cellArea)
    : multiColor(multiColor)
{
    const EditingGrid& grid = canvas.editingGrid();
    const QRect whole(0, 0, grid.columns(), grid.rows());
    area = cellArea.isEmpty() ? whole : cellArea & whole;
    columns = area.width();
    rows = area.height();
    unitWidth = multiColor ? 2 : 1;
    unitsPerCell = qMax(1, canvas.imageSize().width() / unitWidth);
    imageHeight = canvas.imageSize().height();
    pictureWidth = grid.columns() * unitsPerCell;
    pictureHeight = grid.rows() * imageHeight;
    cellImages.fill(-1, columns * rows);
    QHash<int, int> imageOfSlot;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int slot = grid.slotAt(canvas.layerIndex(), area.x() + column, area.y() + row);
            if (slot < 0)
                continue;
            const int stored = set.patternSlot(slot);
            auto known = imageOfSlot.constFind(stored);
            if (known == imageOfSlot.cend()) {
                Image image;
                image.stored = stored;
                image.codes.resize(unitsPerCell * imageHeight);
                const ImageData data = set.images.value(stored);
                for (int y = 0; y < imageHeight; ++y)
                    for (int x = 0; x < unitsPerCell; ++x)
                        image.codes[y * unitsPerCell + x] = qint8(data.code(x, y, multiColor));
                known = imageOfSlot.insert(stored, images.size());
                images.append(image);
            }
            cellImages[row * columns + column] = *known;
        }
    }
}

void LayerPixels::setCode(int x, int y, int code)
{
    const int index = imageAt(x, y);
    if (index < 0)
        return;
    Image& image = images[index];
    qint8& stored = image.codes[(y % imageHeight) * unitsPerCell + x % unitsPerCell];
    if (stored != qint8(code)) {
        stored = qint8(code);
        image.changed = true;
    }
}

QSet<int> LayerPixels::writeBack(Imageset& set) const
{
    QSet<int> changed;
    for (const Image& image : images) {
        if (!image.changed)
            continue;
        if (!set.images.contains(image.stored))
            set.images.insert(image.stored, ImageData(set.imageWidth, set.imageHeight));
        ImageData& data = set.images[image.stored];
        // Whole bytes packed from the codes, the leftmost pixel in the
        // highest bits.
        const int perByte = multiColor ? 4 : 8, bits = multiColor ? 2 : 1;
        const int rows = qMin(imageHeight, data.height), bytesPerRow = qMin(data.bytesPerRow, unitsPerCell / perByte);
        for (int y = 0; y < rows; ++y) {
            const qint8* codes = image.codes.constData() + y * unitsPerCell;
            for (int b = 0; b < bytesPerRow && y * data.bytesPerRow + b < data.bytes.size(); ++b) {
                int byte = 0;
                for (int k = 0; k < perByte; ++k)
                    byte = (byte << bits) | (codes[b * perByte + k] & (multiColor ? 3 : 1));
                data.bytes[y * data.bytesPerRow + b] = char(byte);
            }
        }
        changed.insert(image.stored);
    }
    return changed;
}

namespace Drawing {

std::vector<bool> unitsInside(const QRegion& region, int width, int height, int unitWidth)
{
    std::vector<bool> inside(size_t(width) * size_t(height), false);
    const int span = 2 * unitWidth;
    for (const QRect& rect : region) {
        const int top = qMax(0, floorDiv(rect.top(), 2)), bottom = qMin(height - 1, floorDiv(rect.bottom() - 1, 2));
        const int left = qMax(0, -floorDiv(-(rect.left() - 1), span)), right = qMin(width - 1, floorDiv(rect.right() - 1, span));
        for (int y = top; y <= bottom; ++y)
            std::fill_n(inside.begin() + ptrdiff_t(y) * width + left, qMax(0, right - left + 1), true);
    }
    return inside;
}

QSet<int> floodFill(Imageset& set, const LayerCanvas& canvas, QPoint pixel, const Pen& pen, bool multiColor,
                    const QRegion& selection)
{
    LayerPixels pixels(set, canvas, multiColor);
    const QPoint start = unitOf(pixel, multiColor);
    const int old = pixels.code(start.x(), start.y());
    if (old < 0 || (!pen.dither && pen.code == old))
        return {};
    const int width = pixels.width(), height = pixels.height();
    const std::vector<bool> inside = selection.isEmpty() ? std::vector<bool>()
                                                         : unitsInside(selection, width, height, pixels.unitWidthInPixels());
    const auto test = [&](int x, int y) {
        return (inside.empty() || inside[size_t(y) * width + x]) && pixels.code(x, y) == old;
    };
    forConnectedRuns(width, height, start, test, [&](int first, int last, int y) {
        for (int x = first; x <= last; ++x)
            pixels.setCode(x, y, pen.codeAt(pixels.hiResX(x), y, multiColor));
    });
    return pixels.writeBack(set);
}

QRegion floodArea(const Imageset& set, const LayerCanvas& canvas, QPoint pixel, bool multiColor)
{
    const LayerPixels pixels(set, canvas, multiColor);
    const QPoint start = unitOf(pixel, multiColor);
    const int old = pixels.code(start.x(), start.y());
    if (old < 0)
        return {};
    std::vector<Runs> rows(size_t(pixels.height()));
    forConnectedRuns(pixels.width(), pixels.height(), start, [&](int x, int y) { return pixels.code(x, y) == old; },
                     [&](int first, int last, int y) { rows[size_t(y)].emplace_back(first, last); });
    // Runs found apart may touch: a region wants them joined.
    for (Runs& runs : rows) {
        std::sort(runs.begin(), runs.end());
        Runs joined;
        for (const auto& run : runs) {
            if (!joined.empty() && joined.back().second + 1 >= run.first)
                joined.back().second = qMax(joined.back().second, run.second);
            else
                joined.push_back(run);
        }
        runs = std::move(joined);
    }
    return regionOfRuns(rows, pixels.unitWidthInPixels());
}

QRegion band(QPoint from, QPoint to, bool multiColor)
{
    const QPoint a = unitOf(from, multiColor), b = unitOf(to, multiColor);
    const int unit = multiColor ? 4 : 2;
    const QRect units = QRect(a, b).normalized();
    return QRegion(units.x() * unit, units.y() * 2, units.width() * unit, units.height() * 2);
}

MoveBuffers lift(const Imageset& set, const LayerCanvas& canvas, const QRegion& selection, bool multiColor)
{
    const LayerPixels pixels(set, canvas, multiColor);
    MoveBuffers buffers;
    buffers.layer = canvas.layerIndex();
    buffers.gridGeneration = canvas.editingGrid().generation();
    buffers.multiColor = multiColor;
    buffers.size = QSize(pixels.width(), pixels.height());
    const int width = pixels.width(), height = pixels.height();
    const std::vector<bool> inside = unitsInside(selection, width, height, pixels.unitWidthInPixels());
    buffers.under.resize(width * height);
    QRect bounds;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool selected = inside[size_t(y) * width + x];
            buffers.under[y * width + x] = qint8(selected ? -1 : pixels.code(x, y));
            if (selected)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    buffers.liftedRect = bounds;
    buffers.lifted.fill(-1, bounds.width() * bounds.height());
    for (int y = bounds.top(); y <= bounds.bottom(); ++y)
        for (int x = bounds.left(); x <= bounds.right(); ++x)
            if (inside[size_t(y) * width + x])
                buffers.lifted[(y - bounds.y()) * bounds.width() + x - bounds.x()] = qint8(pixels.code(x, y));
    return buffers;
}

QSet<int> moveLifted(Imageset& set, const LayerCanvas& canvas, const MoveBuffers& buffers, QPoint from, QPoint to)
{
    const QRect lifted = buffers.liftedRect;
    const QRect dirty = (lifted.translated(from) | lifted.translated(to)) & QRect(QPoint(0, 0), buffers.size);
    if (dirty.isEmpty())
        return {};
    const int unitsPerCell = qMax(1, canvas.imageSize().width() / (buffers.multiColor ? 2 : 1));
    const int imageHeight = canvas.imageSize().height();
    const QRect cells(QPoint(dirty.left() / unitsPerCell, dirty.top() / imageHeight),
                      QPoint(dirty.right() / unitsPerCell, dirty.bottom() / imageHeight));
    LayerPixels pixels(set, canvas, buffers.multiColor, cells);
    const int width = buffers.size.width();
    for (int y = dirty.top(); y <= dirty.bottom(); ++y) {
        for (int x = dirty.left(); x <= dirty.right(); ++x) {
            const QPoint source = QPoint(x, y) - to - lifted.topLeft();
            int code = -1;
            if (source.x() >= 0 && source.y() >= 0 && source.x() < lifted.width() && source.y() < lifted.height())
                code = buffers.lifted.at(source.y() * lifted.width() + source.x());
            if (code < 0)
                code = qMax(0, int(buffers.under.at(y * width + x)));
            if (pixels.code(x, y) >= 0)
                pixels.setCode(x, y, code);
        }
    }
    return pixels.writeBack(set);
}

}
