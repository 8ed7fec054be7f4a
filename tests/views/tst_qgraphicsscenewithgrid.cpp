// The editing-area scene rendered to images at zoom 1 and 8: background,
// reference image behind or in front of the pixels, pixel grid per cell mode,
// image grid, selection outlines (a ring outlined outside and around its
// hole), hover frame and reference frame, every line one screen pixel wide.
//
// Rendered rows and columns are compared as strings of colour codes, one
// character per screen pixel: '.' background, 'g' pixel grid, 'r' image grid,
// 'w' white, 'k' black, 'y' reference image, 'm' a pixel item, '?' other.

#include "editing/regionoutline.h"
#include "views/qgraphicsscenewithgrid.h"
#include "views/qgraphicsviewzoomable.h"

#include <QGraphicsRectItem>
#include <QMap>
#include <QPainter>
#include <QtTest>

namespace {

const QColor background(0, 0, 170);
const QColor pixelsGrid(0, 200, 0);
const QColor imagesGrid(255, 0, 0);
const QColor reference(255, 255, 0);
const QColor pixelItem(255, 0, 255);

// Two by two cells of 8 x 8 hi-res pixels, 32 x 32 units: the top left
// cell hi-res, the top right multicolour, the bottom left without a slot
// and the bottom right hi-res.
int cellMode(int col, int row)
{
    if (row == 0)
        return col == 0 ? QGraphicsSceneWithGrid::HiResCell : QGraphicsSceneWithGrid::MultiColorCell;
    return col == 0 ? QGraphicsSceneWithGrid::NoSlot : QGraphicsSceneWithGrid::HiResCell;
}

// The rendered area: the grid plus one unit around it, so that lines on the
// grid's edges are inside the image.
const QRectF renderedArea(-1, -1, 34, 34);

// The screen pixel where a line at the given scene coordinate shows.
int screen(int unit, int zoom)
{
    return (unit + 1) * zoom;
}

QImage render(QGraphicsSceneWithGrid& scene, int zoom)
{
    scene.setViewZoom(zoom);
    QImage image((renderedArea.size() * zoom).toSize(), QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    scene.render(&painter, QRectF(image.rect()), renderedArea, Qt::IgnoreAspectRatio);
    return image;
}

QChar colorCode(QRgb rgb)
{
    const QMap<QRgb, QChar> codes {{background.rgb(), '.'}, {pixelsGrid.rgb(), 'g'}, {imagesGrid.rgb(), 'r'},
                                   {qRgb(255, 255, 255), 'w'}, {qRgb(0, 0, 0), 'k'}, {reference.rgb(), 'y'},
                                   {pixelItem.rgb(), 'm'}};
    return codes.value(rgb | 0xFF000000u, '?');
}

QString rowCodes(const QImage& image, int y, int from = 0, int to = -1)
{
    QString codes;
    for (int x = from; x <= (to < 0 ? image.width() - 1 : to); ++x)
        codes += colorCode(image.pixel(x, y));
    return codes;
}

QString columnCodes(const QImage& image, int x, int from = 0, int to = -1)
{
    QString codes;
    for (int y = from; y <= (to < 0 ? image.height() - 1 : to); ++y)
        codes += colorCode(image.pixel(x, y));
    return codes;
}

// A full row or column of background with single-pixel lines at the given
// scene coordinates.
QString lineCodes(int zoom, const QMap<int, QChar>& lines)
{
    QString codes(int(renderedArea.width()) * zoom, '.');
    for (auto line = lines.begin(); line != lines.end(); ++line)
        codes[screen(line.key(), zoom)] = line.value();
    return codes;
}

// Whether a stretch of an outline is dashed black and white in steps of
// four screen pixels.
bool isDashed(const QString& codes)
{
    return !codes.isEmpty() && codes.count('w') + codes.count('k') == codes.size()
           && codes.contains(QStringLiteral("wwwwkkkk"));
}

// The codes with black and white both shown as '-', for outlines whose dash
// phase does not matter.
QString dashesAsMinus(QString codes)
{
    return codes.replace('w', '-').replace('k', '-');
}

}  // namespace

class SceneWithGridTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QGraphicsSceneWithGrid> scene;

private slots:
    void init()
    {
        scene = std::make_unique<QGraphicsSceneWithGrid>();
        scene->setBackgroundColor(background);
        scene->setImageSize(8, 8);
        scene->setGridSize(2, 2);
        scene->setCellMode(cellMode);
        scene->setPixelsGridColor(pixelsGrid);
        scene->setImagesGridColor(imagesGrid);
    }

    void cleanup() { scene.reset(); }

    void describesCellsInSceneUnits()
    {
        QCOMPARE(scene->cellRect(1, 0), QRect(16, 0, 16, 16));
        QCOMPARE(scene->gridRect(), QRect(0, 0, 32, 32));
        scene->setImageSize(24, 21);
        scene->setGridSize(3, 2);
        QCOMPARE(scene->cellRect(2, 1), QRect(96, 42, 48, 42));
        QCOMPARE(scene->gridRect(), QRect(0, 0, 144, 84));
    }

    void withoutGridsShowsBackgroundInsideTheFrame()
    {
        const QImage image = render(*scene, 1);
        QCOMPARE(rowCodes(image, screen(3, 1)), lineCodes(1, {{0, 'r'}, {32, 'r'}}));
        QCOMPARE(columnCodes(image, screen(21, 1)), lineCodes(1, {{0, 'r'}, {32, 'r'}}));
    }

    void gridsAtZoomOne()
    {
        scene->setPixelsGridVisible(true);
        scene->setImagesGridVisible(true);
        const QImage image = render(*scene, 1);

        // Inside a pixel row: hi-res columns every 2 units, multicolour ones
        // every 4, image grid lines over the cell boundaries.
        QCOMPARE(rowCodes(image, screen(3, 1)), QStringLiteral(".r.g.g.g.g.g.g.g.r...g...g...g...r"));
        // The bottom left cell has no slot and so no pixel grid.
        QCOMPARE(rowCodes(image, screen(19, 1)), QStringLiteral(".r...............r.g.g.g.g.g.g.g.r"));
        // On a pixel row boundary the horizontal pixel-grid line runs across.
        QCOMPARE(rowCodes(image, screen(2, 1), screen(0, 1), screen(32, 1)),
                 QStringLiteral("rgggggggggggggggrgggggggggggggggr"));
    }

    void gridLinesAreOneScreenPixelAtZoomEight()
    {
        scene->setPixelsGridVisible(true);
        scene->setImagesGridVisible(true);
        const QImage image = render(*scene, 8);
        const int insidePixelRow = screen(3, 8) - 4;

        QCOMPARE(rowCodes(image, insidePixelRow),
                 lineCodes(8, {{0, 'r'}, {2, 'g'}, {4, 'g'}, {6, 'g'}, {8, 'g'}, {10, 'g'}, {12, 'g'}, {14, 'g'},
                               {16, 'r'}, {20, 'g'}, {24, 'g'}, {28, 'g'}, {32, 'r'}}));
        // Down the left column of cells: pixel rows in the top cell only.
        QCOMPARE(columnCodes(image, screen(7, 8) - 4),
                 lineCodes(8, {{0, 'r'}, {2, 'g'}, {4, 'g'}, {6, 'g'}, {8, 'g'}, {10, 'g'}, {12, 'g'}, {14, 'g'},
                               {16, 'r'}, {32, 'r'}}));
    }

    void eachGridHasItsOwnSwitch()
    {
        scene->setPixelsGridVisible(true);
        QCOMPARE(rowCodes(render(*scene, 8), screen(3, 8) - 4),
                 lineCodes(8, {{0, 'r'}, {2, 'g'}, {4, 'g'}, {6, 'g'}, {8, 'g'}, {10, 'g'}, {12, 'g'}, {14, 'g'},
                               {16, 'g'}, {20, 'g'}, {24, 'g'}, {28, 'g'}, {32, 'r'}}));
        scene->setPixelsGridVisible(false);
        scene->setImagesGridVisible(true);
        QCOMPARE(rowCodes(render(*scene, 8), screen(3, 8) - 4), lineCodes(8, {{0, 'r'}, {16, 'r'}, {32, 'r'}}));
    }

    void gridLinesAreOneScreenPixelInAZoomedView()
    {
        scene->setPixelsGridVisible(true);
        scene->setImagesGridVisible(true);
        scene->setSceneRect(renderedArea);
        QGraphicsViewZoomable view;
        view.setScene(scene.get());
        view.setZoom(8.0);
        scene->setViewZoom(view.zoomFactor());
        view.resize(400, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        const QImage image = view.viewport()->grab().toImage();
        const QPoint left = view.mapFromScene(QPointF(0, 3));
        const QPoint right = view.mapFromScene(QPointF(32, 3));
        const QString codes = rowCodes(image, left.y(), left.x() - 4, right.x() + 4);
        // 3 image-grid lines, 7 hi-res and 3 multicolour pixel-grid lines,
        // each a single screen pixel with background between.
        QCOMPARE(codes.count('r'), 3);
        QCOMPARE(codes.count('g'), 10);
        QVERIFY2(!codes.contains(QStringLiteral("gg")) && !codes.contains(QStringLiteral("rr"))
                     && !codes.contains(QStringLiteral("rg")) && !codes.contains(QStringLiteral("gr")),
                 qPrintable(codes));
    }

    void hoverFrameIsThreeScreenPixelsWide()
    {
        scene->setHoverCell(1, 1);
        QCOMPARE(scene->hoverCol(), 1);
        QCOMPARE(scene->hoverRow(), 1);
        const QImage image = render(*scene, 8);

        const int middleOfCell = screen(24, 8);
        QString expected = lineCodes(8, {{0, 'r'}});
        for (int x : {screen(16, 8), screen(32, 8)})
            expected.replace(x - 1, 3, QStringLiteral("www"));
        QCOMPARE(rowCodes(image, middleOfCell), expected);
        QCOMPARE(columnCodes(image, middleOfCell), expected);
        // Across the top of the cell the frame is three rows thick.
        for (int offset : {-1, 0, 1})
            QVERIFY(!rowCodes(image, screen(16, 8) + offset, screen(17, 8), screen(31, 8)).contains(QChar('.')));
        QCOMPARE(columnCodes(image, screen(8, 8)), lineCodes(8, {{0, 'r'}, {32, 'r'}}));

        scene->setHoverCell(-1, -1);
        QCOMPARE(rowCodes(render(*scene, 8), middleOfCell), lineCodes(8, {{0, 'r'}, {32, 'r'}}));
    }

    void ringSelectionIsOutlinedOutsideAndAroundTheHole()
    {
        const QRegion ring = QRegion(4, 4, 20, 20) - QRegion(10, 10, 8, 8);
        scene->setSelection(ring);
        QCOMPARE(scene->selection(), ring);
        QCOMPARE(scene->selectionOutline(), Region::outline(ring));
        const QImage image = render(*scene, 8);

        // Outer outline: all four sides.
        QVERIFY(isDashed(columnCodes(image, screen(4, 8), screen(4, 8), screen(24, 8))));
        QVERIFY(isDashed(columnCodes(image, screen(24, 8), screen(4, 8), screen(24, 8))));
        QVERIFY(isDashed(rowCodes(image, screen(4, 8), screen(4, 8), screen(24, 8))));
        QVERIFY(isDashed(rowCodes(image, screen(24, 8), screen(4, 8), screen(24, 8))));
        // Around the hole.
        QVERIFY(isDashed(columnCodes(image, screen(10, 8), screen(10, 8), screen(18, 8))));
        QVERIFY(isDashed(columnCodes(image, screen(18, 8), screen(10, 8), screen(18, 8))));
        QVERIFY(isDashed(rowCodes(image, screen(10, 8), screen(10, 8), screen(18, 8))));
        QVERIFY(isDashed(rowCodes(image, screen(18, 8), screen(10, 8), screen(18, 8))));
        // Across the ring: outside, the ring's body, the hole, the body, outside.
        QCOMPARE(dashesAsMinus(rowCodes(image, screen(14, 8) + 3)),
                 lineCodes(8, {{0, 'r'}, {4, '-'}, {10, '-'}, {18, '-'}, {24, '-'}, {32, 'r'}}));

        scene->setSelection(QRegion());
        QVERIFY(scene->selectionOutline().isEmpty());
        QCOMPARE(rowCodes(render(*scene, 8), screen(4, 8)), lineCodes(8, {{0, 'r'}, {32, 'r'}}));
    }

    void pendingRegionIsOutlinedToo()
    {
        scene->setPendingRegion(QRegion(20, 20, 6, 6));
        QCOMPARE(scene->pendingRegion(), QRegion(20, 20, 6, 6));
        const QImage image = render(*scene, 8);
        QVERIFY(isDashed(columnCodes(image, screen(20, 8), screen(20, 8), screen(26, 8))));
        QVERIFY(isDashed(rowCodes(image, screen(26, 8), screen(20, 8), screen(26, 8))));

        scene->setPendingRegion(QRegion());
        QCOMPARE(columnCodes(render(*scene, 8), screen(20, 8)), lineCodes(8, {{0, 'r'}, {32, 'r'}}));
    }

    void referenceImageBehindThePixels()
    {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(reference);
        scene->setReferenceImage(image);
        scene->setReferenceRect(QRectF(0, 0, 16, 16));
        scene->addRect(0, 0, 8, 8, Qt::NoPen, QBrush(pixelItem));

        const QImage rendered = render(*scene, 8);
        QCOMPARE(colorCode(rendered.pixel(screen(4, 8), screen(4, 8))), QChar('m'));
        QCOMPARE(colorCode(rendered.pixel(screen(12, 8), screen(12, 8))), QChar('y'));
        QCOMPARE(colorCode(rendered.pixel(screen(20, 8), screen(4, 8))), QChar('.'));
    }

    void referenceImageInFrontOfThePixelsBehindTheGrids()
    {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(reference);
        scene->setReferenceImage(image);
        scene->setReferenceRect(QRectF(0, 0, 16, 16));
        scene->setReferenceInFront(true);
        QVERIFY(scene->isReferenceInFront());
        scene->addRect(0, 0, 8, 8, Qt::NoPen, QBrush(pixelItem));
        scene->setPixelsGridVisible(true);

        const QImage rendered = render(*scene, 8);
        QCOMPARE(colorCode(rendered.pixel(screen(3, 8) - 4, screen(3, 8) - 4)), QChar('y'));
        QCOMPARE(colorCode(rendered.pixel(screen(2, 8), screen(3, 8) - 4)), QChar('g'));
    }

    void referenceFrameWhileItsToolIsActive()
    {
        const QRectF rect(2, 2, 12, 12);
        scene->setReferenceRect(rect);
        scene->setReferenceToolActive(true);
        // No image, no frame.
        QCOMPARE(columnCodes(render(*scene, 8), screen(2, 8)), lineCodes(8, {{0, 'r'}, {32, 'r'}}));

        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(reference);
        scene->setReferenceImage(image);
        QImage rendered = render(*scene, 8);
        QCOMPARE(columnCodes(rendered, screen(2, 8), screen(2, 8), screen(14, 8)),
                 QString(screen(14, 8) - screen(2, 8) + 1, 'w'));
        QCOMPARE(rowCodes(rendered, screen(14, 8), screen(2, 8), screen(14, 8)),
                 QString(screen(14, 8) - screen(2, 8) + 1, 'w'));

        scene->setReferenceToolActive(false);
        rendered = render(*scene, 8);
        QCOMPARE(colorCode(rendered.pixel(screen(2, 8), screen(8, 8))), QChar('y'));
    }
};

QTEST_MAIN(SceneWithGridTest)
#include "tst_qgraphicsscenewithgrid.moc"
