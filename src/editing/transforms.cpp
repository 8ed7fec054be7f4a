#include "editing/transforms.h"

#include <cmath>
#include <functional>

namespace {

// A code of the working area before the transformation: 0 outside it, where
// no slot is placed, and (when the content is the selection's) outside the
// selection.
struct Snapshot {
    QRect area;
    QVector<qint8> codes;

    int at(const QPoint& unit) const
    {
        return area.contains(unit) ? codes.at((unit.y() - area.y()) * area.width() + unit.x() - area.x()) : 0;
    }
};

// Rewrites every unit of the working area inside the selection with the
// code newCode gives it from the snapshot and its own position.
QSet<int> rewrite(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection,
                  bool selectedContent, bool clipToSelection,
                  const std::function<int(const Snapshot&, const QPoint&)>& newCode)
{
    LayerPixels pixels(set, canvas, multiColor);
    const int width = pixels.width(), height = pixels.height(), unit = pixels.unitWidthInPixels();
    const std::vector<bool> inside = selection.isEmpty() ? std::vector<bool>()
                                                         : Drawing::unitsInside(selection, width, height, unit);
    const auto selected = [&](int x, int y) { return inside.empty() || inside[size_t(y) * width + x]; };
    Snapshot snapshot;
    snapshot.area = QRect(0, 0, width, height);
    if (!selection.isEmpty()) {
        QRect bounds;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (inside[size_t(y) * width + x])
                    bounds |= QRect(x, y, 1, 1);
        snapshot.area = bounds;
    }
    const QRect area = snapshot.area;
    snapshot.codes.resize(area.width() * area.height());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            snapshot.codes[(y - area.y()) * area.width() + x - area.x()] =
                qint8(selectedContent && !selected(x, y) ? 0 : qMax(0, pixels.code(x, y)));
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (!clipToSelection || selected(x, y))
                pixels.setCode(x, y, newCode(snapshot, QPoint(x, y)));
    return pixels.writeBack(set);
}

// The middle of the working area, or the given centre.
QPointF centreOf(const Snapshot& snapshot, const std::optional<QPoint>& centre)
{
    const QRect area = snapshot.area;
    const QPoint point = centre ? *centre : QPoint((area.left() + area.right()) / 2, (area.top() + area.bottom()) / 2);
    return QPointF(point.x() + 0.5, point.y() + 0.5);
}

// Half away from zero.
int nearest(double value)
{
    return int(std::round(value));
}

} // namespace

namespace Transform {

QSet<int> shift(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection,
                Direction direction)
{
    return rewrite(set, canvas, multiColor, selection, false, false, [direction](const Snapshot& s, const QPoint& at) {
        const QRect area = s.area;
        const auto wrap = [](int value, int first, int last) { return value < first ? last : value > last ? first : value; };
        switch (direction) {
        case Direction::Left:
            return s.at(QPoint(wrap(at.x() + 1, area.left(), area.right()), at.y()));
        case Direction::Right:
            return s.at(QPoint(wrap(at.x() - 1, area.left(), area.right()), at.y()));
        case Direction::Up:
            return s.at(QPoint(at.x(), wrap(at.y() + 1, area.top(), area.bottom())));
        case Direction::Down:
            break;
        }
        return s.at(QPoint(at.x(), wrap(at.y() - 1, area.top(), area.bottom())));
    });
}

QSet<int> mirror(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection)
{
    return rewrite(set, canvas, multiColor, selection, true, true, [](const Snapshot& s, const QPoint& at) {
        return s.at(QPoint(s.area.left() + s.area.right() - at.x(), at.y()));
    });
}

QSet<int> flip(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection)
{
    return rewrite(set, canvas, multiColor, selection, true, true, [](const Snapshot& s, const QPoint& at) {
        return s.at(QPoint(at.x(), s.area.top() + s.area.bottom() - at.y()));
    });
}

QSet<int> rotate(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection, double degrees,
                 bool right, std::optional<QPoint> centre, double pixelAspect)
{
    const double theta = degrees * 0.017453292519943295 * (right ? -1 : 1);
    const double cosine = std::cos(theta), sine = std::sin(theta);
    return rewrite(set, canvas, multiColor, selection, true, true, [&](const Snapshot& s, const QPoint& at) {
        const QPointF c = centreOf(s, centre);
        const double dx = (at.x() - c.x()) * pixelAspect, dy = at.y() - c.y();
        return s.at(QPoint(nearest(c.x() + (dx * cosine - dy * sine) / pixelAspect),
                           nearest(c.y() + dx * sine + dy * cosine)));
    });
}

QSet<int> scale(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection,
                double widthPercent, double heightPercent, std::optional<QPoint> centre)
{
    if (widthPercent <= 0 || heightPercent <= 0)
        return {};
    return rewrite(set, canvas, multiColor, selection, true, true, [&](const Snapshot& s, const QPoint& at) {
        const QPointF c = centreOf(s, centre);
        return s.at(QPoint(nearest((at.x() - c.x()) * 100 / widthPercent + c.x()),
                           nearest((at.y() - c.y()) * 100 / heightPercent + c.y())));
    });
}

QSet<int> invert(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection)
{
    const int highest = multiColor ? 3 : 1;
    return rewrite(set, canvas, multiColor, selection, false, true,
                   [highest](const Snapshot& s, const QPoint& at) { return highest - s.at(at); });
}

QSet<int> erase(Imageset& set, const LayerCanvas& canvas, bool multiColor, const QRegion& selection)
{
    return rewrite(set, canvas, multiColor, selection, false, true, [](const Snapshot&, const QPoint&) { return 0; });
}

}
