// The model's items: how long an animation frame shows, tiles made on
// demand, screen cells renumbered after images or tiles moved, and an
// editor's document with its undo steps, signals, view settings and names.

#include "model/animationset.h"
#include "model/document.h"
#include "model/screen.h"
#include "model/tileset.h"

#include <QSignalSpy>
#include <QtTest>

using Cells = QMap<CellPos, int>;
using IndexMap = QMap<int, int>;
Q_DECLARE_METATYPE(Cells)

class ItemsTest : public QObject {
    Q_OBJECT

private slots:
    void frameDuration_data()
    {
        QTest::addColumn<int>("speed"); // frames per second
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("50") << 50 << 20;
        QTest::newRow("7") << 7 << 142;
        QTest::newRow("0 plays as 1") << 0 << 1000;
        QTest::newRow("-5 plays as 1") << -5 << 1000;
    }

    void frameDuration()
    {
        QFETCH(int, speed);
        Animation animation;
        animation.speed = speed;
        QTEST(animation.frameDuration(), "milliseconds");
    }

    // tileAt hands back the stored tile, creating a missing one empty in the set's tile size.
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

    void remapCells_data()
    {
        QTest::addColumn<IndexMap>("oldToNew");
        QTest::addColumn<bool>("keepUnmapped");
        QTest::addColumn<Cells>("expected");
        // Cells before: (0,0)=1, (1,0)=2, (2,0)=3, (5,5)=7.
        QTest::newRow("keep; a mapped value is not mapped again")
            << IndexMap {{1, 2}, {2, 1}} << true << Cells {{{0, 0}, 2}, {{1, 0}, 1}, {{2, 0}, 3}, {{5, 5}, 7}};
        QTest::newRow("drop unmapped") << IndexMap {{1, 5}, {7, 0}} << false << Cells {{{0, 0}, 5}, {{5, 5}, 0}};
        QTest::newRow("identity entry, drop") << IndexMap {{3, 3}} << false << Cells {{{2, 0}, 3}};
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

    void documentEdits()
    {
        Tileset start;
        start.id = 3;
        start.name = QStringLiteral("Walls");
        ItemDocument<Tileset> document(start);
        QSignalSpy changed(&document, &Document::changed);
        QSignalSpy status(&document, &Document::statusChanged);

        // A change that leaves the item as it was is no step and no signal.
        QVERIFY(!document.edit([](Tileset& tiles) { tiles.gridSizeX = 1; }));
        QVERIFY(!document.canUndo());
        QCOMPARE(changed.count() + status.count(), 0);

        QVERIFY(document.edit([](Tileset& tiles) { tiles.tileAt(5).colors[0] = 7; }));
        QVERIFY(document.isModified());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(status.count(), 1);
        QCOMPARE(static_cast<const Tileset&>(document.dataset()).tiles.value(5).colors.value(0), 7);

        // A view setting reaches every state, so undo keeps it; it is no step.
        document.changeSetting([](Tileset& tiles) { tiles.zoom = 6.0; });
        QCOMPARE(changed.count(), 2);
        QCOMPARE(status.count(), 1);
        document.setName(QStringLiteral("Floors"));
        QCOMPARE(status.count(), 2);

        document.undo();
        QCOMPARE(changed.count(), 3);
        QVERIFY(!document.isModified());
        QVERIFY(document.current().tiles.isEmpty());
        QCOMPARE(document.current().zoom, 6.0);
        QCOMPARE(document.current().name, QStringLiteral("Floors"));
        // Undo at the oldest entry changes nothing and says nothing.
        document.undo();
        QCOMPARE(changed.count(), 3);

        document.redo();
        QVERIFY(document.isModified());
        document.markSaved();
        QVERIFY(!document.isModified());
        const QSharedPointer<Dataset> copy = document.copy();
        QVERIFY(*copy.staticCast<Tileset>() == document.current());
        QVERIFY(copy.data() != &document.dataset());
    }
};

QTEST_GUILESS_MAIN(ItemsTest)
#include "tst_items.moc"
