// Tile sets: tileAt creates a missing tile empty and hands back the stored
// one; newTile is empty in the set's tile size.

#include "model/tileset.h"

#include <QtTest>

class TilesetTest : public QObject {
    Q_OBJECT

private slots:
    void tileAtCreatesEmptyTile_data()
    {
        QTest::addColumn<int>("tileWidth");
        QTest::addColumn<int>("tileHeight");
        QTest::addColumn<int>("index");

        QTest::newRow("1x1 at 0") << 1 << 1 << 0;
        QTest::newRow("3x2 at 7") << 3 << 2 << 7;
        QTest::newRow("2x5 at 4095") << 2 << 5 << 4095;
        QTest::newRow("16x16 at 100000") << 16 << 16 << 100000;
    }

    void tileAtCreatesEmptyTile()
    {
        QFETCH(int, tileWidth);
        QFETCH(int, tileHeight);
        QFETCH(int, index);

        Tileset set;
        set.tileWidth = tileWidth;
        set.tileHeight = tileHeight;
        Tile neighbour(tileWidth, tileHeight);
        neighbour.colors.fill(4);
        set.tiles.insert(index + 1, neighbour);

        QVERIFY(!set.tiles.contains(index));
        Tile& created = set.tileAt(index);
        QCOMPARE(created.width, tileWidth);
        QCOMPARE(created.height, tileHeight);
        QCOMPARE(created.indexes, QVector<int>(tileWidth * tileHeight, 0));
        QCOMPARE(created.colors, QVector<int>(tileWidth * tileHeight, -1));
        QVERIFY(set.tiles.contains(index));
        QCOMPARE(set.tiles.size(), 2);
        QCOMPARE(set.tiles.value(index), created);

        // The returned tile is the stored one, and a second call finds it.
        created.colors[0] = 3;
        created.indexes[0] = 17;
        Tile& again = set.tileAt(index);
        QCOMPARE(again.colors.at(0), 3);
        QCOMPARE(again.indexes.at(0), 17);
        QCOMPARE(set.tiles.size(), 2);
        QCOMPARE(set.tiles.value(index).colors.at(0), 3);
        QCOMPARE(set.tiles.value(index).indexes.at(0), 17);
        QCOMPARE(set.tiles.value(index + 1), neighbour);

        const Tile fresh = set.newTile();
        QCOMPARE(fresh.width, tileWidth);
        QCOMPARE(fresh.height, tileHeight);
        QCOMPARE(fresh.indexes, QVector<int>(tileWidth * tileHeight, 0));
        QCOMPARE(fresh.colors, QVector<int>(tileWidth * tileHeight, -1));
    }

    // ---- screens --------------------------------------------------------------
};

QTEST_GUILESS_MAIN(TilesetTest)
#include "tst_tileset.moc"
