// The outline of a region of unit squares: exact merged segments for simple
// shapes, an outer and an inner outline for a ring, and agreement with a
// square-by-square comparison for irregular regions.

#include "editing/regionoutline.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

#include <vector>

namespace {


QSet<QString> segmentSet(const QVector<QLine>& lines)
{
    QSet<QString> set;
    for (const QLine& line : lines)
        set.insert(QStringLiteral("(%1,%2)-(%3,%4)").arg(line.x1()).arg(line.y1()).arg(line.x2()).arg(line.y2()));
    return set;
}

QSet<QString> segmentSet(std::initializer_list<QLine> lines)
{
    return segmentSet(QVector<QLine>(lines));
}

// Splits segments into unit edges, failing on diagonal or reversed ones.
QSet<QString> unitEdges(const QVector<QLine>& lines)
{
    QSet<QString> edges;
    for (const QLine& line : lines) {
        const bool horizontal = line.y1() == line.y2();
        if (!horizontal && line.x1() != line.x2())
            qFatal("diagonal segment");
        const int length = horizontal ? line.x2() - line.x1() : line.y2() - line.y1();
        if (length <= 0)
            qFatal("segment of no length or running backwards");
        for (int i = 0; i < length; ++i) {
            const QString edge = horizontal ? QStringLiteral("h %1 %2").arg(line.x1() + i).arg(line.y1())
                                            : QStringLiteral("v %1 %2").arg(line.x1()).arg(line.y1() + i);
            if (edges.contains(edge))
                qFatal("unit edge covered twice");
            edges.insert(edge);
        }
    }
    return edges;
}

// Every unit edge between a square inside and one outside, found square by square.
QSet<QString> bruteForceEdges(const QRegion& region)
{
    QSet<QString> edges;
    const QRect bounds = region.boundingRect().adjusted(-1, -1, 1, 1);
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        for (int x = bounds.left(); x <= bounds.right(); ++x) {
            const bool inside = region.contains(QPoint(x, y));
            if (inside != region.contains(QPoint(x, y - 1)))
                edges.insert(QStringLiteral("h %1 %2").arg(x).arg(y));
            if (inside != region.contains(QPoint(x - 1, y)))
                edges.insert(QStringLiteral("v %1 %2").arg(x).arg(y));
        }
    }
    return edges;
}

// A checkerboard of size x size unit squares, one band of rectangles per row.
QRegion checkerboard(int size)
{
    std::vector<QRect> rects;
    for (int y = 0; y < size; ++y)
        for (int x = y % 2; x < size; x += 2)
            rects.emplace_back(x, y, 1, 1);
    QRegion region;
    region.setRects(rects.data(), int(rects.size()));
    return region;
}

// The outline of an even-sized checkerboard: its inner grid lines whole and
// the squares' sides along the border, half of the border's length each way.
int checkerboardSegments(int size)
{
    return 2 * (size - 1) + 4 * (size / 2);
}

}  // namespace

class RegionOutlineTest : public QObject {
    Q_OBJECT
private slots:
    void emptyRegionHasNoOutline()
    {
        QVERIFY(Region::outline(QRegion()).isEmpty());
    }

    void squareHasFourSides()
    {
        const QVector<QLine> outline = Region::outline(QRegion(2, 3, 4, 4));
        QCOMPARE(outline.size(), 4);
        QCOMPARE(segmentSet(outline),
                 segmentSet({QLine(2, 3, 6, 3), QLine(2, 7, 6, 7), QLine(2, 3, 2, 7), QLine(6, 3, 6, 7)}));
    }

    void lShapeHasSixSides()
    {
        // ##
        // #
        // #
        const QRegion region = QRegion(0, 0, 2, 1) + QRegion(0, 1, 1, 2);
        QCOMPARE(segmentSet(Region::outline(region)),
                 segmentSet({QLine(0, 0, 2, 0), QLine(1, 1, 2, 1), QLine(0, 3, 1, 3), QLine(0, 0, 0, 3),
                             QLine(1, 1, 1, 3), QLine(2, 0, 2, 1)}));
    }

    void ringHasOuterAndInnerOutline()
    {
        const QRegion region = QRegion(0, 0, 6, 6) - QRegion(2, 2, 2, 2);
        QVERIFY(region.rectCount() > 1);
        QCOMPARE(segmentSet(Region::outline(region)),
                 segmentSet({// outside
                             QLine(0, 0, 6, 0), QLine(0, 6, 6, 6), QLine(0, 0, 0, 6), QLine(6, 0, 6, 6),
                             // around the hole
                             QLine(2, 2, 4, 2), QLine(2, 4, 4, 4), QLine(2, 2, 2, 4), QLine(4, 2, 4, 4)}));
    }

    void disjointRectanglesHaveSeparateOutlines()
    {
        const QRegion region = QRegion(0, 0, 2, 2) + QRegion(5, 1, 1, 3);
        QCOMPARE(segmentSet(Region::outline(region)),
                 segmentSet({QLine(0, 0, 2, 0), QLine(0, 2, 2, 2), QLine(0, 0, 0, 2), QLine(2, 0, 2, 2),
                             QLine(5, 1, 6, 1), QLine(5, 4, 6, 4), QLine(5, 1, 5, 4), QLine(6, 1, 6, 4)}));
    }

    void sideBySideRectanglesShareNoEdge()
    {
        // Two rectangles of different heights touching along x = 3: only the
        // part of that line where one of them stands alone is boundary.
        const QRegion region = QRegion(0, 0, 3, 4) + QRegion(3, 1, 2, 2);
        QCOMPARE(unitEdges(Region::outline(region)), bruteForceEdges(region));
        QVERIFY(segmentSet(Region::outline(region)).contains(QStringLiteral("(3,0)-(3,1)")));
        QVERIFY(segmentSet(Region::outline(region)).contains(QStringLiteral("(3,3)-(3,4)")));
    }

    void segmentsAreMaximal()
    {
        // Squares touching at corners leave straight lines without breaks: in
        // a checkerboard every inner grid line is one segment, while the
        // border lines stay broken into single square sides.
        const int size = 4;
        const QVector<QLine> outline = Region::outline(checkerboard(size));
        QCOMPARE(outline.size(), checkerboardSegments(size));
        for (const QLine& line : outline) {
            const bool onBorder = (line.dy() == 0 && (line.y1() == 0 || line.y1() == size))
                                  || (line.dx() == 0 && (line.x1() == 0 || line.x1() == size));
            QCOMPARE(qMax(line.dx(), line.dy()), onBorder ? 1 : size);
        }
    }

    void matchesSquareBySquareComparison()
    {
        QRandomGenerator random(1234);
        for (int round = 0; round < 20; ++round) {
            QRegion region;
            for (int i = 0; i < 12; ++i)
                region += QRect(random.bounded(-10, 30), random.bounded(-10, 30), random.bounded(1, 12),
                                random.bounded(1, 12));
            for (int i = 0; i < 4; ++i)
                region -= QRect(random.bounded(-10, 30), random.bounded(-10, 30), random.bounded(1, 8),
                                random.bounded(1, 8));
            QCOMPARE(unitEdges(Region::outline(region)), bruteForceEdges(region));
        }
    }

    void handlesThousandsOfRectangles()
    {
        const int size = 200;
        const QRegion region = checkerboard(size);
        QCOMPARE(region.rectCount(), size * size / 2);
        QElapsedTimer timer;
        timer.start();
        const QVector<QLine> outline = Region::outline(region);
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
        QCOMPARE(outline.size(), checkerboardSegments(size));
    }
};

QTEST_GUILESS_MAIN(RegionOutlineTest)
#include "tst_regionoutline.moc"
