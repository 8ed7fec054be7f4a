// How the images of character, sprite and block sets are shown: the pixel
// code of every pixel, the palette colour of every code for each kind and
// mode, the shared patterns of extended background colour mode, transparent
// backgrounds and the per-block screen colours.

#include "model/imageset.h"
#include "model/palette.h"

#include <QtTest>

namespace {

// A palette unlike the default one, so that colours are seen to come from it.
QRgb custom(int number)
{
    return qRgb(number * 16 + 1, 255 - number, number * 3);
}

} // namespace

class ImagesetDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Palette::Colors colors;
        for (int i = 0; i < Palette::size; ++i)
            colors[size_t(i)] = custom(i);
        Palette::setCurrent(colors);
    }

    void pixels_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<Imageset::Mode>("mode");
        QTest::addColumn<QVector<int>>("setColors");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("shownFrom");    // the slot whose bitmap the slot shows
        QTest::addColumn<int>("imageColor");   // -1: none set
        QTest::addColumn<QVector<int>>("own"); // the block's own colours
        QTest::addColumn<QString>("flags");    // l: a listed multicolour sprite, t: transparent
        QTest::addColumn<QByteArray>("bytes"); // the bitmap's first row; none: an empty slot
        QTest::addColumn<QString>("codes");    // of the first row's pixels; the other rows are 0
        QTest::addColumn<QString>("table");    // colour number of codes 0-3, '-' transparent

        const auto chars = Imageset::Charset, sprites = Imageset::Spriteset, blocks = Imageset::Blockset;
        const auto SCM = Imageset::SCM, MCM = Imageset::MCM, ECM = Imageset::ECM;
        const QVector<int> plain {6, 1, 2, 3}, other {11, 4, 8, 10}, none, own {9, 10, 11};
        const auto row = [](const char* name, Imageset::Type type, Imageset::Mode mode, const QVector<int>& colors,
                            int slot, int shownFrom, int color, const QVector<int>& own, const char* flags,
                            const char* hex, const char* codes, const char* table) {
            QTest::newRow(name) << type << mode << colors << slot << shownFrom << color << own << QString(flags)
                                << QByteArray::fromHex(hex) << QString(codes) << QString(table);
        };
        // Hi-res: the leftmost pixel is the top bit; 0 the background, 1 the image colour, 15 where none is set.
        row("char hi-res", chars, SCM, plain, 5, 5, 13, none, "", "a5", "10100101", "6d6d");
        row("char without colour", chars, SCM, plain, 5, 5, -1, none, "", "81", "10000001", "6f6f");
        // Multicolour characters: colours 0-7 stay hi-res, 8-15 are bit pairs and 11 takes the low three bits.
        row("char colour 7", chars, MCM, plain, 5, 5, 7, none, "", "1b", "00011011", "6767");
        row("char colour 8", chars, MCM, plain, 5, 5, 8, none, "", "1b", "00112233", "6120");
        row("char multi without colour", chars, MCM, other, 5, 5, -1, none, "", "e4", "33221100", "b487");
        // Extended background colour: 64 hi-res patterns, the background chosen by the slot's quarter.
        row("char ECM slot 63", chars, ECM, other, 63, 63, 13, none, "", "81", "10000001", "bdbd");
        row("char ECM slot 64", chars, ECM, other, 64, 0, 12, none, "", "42", "01000010", "4c4c");
        row("char ECM slot 134", chars, ECM, other, 134, 6, 1, none, "", "18", "00011000", "8181");
        row("char ECM slot 255", chars, ECM, other, 255, 63, 9, none, "", "f0", "11110000", "a9a9");
        row("char ECM empty pattern", chars, ECM, other, 70, 6, 9, none, "", "", "", "");
        // Sprites: multicolour only when listed, the sprite's colour as code 2.
        row("sprite in mode 1", sprites, MCM, plain, 70, 70, 13, none, "", "800001", "100000000000000000000001", "6d6d");
        row("sprite listed", sprites, SCM, other, 70, 70, 13, none, "l", "1be440", "001122333322110011000000", "b4d8");
        row("sprite in mode 2", sprites, ECM, other, 70, 70, 5, none, "", "ff000f", "111111110000000000001111", "b5b5");
        // Blocks: mono ones show their own background, multicolour ones their own codes 1 and 2.
        row("block mono", blocks, SCM, plain, 4, 4, 13, none, "", "c3", "11000011", "6d6d");
        row("block mono own", blocks, SCM, plain, 4, 4, 13, own, "", "18", "00011000", "9d9d");
        row("block multi own", blocks, MCM, plain, 4, 4, 13, own, "", "1b", "00112233", "6abd");
        row("block multi", blocks, MCM, other, 4, 4, 13, none, "", "1b", "00112233", "b48d");
        row("block in mode 2", blocks, ECM, other, 200, 200, 3, none, "", "0f", "00001111", "b3b3");
        // Drawn over other pictures, code 0 is transparent.
        row("char multi transparent", chars, MCM, plain, 5, 5, 9, none, "t", "1b", "00112233", "-121");
        row("sprite transparent", sprites, SCM, plain, 3, 3, 13, none, "t", "0f0000", "000011110000000000000000", "-d6d");
        row("empty slot", chars, SCM, plain, 17, 17, 3, none, "", "", "", "");
    }

    void pixels()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(Imageset::Mode, mode);
        QFETCH(QVector<int>, setColors);
        QFETCH(int, slot);
        QFETCH(int, shownFrom);
        QFETCH(int, imageColor);
        QFETCH(QVector<int>, own);
        QFETCH(QString, flags);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, codes);
        QFETCH(QString, table);

        const int width = type == Imageset::Spriteset ? 24 : 8, height = type == Imageset::Spriteset ? 21 : 8;
        Imageset set(7, QStringLiteral("set"), width, height, type);
        set.mode = mode;
        std::copy(setColors.begin(), setColors.end(), set.colors.begin());
        // Settings of other slots must not leak into the slot.
        for (int neighbour : {slot + 1, slot ^ 64}) {
            set.imageColors.insert(neighbour, 14);
            set.blockColors.insert(neighbour, BlockColors {14, 14, 14});
            set.multiColorSprites.insert(neighbour);
        }
        ImageData decoy(width, height), bitmap(width, height);
        decoy.bytes.fill(char(0xFF));
        set.images.insert(shownFrom == slot ? slot ^ 64 : slot, decoy);
        bitmap.bytes.replace(0, bytes.size(), bytes);
        if (!bytes.isEmpty())
            set.images.insert(shownFrom, bitmap);
        if (imageColor >= 0)
            set.imageColors.insert(slot, imageColor);
        if (!own.isEmpty())
            set.blockColors.insert(slot, BlockColors {own.at(0), own.at(1), own.at(2)});
        if (flags.contains('l'))
            set.multiColorSprites.insert(slot);

        const QImage picture = set.toImage(slot, flags.contains('t'));
        if (codes.isEmpty()) {
            QVERIFY(picture.isNull());
            return;
        }
        QCOMPARE(picture.size(), QSize(width, height));
        QVector<QRgb> colors;
        for (QChar entry : table)
            colors.append(entry == '-' ? qRgba(0, 0, 0, 0) : custom(QString(entry).toInt(nullptr, 16)));
        QCOMPARE(picture.colorTable(), colors);
        for (int y = 0; y < height; ++y) {
            QString shown;
            for (int x = 0; x < width; ++x)
                shown += QString::number(picture.pixelIndex(x, y));
            QCOMPARE(shown, y == 0 ? codes : QString(width, '0'));
        }
    }

    void blockColours()
    {
        Imageset set(0, QStringLiteral("b"), 8, 8, Imageset::Blockset);
        set.colors = {11, 4, 8, 10};
        // Looking creates nothing; colours made from the set's when missing
        // are kept when those change.
        set.blockColorsOf(3);
        QVERIFY(set.blockColors.isEmpty());
        set.ensureBlockColors(3).c1 = 5;
        set.colors = {0, 0, 0, 0};
        QVERIFY(set.ensureBlockColors(3) == (BlockColors {11, 5, 8}));
        QVERIFY(set.blockColorsOf(3) == (BlockColors {11, 5, 8}));
        QCOMPARE(set.blockColors.keys(), QList<int> {3});
    }
};

QTEST_GUILESS_MAIN(ImagesetDisplayTest)
#include "tst_imagesetdisplay.moc"
