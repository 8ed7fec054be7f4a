// The image-set commands on the whole set: the statistics text, images laid
// out as a picture, ROM glyphs copied into slots.

#include "editing/setcommands.h"
#include "model/palette.h"

#include <QtTest>

Q_DECLARE_METATYPE(Imageset)

namespace {
Imageset withImages(Imageset::Type type, const QList<int>& slotList)
{
    const bool sprites = type == Imageset::Spriteset;
    Imageset set(0, QStringLiteral("s"), sprites ? 24 : 8, sprites ? 21 : 8, type);
    for (int slot : slotList) {
        ImageData image(set.imageWidth, set.imageHeight);
        image.bytes.fill(char(0xFF));
        set.images.insert(slot, image);
    }
    return set;
}
}

class SetCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void statistics_data()
    {
        QTest::addColumn<Imageset>("set");
        QTest::addColumn<QString>("text");
        QTest::newRow("characters with holes")
            << withImages(Imageset::Charset, {0, 1, 5})
            << "Number of allocated slots: 3\n\nNumber of holes: 3\n\nIndexes range: [0-5]\n\n"
               "Memory required (*): 48 bytes (0.0469 Kbytes)\n\n\n(*) = no foreground colors are considered.";
        QTest::newRow("no sprites") << withImages(Imageset::Spriteset, {})
                                    << "Number of allocated slots: 0\n\nNumber of holes: 0\n\n"
                                       "Memory required: 0 bytes (0 Kbytes)\n\n";
        QTest::newRow("blocks take a colour byte each") << withImages(Imageset::Blockset, {2, 1023})
                                                        << "Number of allocated slots: 2\n\nNumber of holes: 1022\n\n"
                                                           "Indexes range: [2-1023]\n\nMemory required (*): 9216 bytes "
                                                           "(9 Kbytes)\n\n\n(*) = no foreground colors are considered.";
    }

    void statistics()
    {
        QFETCH(Imageset, set);
        QTEST(SetCommands::statistics(set), "text");
    }

    // Five sprites in 2 x 3 cells, and seven in the same six cells: the
    // cells without a sprite stay transparent, the seventh is left out.
    void picture()
    {
        Imageset set = withImages(Imageset::Spriteset, {0, 1, 2, 3, 4, 5, 6});
        set.colors[0] = 0;
        set.imageColors.insert(4, 2);
        SlotSelection five;
        five.indexes = {4, 3, 2, 1, 0};
        const QImage picture = SetCommands::picture(set, SetCommands::exportTargets(set, five), 2, 3);
        QCOMPARE(picture.size(), QSize(48, 63));
        QCOMPARE(picture.pixel(0, 0), Palette::color(2)); // sprite 4 first, in its colour
        QCOMPARE(qAlpha(picture.pixel(47, 62)), 0);
        QCOMPARE(SetCommands::exportTargets(set, SlotSelection()).size(), 7);
        QVERIFY(SetCommands::picture(set, {0, 1, 2, 3, 4, 5, 6}, 2, 3).size() == QSize(48, 63));
        QVERIFY(SetCommands::picture(set, {0}, 2048, 2048).isNull());
        Imageset ecm = withImages(Imageset::Charset, {});
        ecm.mode = Imageset::ECM;
        QCOMPARE(SetCommands::exportTargets(ecm, SlotSelection()).size(), 64);
    }

    void copyRom()
    {
        QByteArray rom(4096, '\0');
        for (int i = 0; i < rom.size(); ++i)
            rom[i] = char(i / 8);
        Imageset set = withImages(Imageset::Charset, {});
        SetCommands::copyRom(set, {1}, 1, rom);
        QCOMPARE(set.images.value(1).bytes, QByteArray(8, char(257 & 255)));
        set.mode = Imageset::ECM;
        SetCommands::copyRom(set, {65}, 0, rom);
        QCOMPARE(set.images.value(1).bytes, QByteArray(8, char(65)));
    }
};

QTEST_GUILESS_MAIN(SetCommandsTest)
#include "tst_setcommands.moc"
