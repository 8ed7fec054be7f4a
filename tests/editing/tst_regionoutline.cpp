// The outline of a region of unit squares, on the shapes of
// tests/data/regionoutline/outlines.txt.

#include "editing/regionoutline.h"
#include "support/core/datatable.h"

class RegionOutlineTest : public QObject {
    Q_OBJECT

private slots:
    void outline_data() { datatable::addRows("regionoutline/outlines.txt"); }

    void outline()
    {
        QFETCH(QStringList, fields);
        QRegion region;
        const QStringList words = fields[0].split(' ', Qt::SkipEmptyParts);
        for (int i = 0; i + 4 < words.size(); i += 5) {
            const QRect rect(words[i + 1].toInt(), words[i + 2].toInt(), words[i + 3].toInt(), words[i + 4].toInt());
            region = words[i] == "+" ? region + rect : region - rect;
        }
        QStringList segments;
        for (const QLine& line : Region::outline(region))
            segments << QStringLiteral("%1 %2 %3 %4").arg(line.x1()).arg(line.y1()).arg(line.x2()).arg(line.y2());
        // Vertical segments come in no particular order.
        std::sort(segments.begin(), segments.end());
        QStringList expected = fields.value(1).split(", ", Qt::SkipEmptyParts);
        std::sort(expected.begin(), expected.end());
        QCOMPARE(segments, expected);
    }
};

QTEST_GUILESS_MAIN(RegionOutlineTest)
#include "tst_regionoutline.moc"
