#include "editing/slotselection.h"

#include <QtTest>

Q_DECLARE_METATYPE(QList<int>)

namespace {
// Applies gestures written as "c5" (click), "k5" (Ctrl), "s5" (Shift),
// "a5" (Alt) to an empty selection.
SlotSelection afterGestures(const QStringList& gestures, int gridWidth)
{
    SlotSelection selection;
    for (const QString& gesture : gestures) {
        const int slot = gesture.mid(1).toInt();
        switch (gesture.at(0).toLatin1()) {
        case 'c':
            selection.click(slot);
            break;
        case 'k':
            selection.ctrlClick(slot);
            break;
        case 's':
            selection.shiftClick(slot);
            break;
        case 'a':
            selection.altClick(slot, gridWidth);
            break;
        }
    }
    return selection;
}
}

class SlotSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void gestures_data()
    {
        QTest::addColumn<QStringList>("gestures");
        QTest::addColumn<QList<int>>("expected");
        QTest::addColumn<QRect>("rect");

        QTest::newRow("click") << QStringList {"c5"} << QList<int> {5} << QRect();
        QTest::newRow("click replaces") << QStringList {"c5", "c9"} << QList<int> {9} << QRect();
        QTest::newRow("click on selected keeps the selection")
            << QStringList {"c5", "k7", "c7"} << QList<int> {5, 7} << QRect();
        QTest::newRow("ctrl appends in order") << QStringList {"c9", "k2", "k5"} << QList<int> {9, 2, 5} << QRect();
        QTest::newRow("ctrl removes") << QStringList {"c9", "k2", "k9"} << QList<int> {2} << QRect();
        QTest::newRow("shift forward") << QStringList {"c3", "s6"} << QList<int> {3, 4, 5, 6} << QRect();
        QTest::newRow("shift backward sorted") << QStringList {"c6", "s3"} << QList<int> {3, 4, 5, 6} << QRect();
        QTest::newRow("shift with two selected has no anchor")
            << QStringList {"c1", "k2", "s8"} << QList<int> {8} << QRect();
        QTest::newRow("alt rectangle") << QStringList {"c3", "a34"} << QList<int> {2, 3, 34, 35} << QRect(2, 0, 2, 2);
        QTest::newRow("alt rectangle upwards")
            << QStringList {"c66", "a1"} << QList<int> {1, 2, 33, 34, 65, 66} << QRect(1, 0, 2, 3);
        QTest::newRow("alt without anchor") << QStringList {"c1", "k2", "a40"} << QList<int> {40} << QRect();
        QTest::newRow("ctrl after alt forgets the rectangle")
            << QStringList {"c3", "a34", "k100"} << QList<int> {2, 3, 34, 35, 100} << QRect();
    }

    void gestures()
    {
        QFETCH(QStringList, gestures);
        QFETCH(QList<int>, expected);
        QFETCH(QRect, rect);
        const SlotSelection selection = afterGestures(gestures, 32);
        QCOMPARE(selection.indexes, expected);
        QCOMPARE(selection.rect, rect);
        QCOMPARE(selection.anchor(), expected.size() == 1 ? expected.first() : -1);
    }

    void wholeListCommands()
    {
        Imageset set(0, "S", 24, 21, Imageset::Spriteset);
        set.images.insert(7, ImageData(24, 21));
        set.images.insert(2, ImageData(24, 21));

        SlotSelection selection;
        selection.selectNonEmpty(set);
        QCOMPARE(selection.indexes, (QList<int> {2, 7}));
        selection.invert(10);
        QCOMPARE(selection.indexes, (QList<int> {0, 1, 3, 4, 5, 6, 8, 9}));
        selection.selectAll(4);
        QCOMPARE(selection.indexes, (QList<int> {0, 1, 2, 3}));
        selection.clear();
        QVERIFY(selection.isEmpty());
    }

    void dragPayload_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<QStringList>("gestures");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("payload");

        // Slot colours: 3 has colour 5, the others the default 15.
        QTest::newRow("rectangle") << Imageset::Charset << QStringList {"c3", "a34"}
                                   << "text/charset_index" << "4,2,2,1,1,2,15,3,5,34,15,35,15";
        QTest::newRow("scattered") << Imageset::Spriteset << QStringList {"c9", "k3", "k20"}
                                   << "text/spriteset_index" << "4,-1,-1,1,1,9,15,3,5,20,15";
        QTest::newRow("single block") << Imageset::Blockset << QStringList {"c3"} << "text/blockset_index"
                                      << "4,-1,-1,1,1,3,5";
    }

    void dragPayload()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(QStringList, gestures);
        QFETCH(QString, format);
        QFETCH(QString, payload);
        Imageset set(4, "S", type == Imageset::Spriteset ? 24 : 8, type == Imageset::Spriteset ? 21 : 8, type);
        set.imageColors.insert(3, 5);
        QCOMPARE(Slots::dragFormat(set), format);
        QCOMPARE(Slots::dragPayload(set, afterGestures(gestures, 32)), payload);
    }

    void clearingRemovesEverythingOfTheSlot()
    {
        Imageset set(0, "S", 24, 21, Imageset::Spriteset);
        for (int slot : {1, 2}) {
            set.images.insert(slot, ImageData(24, 21));
            set.imageColors.insert(slot, 7);
            set.multiColorSprites.insert(slot);
            set.blockColors.insert(slot, BlockColors {1, 2, 3});
        }
        Slots::clear(set, {1});
        QVERIFY(!set.images.contains(1));
        QVERIFY(!set.imageColors.contains(1));
        QVERIFY(!set.multiColorSprites.contains(1));
        QVERIFY(!set.blockColors.contains(1));
        QVERIFY(set.images.contains(2) && set.imageColors.contains(2) && set.multiColorSprites.contains(2)
                && set.blockColors.contains(2));
    }
};

QTEST_GUILESS_MAIN(SlotSelectionTest)
#include "tst_slotselection.moc"
