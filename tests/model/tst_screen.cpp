// Screens: renumbering cells after images or tiles moved.

#include "model/screen.h"

#include <QtTest>

using Cells = QMap<CellPos, int>;
using IndexMap = QMap<int, int>;
Q_DECLARE_METATYPE(Cells)

class ScreenTest : public QObject {
    Q_OBJECT

private slots:
    void remapCells_data()
    {
        QTest::addColumn<IndexMap>("oldToNew");
        QTest::addColumn<bool>("keepUnmapped");
        QTest::addColumn<Cells>("expected");
        // Cells before: (0,0)=1, (1,0)=2, (2,0)=3, (5,5)=7.
        QTest::newRow("keep; a mapped value is not mapped again")
            << IndexMap {{1, 2}, {2, 1}} << true << Cells {{{0, 0}, 2}, {{1, 0}, 1}, {{2, 0}, 3}, {{5, 5}, 7}};
        QTest::newRow("drop unmapped") << IndexMap {{1, 5}, {7, 0}} << false
                                       << Cells {{{0, 0}, 5}, {{5, 5}, 0}};
        QTest::newRow("identity entry, drop") << IndexMap {{3, 3}} << false << Cells {{{2, 0}, 3}};
        QTest::newRow("empty map, keep") << IndexMap() << true
                                         << Cells {{{0, 0}, 1}, {{1, 0}, 2}, {{2, 0}, 3}, {{5, 5}, 7}};
        QTest::newRow("empty map, drop") << IndexMap() << false << Cells();
    }

    void remapCells()
    {
        QFETCH(IndexMap, oldToNew);
        QFETCH(bool, keepUnmapped);
        QFETCH(Cells, expected);
        Screen screen;
        screen.cellIndexes = {{{0, 0}, 1}, {{1, 0}, 2}, {{2, 0}, 3}, {{5, 5}, 7}};
        const Cells colors {{{0, 0}, 4}, {{1, 0}, 5}, {{3, 3}, 9}};
        screen.cellColors = colors;
        screen.remapCells(oldToNew, keepUnmapped);
        QVERIFY(screen.cellIndexes == expected);
        QVERIFY(screen.cellColors == colors); // colours stay, also of emptied cells
    }
};

QTEST_GUILESS_MAIN(ScreenTest)
#include "tst_screen.moc"
