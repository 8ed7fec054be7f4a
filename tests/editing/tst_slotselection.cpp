// Selecting slots of an image list, checked through the text a drag of the
// selection carries (tests/data/slotselection), and clearing slots.

#include "editing/slotselection.h"
#include "support/core/datatable.h"

class SlotSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void gestures_data() { datatable::addRows("slotselection/gestures.txt"); }

    void gestures()
    {
        QFETCH(QStringList, fields);
        Imageset set(4, "S", 8, 8, Imageset::Charset);
        set.imageColors.insert(3, 5);
        for (int slot : {2, 7, 256})
            set.images.insert(slot, ImageData(8, 8));
        SlotSelection selection;
        const QStringList words = fields[0].split(' ');
        for (int i = 0; i < words.size(); ++i) {
            const int slot = words[i].mid(1).toInt();
            switch (words[i].at(0).toLatin1()) {
            case 'c': words[i] == "clear" ? selection.clear() : selection.click(slot); break;
            case 'k': selection.ctrlClick(slot); break;
            case 's': selection.shiftClick(slot); break;
            case 'a': words[i] == "all" ? selection.selectAll(words[++i].toInt()) : selection.altClick(slot, 32); break;
            case 'u': selection.selectNonEmpty(set); break;
            default: selection.invert(words[++i].toInt());
            }
        }
        QCOMPARE(Slots::dragPayload(set, selection), fields[1]);
        QCOMPARE(selection.anchor(), selection.indexes.size() == 1 ? selection.indexes.first() : -1);
    }

    // The drag format names the kind; clearing slots removes everything of
    // those slots and nothing else.
    void dragFormatAndClearing()
    {
        QCOMPARE(Slots::dragFormat(Imageset(0, "C", 8, 8, Imageset::Charset)), QStringLiteral("text/charset_index"));
        QCOMPARE(Slots::dragFormat(Imageset(0, "S", 24, 21, Imageset::Spriteset)), QStringLiteral("text/spriteset_index"));
        QCOMPARE(Slots::dragFormat(Imageset(0, "B", 8, 8, Imageset::Blockset)), QStringLiteral("text/blockset_index"));
        Imageset set(0, "S", 24, 21, Imageset::Spriteset);
        for (int slot : {1, 2, 3}) {
            set.images.insert(slot, ImageData(24, 21));
            set.imageColors.insert(slot, 7);
            set.multiColorSprites.insert(slot);
            set.blockColors.insert(slot, BlockColors {1, 2, 3});
        }
        Slots::clear(set, {1, 3});
        QCOMPARE(set.images.keys() + set.imageColors.keys() + set.multiColorSprites.values() + set.blockColors.keys(),
                 (QList<int> {2, 2, 2, 2}));
    }
};

QTEST_GUILESS_MAIN(SlotSelectionTest)
#include "tst_slotselection.moc"
