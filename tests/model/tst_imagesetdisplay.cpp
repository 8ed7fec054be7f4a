// How the images of character, sprite and block sets are shown: the pixel
// code of every pixel, the palette colour of every code for each kind and
// mode, the shared patterns of extended background colour mode, transparent
// backgrounds and the per-block screen colours; the palette file of
// "red,green,blue" lines and the character ROM file: what is read from them
// and what a missing one becomes.

#include "model/charrom.h"
#include "model/imageset.h"
#include "model/palette.h"
#include "support/core/datatable.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A palette unlike the default one, so that colours are seen to come from it.
QRgb custom(int number)
{
    return qRgb(number * 16 + 1, 255 - number, number * 3);
}

// The set's kind, mode and colours; the slot drawn and the slot whose bitmap
// it shows; the slot's image colour (-1: none) and a block's own colours;
// flags (l: a listed multicolour sprite, t: transparent); the bitmap's first
// row (none: an empty slot); the code of every pixel of the first row, the
// other rows being 0; the colour number of codes 0-3 ('-': transparent).
struct Picture {
    Imageset::Type type;
    Imageset::Mode mode;
    QVector<int> colors;
    int slot, shownFrom, color;
    QVector<int> own;
    QString flags;
    QByteArray bytes;
    QString codes, table;
};

} // namespace

Q_DECLARE_METATYPE(Picture)

class ImagesetDisplayTest : public QObject {
    Q_OBJECT

    QTemporaryDir directory;

    QString writeFile(const QString& name, const QByteArray& content)
    {
        const QString path = directory.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    static QByteArray contentOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

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
        QTest::addColumn<Picture>("picture");
        const auto chars = Imageset::Charset, sprites = Imageset::Spriteset, blocks = Imageset::Blockset;
        const auto SCM = Imageset::SCM, MCM = Imageset::MCM, ECM = Imageset::ECM;
        const QVector<int> plain {6, 1, 2, 3}, other {11, 4, 8, 10}, none, own {9, 10, 11};
        const auto row = [](const char* name, const Picture& picture) { QTest::newRow(name) << picture; };
        const auto hex = [](const char* text) { return QByteArray::fromHex(text); };
        // Hi-res: the leftmost pixel is the top bit; 0 the background, 1 the image colour, 15 where none is set.
        row("char hi-res", {chars, SCM, plain, 5, 5, 13, none, "", hex("a5"), "10100101", "6d6d"});
        row("char without colour", {chars, SCM, plain, 5, 5, -1, none, "", hex("81"), "10000001", "6f6f"});
        // Multicolour characters: colours 0-7 stay hi-res, 8-15 are bit pairs and 11 takes the low three bits.
        row("char colour 7", {chars, MCM, plain, 5, 5, 7, none, "", hex("1b"), "00011011", "6767"});
        row("char colour 8", {chars, MCM, plain, 5, 5, 8, none, "", hex("1b"), "00112233", "6120"});
        row("char multi without colour", {chars, MCM, other, 5, 5, -1, none, "", hex("e4"), "33221100", "b487"});
        // Extended background colour: 64 hi-res patterns, the background chosen by the slot's quarter.
        row("char ECM slot 63", {chars, ECM, other, 63, 63, 13, none, "", hex("81"), "10000001", "bdbd"});
        row("char ECM slot 64", {chars, ECM, other, 64, 0, 12, none, "", hex("42"), "01000010", "4c4c"});
        row("char ECM slot 134", {chars, ECM, other, 134, 6, 1, none, "", hex("18"), "00011000", "8181"});
        row("char ECM slot 255", {chars, ECM, other, 255, 63, 9, none, "", hex("f0"), "11110000", "a9a9"});
        row("char ECM empty pattern", {chars, ECM, other, 70, 6, 9, none, "", {}, "", ""});
        // Sprites: multicolour only when listed, the sprite's colour as code 2.
        row("sprite in mode 1",
            {sprites, MCM, plain, 70, 70, 13, none, "", hex("800001"), "100000000000000000000001", "6d6d"});
        row("sprite listed",
            {sprites, SCM, other, 70, 70, 13, none, "l", hex("1be440"), "001122333322110011000000", "b4d8"});
        row("sprite in mode 2",
            {sprites, ECM, other, 70, 70, 5, none, "", hex("ff000f"), "111111110000000000001111", "b5b5"});
        // Blocks: mono ones show their own background, multicolour ones their own codes 1 and 2.
        row("block mono", {blocks, SCM, plain, 4, 4, 13, none, "", hex("c3"), "11000011", "6d6d"});
        row("block mono own", {blocks, SCM, plain, 4, 4, 13, own, "", hex("18"), "00011000", "9d9d"});
        row("block multi own", {blocks, MCM, plain, 4, 4, 13, own, "", hex("1b"), "00112233", "6abd"});
        row("block multi", {blocks, MCM, other, 4, 4, 13, none, "", hex("1b"), "00112233", "b48d"});
        row("block in mode 2", {blocks, ECM, other, 200, 200, 3, none, "", hex("0f"), "00001111", "b3b3"});
        // Drawn over other pictures, code 0 is transparent.
        row("char multi transparent", {chars, MCM, plain, 5, 5, 9, none, "t", hex("1b"), "00112233", "-121"});
        row("sprite transparent",
            {sprites, SCM, plain, 3, 3, 13, none, "t", hex("0f0000"), "000011110000000000000000", "-d6d"});
        row("empty slot", {chars, SCM, plain, 17, 17, 3, none, "", {}, "", ""});
    }

    void pixels()
    {
        QFETCH(Picture, picture);
        const Picture& p = picture;
        const int width = p.type == Imageset::Spriteset ? 24 : 8, height = p.type == Imageset::Spriteset ? 21 : 8;
        Imageset set(7, QStringLiteral("set"), width, height, p.type);
        set.mode = p.mode;
        std::copy(p.colors.begin(), p.colors.end(), set.colors.begin());
        // Settings of other slots must not leak into the slot.
        for (int neighbour : {p.slot + 1, p.slot ^ 64}) {
            set.imageColors.insert(neighbour, 14);
            set.blockColors.insert(neighbour, BlockColors {14, 14, 14});
            set.multiColorSprites.insert(neighbour);
        }
        ImageData decoy(width, height), bitmap(width, height);
        decoy.bytes.fill(char(0xFF));
        set.images.insert(p.shownFrom == p.slot ? p.slot ^ 64 : p.slot, decoy);
        bitmap.bytes.replace(0, p.bytes.size(), p.bytes);
        if (!p.bytes.isEmpty())
            set.images.insert(p.shownFrom, bitmap);
        if (p.color >= 0)
            set.imageColors.insert(p.slot, p.color);
        if (!p.own.isEmpty())
            set.blockColors.insert(p.slot, BlockColors {p.own.at(0), p.own.at(1), p.own.at(2)});
        if (p.flags.contains('l'))
            set.multiColorSprites.insert(p.slot);

        const QImage shown = set.toImage(p.slot, p.flags.contains('t'));
        if (p.codes.isEmpty()) {
            QVERIFY(shown.isNull());
            return;
        }
        QCOMPARE(shown.size(), QSize(width, height));
        QVector<QRgb> table;
        for (QChar entry : p.table)
            table.append(entry == '-' ? qRgba(0, 0, 0, 0) : custom(QString(entry).toInt(nullptr, 16)));
        QCOMPARE(shown.colorTable(), table);
        for (int y = 0; y < height; ++y) {
            QString codes;
            for (int x = 0; x < width; ++x)
                codes += QString::number(shown.pixelIndex(x, y));
            QCOMPARE(codes, y == 0 ? p.codes : QString(width, '0'));
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

    void missingPaletteIsWrittenWithDefaults()
    {
        const QString path = directory.filePath("missing-pal.txt");
        const Palette::Colors colors = Palette::loadFile(path);
        QCOMPARE(contentOf(path), contentOf(datatable::path("palette/default-pal.txt")));
        QVERIFY(Palette::loadFile(path) == colors);
        // Colour numbers keep their low four bits only.
        Palette::setCurrent(colors);
        QCOMPARE(Palette::color(18), qRgb(140, 40, 45));
        QCOMPARE(Palette::color(-1), qRgb(155, 155, 155));
    }

    void readsLines_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QList<QRgb>>("expected"); // the entries read; the others stay transparent black

        QTest::newRow("blanks and blank lines, no final newline")
            << QByteArray("  7 , 8 ,\t9  \n\n   \n4,5,6") << QList<QRgb> {qRgb(7, 8, 9), qRgb(4, 5, 6)};
        QTest::newRow("components keep their low byte") << QByteArray("300,256,-1\n") << QList<QRgb> {qRgb(44, 0, 255)};
        QTest::newRow("not a number counts as zero") << QByteArray("red,20,30\n") << QList<QRgb> {qRgb(0, 20, 30)};
        QTest::newRow("two parts end the reading") << QByteArray("1,1,1\n1,2\n5,5,5\n") << QList<QRgb> {qRgb(1, 1, 1)};
        QTest::newRow("four parts end the reading") << QByteArray("1,1,1\n2,2,2,2\n3,3,3\n") << QList<QRgb> {qRgb(1, 1, 1)};
        QByteArray twenty;
        QList<QRgb> sixteen;
        for (int i = 0; i < 20; ++i) {
            twenty += QByteArray::number(i) + ",0,9\n";
            if (i < 16)
                sixteen.append(qRgb(i, 0, 9));
        }
        QTest::newRow("at most sixteen entries") << twenty << sixteen;
    }

    void readsLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(QList<QRgb>, expected);
        const QString path = writeFile("pal.txt", content);
        const Palette::Colors colors = Palette::loadFile(path);
        QCOMPARE(QList<QRgb>(colors.begin(), colors.end()), expected + QVector<QRgb>(16 - expected.size(), 0).toList());
        QCOMPARE(contentOf(path), content); // an existing file is never rewritten
    }

    void characterRom_data()
    {
        QTest::addColumn<int>("fileSize"); // -1: no file
        QTest::newRow("missing") << -1;
        QTest::newRow("short") << 2100;
        QTest::newRow("exact") << 4096;
        QTest::newRow("long") << 5000;
    }

    // Up to 4096 bytes, zero beyond the file; a character is 8 rows of its set.
    void characterRom()
    {
        QFETCH(int, fileSize);
        QByteArray content;
        for (int i = 0; i < fileSize; ++i)
            content.append(char((i * 7 + 3) & 255));
        const QString path = fileSize < 0 ? directory.filePath("none.rom") : writeFile("char.rom", content);
        const QByteArray rom = CharRom::loadFile(path);
        QCOMPARE(rom, content.left(4096).leftJustified(4096, '\0'));
        CharRom::setCurrent(rom);
        const auto rows = [&](int offset) { return content.mid(offset, 8).leftJustified(8, '\0'); };
        QCOMPARE(CharRom::character(0, 1), rows(8));
        QCOMPARE(CharRom::character(1, 1), rows(2056));
        QCOMPARE(CharRom::character(1, 255), rows(4088));
    }
};

QTEST_GUILESS_MAIN(ImagesetDisplayTest)
#include "tst_imagesetdisplay.moc"
