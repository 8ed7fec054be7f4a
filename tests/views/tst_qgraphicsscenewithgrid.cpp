// The editing-area scene rendered to images: background, reference image
// behind or in front of the pixels, pixel grid per cell mode, image grid,
// selection outlines, hover frame and reference frame, every line one screen
// pixel wide; rows and columns as colour codes in
// tests/data/scenewithgrid/lines.txt.

#include "views/qgraphicsscenewithgrid.h"
#include "support/core/datatable.h"

#include <QPainter>

class SceneWithGridTest : public QObject {
    Q_OBJECT

private slots:
    void lines_data() { datatable::addRows("scenewithgrid/lines.txt"); }

    void lines()
    {
        QFETCH(QStringList, fields);
        QGraphicsSceneWithGrid scene;
        scene.setBackgroundColor(QColor(0, 0, 170));
        scene.setPixelsGridColor(QColor(0, 200, 0));
        scene.setImagesGridColor(QColor(255, 0, 0));
        scene.setImageSize(8, 8);
        scene.setGridSize(2, 2);
        scene.setCellMode([](int col, int row) {
            if (row == 0)
                return col == 0 ? QGraphicsSceneWithGrid::HiResCell : QGraphicsSceneWithGrid::MultiColorCell;
            return col == 0 ? QGraphicsSceneWithGrid::NoSlot : QGraphicsSceneWithGrid::HiResCell;
        });
        const QStringList set = fields[0].split(' ');
        const auto number = [&set](const QString& word, int after) { return set.value(set.indexOf(word) + after).toInt(); };
        scene.setPixelsGridVisible(set.contains("pixels"));
        scene.setImagesGridVisible(set.contains("images"));
        if (set.contains("hover"))
            scene.setHoverCell(number("hover", 1), number("hover", 2));
        if (set.contains("selection"))
            scene.setSelection(QRegion(4, 4, 20, 20) - QRegion(10, 10, 8, 8));
        if (set.contains("pending"))
            scene.setPendingRegion(QRegion(20, 20, 6, 6));
        if (set.contains("image")) {
            QImage image(4, 4, QImage::Format_RGB32);
            image.fill(QColor(255, 255, 0));
            scene.setReferenceImage(image);
        }
        scene.setReferenceRect(QRectF(number("rect", 1), number("rect", 2), number("rect", 3), number("rect", 4)));
        scene.setReferenceInFront(set.contains("front"));
        scene.setReferenceToolActive(set.contains("tool"));
        if (set.contains("item"))
            scene.addRect(0, 0, 8, 8, Qt::NoPen, QBrush(QColor(255, 0, 255)));

        const int zoom = fields[1].toInt();
        scene.setViewZoom(zoom);
        QImage image(34 * zoom, 34 * zoom, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        scene.render(&painter, QRectF(image.rect()), QRectF(-1, -1, 34, 34), Qt::IgnoreAspectRatio);
        painter.end();

        const QStringList line = fields[2].split(' ');
        const bool row = line[0] == "row";
        const int at = line[1].toInt(), from = line.value(3, "0").toInt();
        const int to = line.size() > 5 ? line[5].toInt() : image.width() - 1;
        const QMap<QRgb, QChar> codes {{qRgb(0, 0, 170), '.'}, {qRgb(0, 200, 0), 'g'}, {qRgb(255, 0, 0), 'r'},
                                       {qRgb(255, 255, 255), 'w'}, {qRgb(0, 0, 0), 'k'}, {qRgb(255, 255, 0), 'y'},
                                       {qRgb(255, 0, 255), 'm'}};
        QString shown;
        for (int i = from; i <= to; ++i)
            shown += codes.value(row ? image.pixel(i, at) : image.pixel(at, i), '?');

        const QString expected = fields[3];
        // A long outline shows both colours of its dashes.
        if (expected.contains(QString(16, '-')))
            QVERIFY2(shown.contains("wwwwkkkk"), qPrintable(shown));
        if (expected.contains('-'))
            shown.replace('w', '-').replace('k', '-');
        QCOMPARE(shown, expected);
    }
};

QTEST_MAIN(SceneWithGridTest)
#include "tst_qgraphicsscenewithgrid.moc"
