// The drawing tools on the pixels of an editing-grid layer, row by row of
// tests/data/drawing/operations.txt: pens and dithering, lines, ellipses,
// rectangles, fills, flood selections, moves of selected pixels and the
// transformations; and the reference picture grabbed and dragged
// (drawing/reference.txt).

#include "editing/layerpixels.h"
#include "editing/referenceframe.h"
#include "editing/transforms.h"
#include "support/core/datatable.h"

#include <QtTest>

namespace {
constexpr int imageHeight = 4;

QPoint point(const QString& text)
{
    return QPoint(text.section(',', 0, 0).toInt(), text.section(',', 1, 1).toInt());
}

// The layer's picture in units, rows parted by '/': the code of every unit,
// '.' where no slot is placed.
QString picture(const Imageset& set, const LayerCanvas& canvas, bool multi)
{
    QStringList rows;
    for (int y = 0; y < canvas.height(); ++y) {
        QString row;
        for (int x = 0; x < canvas.width(); x += multi ? 2 : 1) {
            const int code = canvas.code(set, x, y);
            row += code < 0 ? QChar('.') : QChar('0' + code);
        }
        rows << row;
    }
    return rows.join('/');
}

// The units whose centres lie in the selection: '#', others '-'.
QString mask(const QRegion& selection, const LayerCanvas& canvas, bool multi)
{
    QStringList rows;
    for (int y = 0; y < canvas.height(); ++y) {
        QString row;
        for (int x = 0; x < canvas.width(); x += multi ? 2 : 1)
            row += selection.contains(QPoint(2 * x + 1, 2 * y + 1)) ? '#' : '-';
        rows << row;
    }
    return rows.join('/');
}
} // namespace

class DrawingTest : public QObject {
    Q_OBJECT

private slots:
    void operations_data() { datatable::addRows("drawing/operations.txt"); }

    void operations()
    {
        QFETCH(QStringList, fields);
        // The set: 8 x 4 characters, hi-res, multicolour (every placed slot
        // in colour 9) or in extended background colour mode.
        const QString mode = fields[0].section(' ', 0, 0);
        const bool multi = mode == "multi";
        Imageset set(0, QStringLiteral("t"), 8, imageHeight, Imageset::Charset);
        set.mode = multi ? Imageset::MCM : mode == "ecm" ? Imageset::ECM : Imageset::SCM;
        EditingGrid grid;
        const QStringList layout = fields[0].section(' ', 1).split('/');
        grid.resize(layout.first().split(' ', Qt::SkipEmptyParts).size(), layout.size());
        for (int row = 0; row < layout.size(); ++row) {
            const QStringList slotList = layout[row].split(' ', Qt::SkipEmptyParts);
            for (int column = 0; column < slotList.size(); ++column) {
                if (slotList[column] == ".")
                    continue;
                grid.place(0, column, row, slotList[column].toInt());
                set.imageColors.insert(slotList[column].toInt(), 9);
            }
        }
        const LayerCanvas canvas(grid, 0, set.imageWidth, imageHeight);
        const QStringList start = fields[1].split('/');
        for (int y = 0; y < start.size(); ++y)
            for (int x = 0; x < start[y].size(); ++x)
                canvas.write(set, multi ? 2 * x : x, y, start[y][x].digitValue());

        QRegion selection;
        MoveBuffers lifted;
        QPoint offset;
        QSet<int> changed;
        for (const QString& operation : fields[2].split("; ")) {
            const QStringList w = operation.split(' ');
            // Pens: "c2" draws code 2; "dither" the left button's dither of codes 1 and 2.
            const QString penText = w.value(w.size() - 1);
            Pen pen;
            pen.dither = penText == "dither";
            pen.left = 1;
            pen.right = 2;
            pen.code = pen.dither ? 0 : penText.mid(1).toInt();
            if (w[0] == "pixel") {
                changed << Drawing::setPixel(set, canvas, point(w[1]).x(), point(w[1]).y(), pen, selection);
            } else if (w[0] == "line" || w[0] == "ellipse" || w[0] == "rect") {
                const auto shape = w[0] == "line" ? Drawing::Shape::Line
                    : w[0] == "ellipse" ? Drawing::Shape::Ellipse : Drawing::Shape::Rectangle;
                changed += Drawing::drawShape(set, canvas, shape, point(w[1]), point(w[2]), pen, multi, selection);
            } else if (w[0] == "fill") {
                changed += Drawing::floodFill(set, canvas, point(w[1]), pen, multi, selection);
            } else if (w[0] == "select") { // a rectangle of pixels x,y to x,y
                selection = Drawing::band(point(w[1]), point(w[2]), multi);
            } else if (w[0] == "area") {
                selection = Drawing::floodArea(set, canvas, point(w[1]), multi);
            } else if (w[0] == "lift") {
                lifted = Drawing::lift(set, canvas, selection, multi);
            } else if (w[0] == "move") { // to an offset in units from where the pixels were lifted
                changed += Drawing::moveLifted(set, canvas, lifted, offset, point(w[1]));
                offset = point(w[1]);
            } else if (w[0] == "shift") {
                const QStringList directions {"left", "right", "up", "down"};
                changed += Transform::shift(set, canvas, multi, selection, Transform::Direction(directions.indexOf(w[1])));
            } else if (w[0] == "mirror" || w[0] == "flip") {
                changed += (w[0] == "mirror" ? Transform::mirror : Transform::flip)(set, canvas, multi, selection);
            } else if (w[0] == "rotate") {
                changed += Transform::rotate(set, canvas, multi, selection, w[1].toDouble(), w[2] == "right", {});
            } else if (w[0] == "scale") {
                changed += Transform::scale(set, canvas, multi, selection, w[1].toDouble(), w[2].toDouble(), {});
            } else if (w[0] == "invert" || w[0] == "erase") {
                changed += (w[0] == "invert" ? Transform::invert : Transform::erase)(set, canvas, multi, selection);
            }
        }
        changed.remove(-1);
        QList<int> slotList = changed.values();
        std::sort(slotList.begin(), slotList.end());
        QStringList changedText;
        for (int slot : slotList)
            changedText << QString::number(slot);
        QCOMPARE(picture(set, canvas, multi), fields[3]);
        QCOMPARE(changedText.join(' '), fields.value(4));
        QCOMPARE(selection.isEmpty() ? QString() : mask(selection, canvas, multi), fields.value(5));
    }

    void referenceFrame_data() { datatable::addRows("drawing/reference.txt"); }

    void referenceFrame()
    {
        QFETCH(QStringList, fields);
        const QRect rect(10, 10, 40, 20);
        const QStringList w = fields[0].split(' ');
        if (w[0] == "grab") {
            QCOMPARE(QString::number(ReferenceFrame::grab(rect, point(w[1]))), fields[1]);
            return;
        }
        const QRect moved = ReferenceFrame::drag(rect, w[1].toInt(), point(w[2]), w.contains("aspect"), QSize(80, 40));
        QCOMPARE(QStringLiteral("%1,%2 %3x%4").arg(moved.x()).arg(moved.y()).arg(moved.width()).arg(moved.height()),
                 fields[1]);
    }
};

QTEST_GUILESS_MAIN(DrawingTest)
#include "tst_drawing.moc"
