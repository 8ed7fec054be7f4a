// Screens: remapping cells after images or tiles moved.

#include "model/screen.h"
#include "model/sourceref.h"

#include <QtTest>

namespace {

struct CellRow {
    int x = 0;
    int y = 0;
    int value = 0;
};

using IndexMap = QMap<int, int>;

QMap<CellPos, int> cellMap(const QList<CellRow>& cells)
{
    QMap<CellPos, int> map;
    for (const CellRow& cell : cells)
        map.insert(CellPos {cell.x, cell.y}, cell.value);
    return map;
}

} // namespace

Q_DECLARE_METATYPE(CellRow)

class ScreenTest : public QObject {
    Q_OBJECT

private slots:
    void remapCells_data()
    {
        QTest::addColumn<IndexMap>("oldToNew");
        QTest::addColumn<bool>("keepUnmapped");
        QTest::addColumn<QList<CellRow>>("expected");

        using Cells = QList<CellRow>;
        // Cells before: (0,0)=1, (1,0)=2, (2,0)=3, (0,1)=1, (5,5)=7.
        QTest::newRow("keep; mapped values are not mapped again")
            << QMap<int, int> {{1, 5}, {2, 1}} << true << Cells {{0, 0, 5}, {1, 0, 1}, {2, 0, 3}, {0, 1, 5}, {5, 5, 7}};
        QTest::newRow("drop unmapped")
            << QMap<int, int> {{1, 5}, {2, 1}} << false << Cells {{0, 0, 5}, {1, 0, 1}, {0, 1, 5}};
        QTest::newRow("swap") << QMap<int, int> {{1, 2}, {2, 1}} << true
                              << Cells {{0, 0, 2}, {1, 0, 1}, {2, 0, 3}, {0, 1, 2}, {5, 5, 7}};
        QTest::newRow("empty map, keep") << QMap<int, int>() << true
                                         << Cells {{0, 0, 1}, {1, 0, 2}, {2, 0, 3}, {0, 1, 1}, {5, 5, 7}};
        QTest::newRow("empty map, drop") << QMap<int, int>() << false << Cells();
        QTest::newRow("identity entry, drop") << QMap<int, int> {{3, 3}} << false << Cells {{2, 0, 3}};
        QTest::newRow("unused keys, keep") << QMap<int, int> {{100, 1}, {7, 0}} << true
                                           << Cells {{0, 0, 1}, {1, 0, 2}, {2, 0, 3}, {0, 1, 1}, {5, 5, 0}};
        QTest::newRow("unused keys, drop") << QMap<int, int> {{100, 1}, {7, 0}} << false << Cells {{5, 5, 0}};
    }

    void remapCells()
    {
        QFETCH(IndexMap, oldToNew);
        QFETCH(bool, keepUnmapped);
        QFETCH(QList<CellRow>, expected);

        Screen screen;
        screen.sourceRef = SourceRef::tilesetBit | 2;
        screen.width = 6;
        screen.height = 6;
        screen.cellIndexes = cellMap({{0, 0, 1}, {1, 0, 2}, {2, 0, 3}, {0, 1, 1}, {5, 5, 7}});
        const QMap<CellPos, int> colors = cellMap({{0, 0, 4}, {1, 0, 5}, {2, 0, 6}, {3, 3, 9}});
        screen.cellColors = colors;

        screen.remapCells(oldToNew, keepUnmapped);
        QCOMPARE(screen.cellIndexes.size(), expected.size());
        for (const CellRow& cell : expected) {
            QVERIFY2(screen.cellIndexes.contains(CellPos {cell.x, cell.y}),
                     qPrintable(QStringLiteral("cell (%1, %2) missing").arg(cell.x).arg(cell.y)));
            QCOMPARE(screen.cellIndexes.value(CellPos {cell.x, cell.y}), cell.value);
        }
        QVERIFY(screen.cellColors == colors); // colours stay, even of removed cells
        QCOMPARE(screen.width, 6);
        QCOMPARE(screen.height, 6);
    }

    // ---- animations -----------------------------------------------------------
};

QTEST_GUILESS_MAIN(ScreenTest)
#include "tst_screen.moc"
