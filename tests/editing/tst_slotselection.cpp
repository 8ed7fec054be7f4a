// Selecting slots of an image list with the mouse gestures, checked through
// the text a drag of the selection carries (tests/data/slotselection), the
// whole-list commands, and clearing slots.

#include "editing/slotselection.h"
#include "support/core/datatable.h"

namespace {
// Applies gestures written as "c5" (click), "k5" (Ctrl), "s5" (Shift) and
// "a5" (Alt, in a list 32 slots wide) to an empty selection.
SlotSelection afterGestures(const QStringList& gestures)
{
    SlotSelection selection;
    for (const QString& gesture : gestures) {
        const int slot = gesture.mid(1).toInt();
        switch (gesture.at(0).toLatin1()) {
        case 'c': selection.click(slot); break;
        case 'k': selection.ctrlClick(slot); break;
        case 's': selection.shiftClick(slot); break;
        default: selection.altClick(slot, 32);
        }
    }
    return selection;
}
}

class SlotSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void gestures_data() { datatable::addRows(QFINDTESTDATA("../data/slotselection/gestures.txt")); }

    void gestures()
    {
        QFETCH(QStringList, fields);
        Imageset set(4, "S", 8, 8, Imageset::Charset);
        set.imageColors.insert(3, 5);
        const SlotSelection selection = afterGestures(fields[0].split(' '));
        QCOMPARE(Slots::dragPayload(set, selection), fields[1]);
        QCOMPARE(selection.anchor(), selection.indexes.size() == 1 ? selection.indexes.first() : -1);
    }

    void dragFormatNamesTheKind()
    {
        QCOMPARE(Slots::dragFormat(Imageset(0, "C", 8, 8, Imageset::Charset)), QStringLiteral("text/charset_index"));
        QCOMPARE(Slots::dragFormat(Imageset(0, "S", 24, 21, Imageset::Spriteset)), QStringLiteral("text/spriteset_index"));
        QCOMPARE(Slots::dragFormat(Imageset(0, "B", 8, 8, Imageset::Blockset)), QStringLiteral("text/blockset_index"));
    }

    void wholeListCommands()
    {
        // Images outside a grid made smaller are not listed.
        Imageset set(0, "S", 24, 21, Imageset::Spriteset);
        set.selectorGridWidth = 4;
        set.selectorGridHeight = 2;
        for (int slot : {7, 2, 8})
            set.images.insert(slot, ImageData(24, 21));
        SlotSelection selection = afterGestures({"c3", "a4"});
        selection.selectNonEmpty(set);
        QCOMPARE(Slots::dragPayload(set, selection), QStringLiteral("0,-1,-1,1,1,2,15,7,15"));
        selection.invert(10);
        QCOMPARE(selection.indexes, (QList<int> {0, 1, 3, 4, 5, 6, 8, 9}));
        selection.selectAll(4);
        QCOMPARE(selection.indexes, (QList<int> {0, 1, 2, 3}));
        selection.clear();
        QVERIFY(selection.isEmpty());
    }

    void clearingRemovesEverythingOfTheSlotsOnly()
    {
        Imageset set(0, "S", 24, 21, Imageset::Spriteset);
        for (int slot : {1, 2, 3}) {
            set.images.insert(slot, ImageData(24, 21));
            set.imageColors.insert(slot, 7);
            set.multiColorSprites.insert(slot);
            set.blockColors.insert(slot, BlockColors {1, 2, 3});
        }
        Slots::clear(set, {1, 3});
        QCOMPARE(set.images.keys(), QList<int> {2});
        QCOMPARE(set.imageColors.keys(), QList<int> {2});
        QCOMPARE(set.multiColorSprites, QSet<int> {2});
        QCOMPARE(set.blockColors.keys(), QList<int> {2});
    }
};

QTEST_GUILESS_MAIN(SlotSelectionTest)
#include "tst_slotselection.moc"
