// Tile sets: tileAt hands back the stored tile, creating a missing one empty
// in the set's tile size.

#include "model/tileset.h"

#include <QtTest>

class TilesetTest : public QObject {
    Q_OBJECT

private slots:
    void tileAt()
    {
        Tileset set;
        set.tileWidth = 3;
        set.tileHeight = 2;
        set.tiles.insert(8, Tile(3, 2));
        Tile& created = set.tileAt(7);
        QCOMPARE(QSize(created.width, created.height), QSize(3, 2));
        QCOMPARE(created.colors, QVector<int>(6, -1)); // every cell empty
        QCOMPARE(created.indexes, QVector<int>(6, 0));
        created.indexes[5] = 17;
        QCOMPARE(set.tileAt(7).indexes.at(5), 17);
        QCOMPARE(set.tiles.keys(), (QList<int> {7, 8}));
        QVERIFY(set.tiles.value(8) == Tile(3, 2));
    }
};

QTEST_GUILESS_MAIN(TilesetTest)
#include "tst_tileset.moc"
