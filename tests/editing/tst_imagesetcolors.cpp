// The colour and mode controls of the image-set editor applied to a set and
// the slots selected in it: which colours each control changes for every kind
// and mode, the per-block colours of block sets, and the per-sprite mode of
// sprite sets.

#include "editing/imagesetcolors.h"
#include "model/imageset.h"

#include <QtTest>

namespace {

constexpr Imageset::Type charset = Imageset::Charset;
constexpr Imageset::Type spriteset = Imageset::Spriteset;
constexpr Imageset::Type blockset = Imageset::Blockset;

// Block colours written as flat lists: slot, c0, c1, c2, slot, c0, ...
using BlockList = QVector<int>;

Imageset makeSet(Imageset::Type type, Imageset::Mode mode, const QVector<int>& colors, const BlockList& blocks = {})
{
    const int width = type == spriteset ? 24 : 8;
    const int height = type == spriteset ? 21 : 8;
    Imageset set(3, QStringLiteral("colours"), width, height, type);
    set.mode = mode;
    for (int i = 0; i < 4; ++i)
        set.colors[size_t(i)] = colors.at(i);
    for (int i = 0; i + 3 < blocks.size(); i += 4)
        set.blockColors.insert(blocks.at(i), BlockColors {blocks.at(i + 1), blocks.at(i + 2), blocks.at(i + 3)});
    // Some content that no colour control may touch.
    ImageData image(width, height);
    image.bytes.fill(char(0xA5));
    set.images.insert(1, image);
    set.imageColors.insert(1, 11);
    set.imageColors.insert(2, 4);
    return set;
}

BlockList flatten(const QMap<int, BlockColors>& blocks)
{
    BlockList result;
    for (auto it = blocks.cbegin(); it != blocks.cend(); ++it)
        result << it.key() << it->c0 << it->c1 << it->c2;
    return result;
}

QVector<int> colorList(const Imageset& set)
{
    return QVector<int>(set.colors.begin(), set.colors.end());
}

// Columns shared by the three background / multicolour setters.
void addSetterColumns()
{
    QTest::addColumn<Imageset::Type>("type");
    QTest::addColumn<Imageset::Mode>("mode");
    QTest::addColumn<QVector<int>>("colors");
    QTest::addColumn<BlockList>("blocks");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("colorIndex");
    QTest::addColumn<QVector<int>>("expectedColors");
    QTest::addColumn<BlockList>("expectedBlocks");
}

} // namespace

class ImagesetColorsTest : public QObject {
    Q_OBJECT

private:
    using Setter = void (*)(Imageset&, const QList<int>&, int);

    void runSetter(Setter setter)
    {
        QFETCH(Imageset::Type, type);
        QFETCH(Imageset::Mode, mode);
        QFETCH(QVector<int>, colors);
        QFETCH(BlockList, blocks);
        QFETCH(QList<int>, selected);
        QFETCH(int, colorIndex);
        QFETCH(QVector<int>, expectedColors);
        QFETCH(BlockList, expectedBlocks);

        Imageset set = makeSet(type, mode, colors, blocks);
        const Imageset before = set;
        setter(set, selected, colorIndex);

        QCOMPARE(colorList(set), expectedColors);
        QCOMPARE(flatten(set.blockColors), expectedBlocks);
        // Nothing else changes.
        QCOMPARE(set.mode, before.mode);
        QCOMPARE(set.images, before.images);
        QCOMPARE(set.imageColors, before.imageColors);
        QCOMPARE(set.multiColorSprites, before.multiColorSprites);
    }

private slots:
    // Background: a mono block set gives each selected block its own c0; any
    // other set (a multicolour block set too) changes the set-wide colour 0.
    void setMultiColor00_data()
    {
        addSetterColumns();
        const QVector<int> set {6, 1, 2, 3};

        QTest::newRow("char SCM, selection ignored")
            << charset << Imageset::SCM << set << BlockList() << QList<int> {3, 4} << 9 << QVector<int> {9, 1, 2, 3}
            << BlockList();
        QTest::newRow("char MCM") << charset << Imageset::MCM << set << BlockList() << QList<int> {3} << 0
                                  << QVector<int> {0, 1, 2, 3} << BlockList();
        QTest::newRow("char ECM") << charset << Imageset::ECM << set << BlockList() << QList<int>() << 12
                                  << QVector<int> {12, 1, 2, 3} << BlockList();
        QTest::newRow("sprites") << spriteset << Imageset::SCM << set << BlockList() << QList<int> {0, 1} << 14
                                 << QVector<int> {14, 1, 2, 3} << BlockList();
        QTest::newRow("block multi: set background")
            << blockset << Imageset::MCM << set << BlockList {5, 7, 8, 9} << QList<int> {5} << 15
            << QVector<int> {15, 1, 2, 3} << BlockList {5, 7, 8, 9};
        QTest::newRow("block mono: new entries from the set colours")
            << blockset << Imageset::SCM << QVector<int> {9, 10, 11, 3} << BlockList() << QList<int> {3, 5} << 4
            << QVector<int> {9, 10, 11, 3} << BlockList {3, 4, 10, 11, 5, 4, 10, 11};
        QTest::newRow("block mono: existing entry keeps c1, c2")
            << blockset << Imageset::SCM << QVector<int> {9, 10, 11, 3} << BlockList {3, 1, 2, 5} << QList<int> {3} << 0
            << QVector<int> {9, 10, 11, 3} << BlockList {3, 0, 2, 5};
        QTest::newRow("block mono: unselected blocks untouched")
            << blockset << Imageset::SCM << set << BlockList {2, 7, 7, 7} << QList<int> {4} << 13 << set
            << BlockList {2, 7, 7, 7, 4, 13, 1, 2};
        QTest::newRow("block mono: no selection changes nothing")
            << blockset << Imageset::SCM << set << BlockList {2, 7, 7, 7} << QList<int>() << 13 << set
            << BlockList {2, 7, 7, 7};
    }
    void setMultiColor00() { runSetter(&ImagesetColors::setMultiColor00); }

    // Multicolour 1: a block set's selected blocks in either mode, else set-wide.
    void setMultiColor01_data()
    {
        addSetterColumns();
        const QVector<int> set {6, 1, 2, 3};

        QTest::newRow("char SCM") << charset << Imageset::SCM << set << BlockList() << QList<int> {3} << 9
                                  << QVector<int> {6, 9, 2, 3} << BlockList();
        QTest::newRow("char MCM") << charset << Imageset::MCM << set << BlockList() << QList<int>() << 0
                                  << QVector<int> {6, 0, 2, 3} << BlockList();
        QTest::newRow("char ECM: background 1") << charset << Imageset::ECM << set << BlockList() << QList<int> {1} << 7
                                                << QVector<int> {6, 7, 2, 3} << BlockList();
        QTest::newRow("sprites") << spriteset << Imageset::SCM << set << BlockList() << QList<int> {0} << 14
                                 << QVector<int> {6, 14, 2, 3} << BlockList();
        QTest::newRow("block mono: per block")
            << blockset << Imageset::SCM << QVector<int> {9, 10, 11, 3} << BlockList() << QList<int> {8} << 5
            << QVector<int> {9, 10, 11, 3} << BlockList {8, 9, 5, 11};
        QTest::newRow("block multi: per block")
            << blockset << Imageset::MCM << QVector<int> {9, 10, 11, 3} << BlockList {2, 0, 0, 0} << QList<int> {2, 8}
            << 5 << QVector<int> {9, 10, 11, 3} << BlockList {2, 0, 5, 0, 8, 9, 5, 11};
        QTest::newRow("block multi: no selection changes nothing")
            << blockset << Imageset::MCM << set << BlockList() << QList<int>() << 5 << set << BlockList();
    }
    void setMultiColor01() { runSetter(&ImagesetColors::setMultiColor01); }

    // Multicolour 2: as multicolour 1, for c2 and colours entry 2.
    void setMultiColor10_data()
    {
        addSetterColumns();
        const QVector<int> set {6, 1, 2, 3};

        QTest::newRow("char SCM") << charset << Imageset::SCM << set << BlockList() << QList<int> {3} << 9
                                  << QVector<int> {6, 1, 9, 3} << BlockList();
        QTest::newRow("char MCM") << charset << Imageset::MCM << set << BlockList() << QList<int>() << 0
                                  << QVector<int> {6, 1, 0, 3} << BlockList();
        QTest::newRow("char ECM: background 2") << charset << Imageset::ECM << set << BlockList() << QList<int>() << 8
                                                << QVector<int> {6, 1, 8, 3} << BlockList();
        QTest::newRow("sprites") << spriteset << Imageset::SCM << set << BlockList() << QList<int> {4} << 14
                                 << QVector<int> {6, 1, 14, 3} << BlockList();
        QTest::newRow("block mono: per block")
            << blockset << Imageset::SCM << QVector<int> {9, 10, 11, 3} << BlockList() << QList<int> {0, 255} << 5
            << QVector<int> {9, 10, 11, 3} << BlockList {0, 9, 10, 5, 255, 9, 10, 5};
        QTest::newRow("block multi: per block")
            << blockset << Imageset::MCM << QVector<int> {9, 10, 11, 3} << BlockList {2, 12, 13, 14} << QList<int> {2}
            << 5 << QVector<int> {9, 10, 11, 3} << BlockList {2, 12, 13, 5};
        QTest::newRow("block mono: no selection changes nothing")
            << blockset << Imageset::SCM << set << BlockList {2, 12, 13, 14} << QList<int>() << 5 << set
            << BlockList {2, 12, 13, 14};
    }
    void setMultiColor10() { runSetter(&ImagesetColors::setMultiColor10); }

    void setBckgnd3_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<Imageset::Mode>("mode");
        QTest::addColumn<int>("colorIndex");

        QTest::newRow("char ECM") << charset << Imageset::ECM << 9;
        QTest::newRow("char SCM") << charset << Imageset::SCM << 0;
        QTest::newRow("sprites") << spriteset << Imageset::SCM << 15;
        QTest::newRow("block mono") << blockset << Imageset::SCM << 7;
        QTest::newRow("block multi") << blockset << Imageset::MCM << 7;
    }

    void setBckgnd3()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(Imageset::Mode, mode);
        QFETCH(int, colorIndex);

        Imageset set = makeSet(type, mode, {6, 1, 2, 3}, {4, 12, 13, 14});
        const Imageset before = set;
        ImagesetColors::setBckgnd3(set, colorIndex);
        QCOMPARE(colorList(set), (QVector<int> {6, 1, 2, colorIndex}));
        QCOMPARE(flatten(set.blockColors), (BlockList {4, 12, 13, 14}));
        QCOMPARE(set.imageColors, before.imageColors);
        QCOMPARE(set.mode, before.mode);
    }

    void setImageColor_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("colorIndex");

        QTest::newRow("char, two slots") << charset << QList<int> {1, 7} << 9;
        QTest::newRow("char, slot without colour") << charset << QList<int> {200} << 0;
        QTest::newRow("sprite") << spriteset << QList<int> {0, 2, 3} << 13;
        QTest::newRow("block") << blockset << QList<int> {255} << 5;
        QTest::newRow("char, no selection") << charset << QList<int>() << 9;
        QTest::newRow("sprite, no selection") << spriteset << QList<int>() << 9;
    }

    void setImageColor()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(QList<int>, selected);
        QFETCH(int, colorIndex);

        // Slots 1 and 2 hold colours 11 and 4 beforehand.
        Imageset set = makeSet(type, Imageset::SCM, {6, 1, 2, 3}, {2, 7, 8, 9});
        const Imageset before = set;
        ImagesetColors::setImageColor(set, selected, colorIndex);
        // Without a selection nothing changes, so the editor records no step.
        QCOMPARE(set == before, selected.isEmpty());

        QMap<int, int> expected = before.imageColors;
        for (int slot : selected)
            expected.insert(slot, colorIndex);
        QCOMPARE(set.imageColors, expected);
        for (int slot : selected)
            QCOMPARE(set.imageColor(slot), colorIndex);
        if (!selected.contains(2))
            QCOMPARE(set.imageColor(2), 4);
        QCOMPARE(colorList(set), (QVector<int> {6, 1, 2, 3}));
        QCOMPARE(set.blockColors, before.blockColors);
        QCOMPARE(set.images, before.images);
        if (selected.isEmpty())
            QVERIFY(set == before);
    }

    // Character and block sets take the mode as a whole, with or without a
    // selection; the bitmaps stay as they are.
    void setModeWholeSet_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<Imageset::Mode>("from");
        QTest::addColumn<Imageset::Mode>("to");
        QTest::addColumn<QList<int>>("selected");

        QTest::newRow("char SCM -> MCM") << charset << Imageset::SCM << Imageset::MCM << QList<int> {1};
        QTest::newRow("char MCM -> ECM") << charset << Imageset::MCM << Imageset::ECM << QList<int>();
        QTest::newRow("char ECM -> SCM") << charset << Imageset::ECM << Imageset::SCM << QList<int> {1, 2};
        QTest::newRow("char SCM -> ECM, no selection") << charset << Imageset::SCM << Imageset::ECM << QList<int>();
        QTest::newRow("char MCM -> SCM") << charset << Imageset::MCM << Imageset::SCM << QList<int>();
        QTest::newRow("block mono -> multi") << blockset << Imageset::SCM << Imageset::MCM << QList<int>();
        QTest::newRow("block multi -> mono") << blockset << Imageset::MCM << Imageset::SCM << QList<int> {1};
    }

    void setModeWholeSet()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(Imageset::Mode, from);
        QFETCH(Imageset::Mode, to);
        QFETCH(QList<int>, selected);

        Imageset set = makeSet(type, from, {6, 1, 2, 3}, {1, 3, 4, 5});
        const Imageset before = set;
        ImagesetColors::setMode(set, selected, to);
        QCOMPARE(set.mode, to);
        QVERIFY(set.multiColorSprites.isEmpty());
        QCOMPARE(set.images, before.images);
        QCOMPARE(set.imageColors, before.imageColors);
        QCOMPARE(set.blockColors, before.blockColors);
        QCOMPARE(colorList(set), colorList(before));
    }

    // Sprite sets: the selected sprites become multicolour or mono; without a
    // selection nothing is recorded and nothing changes.
    void setModeSprites_data()
    {
        QTest::addColumn<QList<int>>("multiBefore");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<Imageset::Mode>("mode");
        QTest::addColumn<QList<int>>("multiAfter");

        QTest::newRow("make two multicolour") << QList<int> {9} << QList<int> {2, 5} << Imageset::MCM
                                              << QList<int> {2, 5, 9};
        QTest::newRow("already multicolour stays") << QList<int> {2} << QList<int> {2} << Imageset::MCM
                                                   << QList<int> {2};
        QTest::newRow("make mono") << QList<int> {2, 5, 9} << QList<int> {5, 9} << Imageset::SCM << QList<int> {2};
        QTest::newRow("mono sprite made mono") << QList<int> {2} << QList<int> {7} << Imageset::SCM << QList<int> {2};
        QTest::newRow("all of them mono") << QList<int> {0, 255} << QList<int> {0, 255} << Imageset::SCM
                                          << QList<int>();
        QTest::newRow("no selection, multi") << QList<int> {9} << QList<int>() << Imageset::MCM << QList<int> {9};
        QTest::newRow("no selection, mono") << QList<int> {9} << QList<int>() << Imageset::SCM << QList<int> {9};
    }

    void setModeSprites()
    {
        QFETCH(QList<int>, multiBefore);
        QFETCH(QList<int>, selected);
        QFETCH(Imageset::Mode, mode);
        QFETCH(QList<int>, multiAfter);

        Imageset set = makeSet(spriteset, Imageset::SCM, {6, 1, 2, 3});
        for (int slot : multiBefore)
            set.multiColorSprites.insert(slot);
        const Imageset before = set;

        ImagesetColors::setMode(set, selected, mode);

        QSet<int> expected;
        for (int slot : multiAfter)
            expected.insert(slot);
        QCOMPARE(set.multiColorSprites, expected);
        for (int slot : selected)
            QCOMPARE(set.isMultiColorImage(slot), mode == Imageset::MCM);
        QCOMPARE(set.mode, before.mode); // a sprite set's mode is not used
        QCOMPARE(set.images, before.images);
        QCOMPARE(set.imageColors, before.imageColors);
        if (selected.isEmpty())
            QVERIFY(set == before);
    }

    // A colour given to a mono block shows only on that block.
    void blockColourShowsOnItsBlockOnly_data()
    {
        QTest::addColumn<Imageset::Mode>("mode");
        QTest::addColumn<int>("setter"); // 0: 00, 1: 01, 2: 10
        QTest::addColumn<int>("entry");  // colorsFor entry that changes

        QTest::newRow("mono background") << Imageset::SCM << 0 << 0;
        QTest::newRow("mono multi 1") << Imageset::SCM << 1 << 1;
        QTest::newRow("mono multi 2") << Imageset::SCM << 2 << 2;
        QTest::newRow("multi multi 1") << Imageset::MCM << 1 << 1;
        QTest::newRow("multi multi 2") << Imageset::MCM << 2 << 2;
    }

    void blockColourShowsOnItsBlockOnly()
    {
        QFETCH(Imageset::Mode, mode);
        QFETCH(int, setter);
        QFETCH(int, entry);

        Imageset set = makeSet(blockset, mode, {6, 1, 2, 3});
        const Setter setters[3] = {&ImagesetColors::setMultiColor00, &ImagesetColors::setMultiColor01,
                                   &ImagesetColors::setMultiColor10};
        setters[setter](set, {4}, 13);

        const std::array<int, 4> selected = set.colorsFor(4);
        const std::array<int, 4> other = set.colorsFor(5);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(selected[size_t(i)], i == entry ? 13 : set.colors[size_t(i)]);
            QCOMPARE(other[size_t(i)], set.colors[size_t(i)]);
        }
        QCOMPARE(colorList(set), (QVector<int> {6, 1, 2, 3}));
    }
};

QTEST_GUILESS_MAIN(ImagesetColorsTest)
#include "tst_imagesetcolors.moc"
