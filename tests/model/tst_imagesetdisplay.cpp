// How the images of character, sprite and block sets are shown: which images
// are multicolour, which palette colour every pixel code takes for each kind
// and mode, the shared patterns of extended background colour mode, the
// per-block screen colours, and the rendered pictures.

#include "editing/imagesetcolors.h"
#include "model/imageset.h"
#include "model/palette.h"

#include <QtTest>

namespace {

// The default colours of the sixteen colour numbers (red, green, blue).
const QRgb defaultRgb[16] = {
    qRgb(0, 0, 0),       qRgb(255, 255, 255), qRgb(140, 40, 45),   qRgb(80, 191, 184),
    qRgb(146, 42, 159),  qRgb(58, 167, 48),   qRgb(40, 37, 183),   qRgb(211, 215, 60),
    qRgb(146, 67, 22),   qRgb(90, 52, 5),     qRgb(198, 86, 92),   qRgb(67, 67, 67),
    qRgb(109, 109, 109), qRgb(126, 248, 114), qRgb(94, 91, 255),   qRgb(155, 155, 155),
};

QRgb rgb(int colorNumber)
{
    return defaultRgb[colorNumber];
}

constexpr Imageset::Type charset = Imageset::Charset;
constexpr Imageset::Type spriteset = Imageset::Spriteset;
constexpr Imageset::Type blockset = Imageset::Blockset;

int widthOf(Imageset::Type type)
{
    return type == spriteset ? 24 : 8;
}

int heightOf(Imageset::Type type)
{
    return type == spriteset ? 21 : 8;
}

Imageset makeSet(Imageset::Type type, Imageset::Mode mode, const QVector<int>& colors = {6, 1, 2, 3})
{
    Imageset set(7, QStringLiteral("set"), widthOf(type), heightOf(type), type);
    set.mode = mode;
    for (int i = 0; i < 4; ++i)
        set.colors[size_t(i)] = colors.at(i);
    return set;
}

// An image of the kind's size with every byte set to the given value.
ImageData filledImage(Imageset::Type type, quint8 byte)
{
    ImageData image;
    image.width = widthOf(type);
    image.height = heightOf(type);
    image.bytesPerRow = image.width / 8;
    image.bytes = QByteArray(image.bytesPerRow * image.height, char(byte));
    return image;
}

// An image of the kind's size from the given rows of bytes; rows not given
// are zero.
ImageData imageFromRows(Imageset::Type type, const QList<QByteArray>& rows)
{
    ImageData image = filledImage(type, 0x00);
    for (int r = 0; r < rows.size(); ++r) {
        const QByteArray& row = rows.at(r);
        for (int b = 0; b < row.size(); ++b)
            image.bytes[r * image.bytesPerRow + b] = row.at(b);
    }
    return image;
}

// Fill bytes that give every pixel the same code: hi-res 0 / 1 and
// multicolour 00 / 01 / 10 / 11 (the pair repeated four times per byte).
quint8 uniformByte(int code, bool multiColor)
{
    static const quint8 hires[2] = {0x00, 0xFF};
    static const quint8 multi[4] = {0x00, 0x55, 0xAA, 0xFF};
    return multiColor ? multi[code] : hires[code];
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

// Compares every pixel of a rendered picture with the expected code map:
// one character '0'-'3' per hi-res pixel and row (rows not listed are all
// code 0), each code standing for the palette colour codeColors[code].
void verifyPixels(const QImage& picture, const QStringList& expected, const QVector<int>& codeColors,
                  int width, int height)
{
    QCOMPARE(picture.width(), width);
    QCOMPARE(picture.height(), height);
    for (int y = 0; y < height; ++y) {
        const QString row = y < expected.size() ? expected.at(y) : QString(width, QLatin1Char('0'));
        QCOMPARE(row.size(), width);
        for (int x = 0; x < width; ++x) {
            const int code = row.at(x).digitValue();
            const QRgb want = rgb(codeColors.at(code));
            if (picture.pixel(x, y) != want) {
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2): expected code %3 colour %4, got %5")
                                     .arg(x)
                                     .arg(y)
                                     .arg(code)
                                     .arg(want, 8, 16)
                                     .arg(picture.pixel(x, y), 8, 16)));
            }
        }
    }
}

} // namespace

class ImagesetDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Palette::setCurrent(Palette::defaults()); }
    void cleanup() { Palette::setCurrent(Palette::defaults()); }

    // ---- which palette colour each pixel code shows ------------------------

    void codeColour_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<Imageset::Mode>("mode");
        QTest::addColumn<QVector<int>>("setColors");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("storeAt");     // slot holding the bitmap
        QTest::addColumn<int>("imageColor");  // -1: no entry
        QTest::addColumn<QVector<int>>("blockColors"); // c0, c1, c2 or empty
        QTest::addColumn<bool>("multiSprite");
        QTest::addColumn<bool>("multiColor"); // expected pixel type
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("expected");    // colour number

        const QVector<int> std6123 {6, 1, 2, 3};
        const QVector<int> none;
        const auto row = [&](const char* name, Imageset::Type type, Imageset::Mode mode, const QVector<int>& setColors,
                             int slot, int storeAt, int imageColor, const QVector<int>& block, bool multiSprite,
                             bool multiColor, int code, int expected) {
            QTest::newRow(name) << type << mode << setColors << slot << storeAt << imageColor << block
                                << multiSprite << multiColor << code << expected;
        };

        // Hi-res pixels of any kind: code 0 the background, code 1 the image colour.
        row("char SCM 0 = background", charset, Imageset::SCM, std6123, 5, 5, 13, none, false, false, 0, 6);
        row("char SCM 1 = image colour", charset, Imageset::SCM, std6123, 5, 5, 13, none, false, false, 1, 13);
        row("char SCM colour 10 stays hi-res", charset, Imageset::SCM, std6123, 5, 5, 10, none, false, false, 1, 10);
        row("char SCM other background", charset, Imageset::SCM, QVector<int>{11, 1, 2, 3}, 5, 5, 13, none, false,
            false, 0, 11);
        row("char SCM no colour entry = 15", charset, Imageset::SCM, std6123, 5, 5, -1, none, false, false, 1, 15);
        row("char MCM colour 5 is hi-res 0", charset, Imageset::MCM, std6123, 5, 5, 5, none, false, false, 0, 6);
        row("char MCM colour 5 is hi-res 1", charset, Imageset::MCM, std6123, 5, 5, 5, none, false, false, 1, 5);
        row("char MCM colour 7 is hi-res", charset, Imageset::MCM, std6123, 5, 5, 7, none, false, false, 1, 7);
        row("char MCM colour 0 is hi-res", charset, Imageset::MCM, std6123, 5, 5, 0, none, false, false, 1, 0);

        // Multicolour character: 00 background, 01 multi 1, 10 multi 2, 11 the
        // colour RAM's low three bits.
        row("char MCM 00", charset, Imageset::MCM, std6123, 5, 5, 13, none, false, true, 0, 6);
        row("char MCM 01", charset, Imageset::MCM, std6123, 5, 5, 13, none, false, true, 1, 1);
        row("char MCM 10", charset, Imageset::MCM, std6123, 5, 5, 13, none, false, true, 2, 2);
        row("char MCM 11 colour 13 -> 5", charset, Imageset::MCM, std6123, 5, 5, 13, none, false, true, 3, 5);
        row("char MCM 11 colour 9 -> 1", charset, Imageset::MCM, std6123, 5, 5, 9, none, false, true, 3, 1);
        row("char MCM 11 colour 8 -> 0", charset, Imageset::MCM, std6123, 5, 5, 8, none, false, true, 3, 0);
        row("char MCM 11 colour 15 -> 7", charset, Imageset::MCM, std6123, 5, 5, 15, none, false, true, 3, 7);
        row("char MCM 11 no colour entry -> 7", charset, Imageset::MCM, std6123, 5, 5, -1, none, false, true, 3, 7);
        const QVector<int> other {0, 14, 12, 3};
        row("char MCM 00 other set colours", charset, Imageset::MCM, other, 5, 5, 10, none, false, true, 0, 0);
        row("char MCM 01 other set colours", charset, Imageset::MCM, other, 5, 5, 10, none, false, true, 1, 14);
        row("char MCM 10 other set colours", charset, Imageset::MCM, other, 5, 5, 10, none, false, true, 2, 12);
        row("char MCM 11 colour 10 -> 2", charset, Imageset::MCM, other, 5, 5, 10, none, false, true, 3, 2);

        // Extended background colour mode: hi-res, background by slot quarter.
        const QVector<int> ecm {6, 4, 8, 10};
        row("char ECM slot 5 code 0", charset, Imageset::ECM, ecm, 5, 5, 13, none, false, false, 0, 6);
        row("char ECM slot 5 code 1", charset, Imageset::ECM, ecm, 5, 5, 13, none, false, false, 1, 13);
        row("char ECM colour 13 stays hi-res", charset, Imageset::ECM, ecm, 5, 5, 13, none, false, false, 1, 13);
        row("char ECM slot 70 code 0", charset, Imageset::ECM, ecm, 70, 6, 13, none, false, false, 0, 4);
        row("char ECM slot 70 code 1", charset, Imageset::ECM, ecm, 70, 6, 12, none, false, false, 1, 12);
        row("char ECM slot 130 code 0", charset, Imageset::ECM, ecm, 130, 2, 13, none, false, false, 0, 8);
        row("char ECM slot 200 code 0", charset, Imageset::ECM, ecm, 200, 8, 13, none, false, false, 0, 10);
        row("char ECM slot 255 code 1", charset, Imageset::ECM, ecm, 255, 63, 9, none, false, false, 1, 9);

        // Sprites: mono unless listed; multicolour 10 = sprite colour, 11 = multi 2.
        row("sprite mono 0", spriteset, Imageset::SCM, std6123, 3, 3, 13, none, false, false, 0, 6);
        row("sprite mono 1", spriteset, Imageset::SCM, std6123, 3, 3, 13, none, false, false, 1, 13);
        row("sprite set mode 1 does not make sprites multicolour", spriteset, Imageset::MCM, std6123, 3, 3, 13, none,
            false, false, 1, 13);
        row("sprite multi 00", spriteset, Imageset::SCM, std6123, 3, 3, 13, none, true, true, 0, 6);
        row("sprite multi 01", spriteset, Imageset::SCM, std6123, 3, 3, 13, none, true, true, 1, 1);
        row("sprite multi 10 = sprite colour", spriteset, Imageset::SCM, std6123, 3, 3, 13, none, true, true, 2, 13);
        row("sprite multi 11 = multi 2", spriteset, Imageset::SCM, std6123, 3, 3, 13, none, true, true, 3, 2);
        row("sprite multi 10 colour 5", spriteset, Imageset::SCM, std6123, 3, 3, 5, none, true, true, 2, 5);
        row("sprite multi 10 no colour entry", spriteset, Imageset::SCM, std6123, 3, 3, -1, none, true, true, 2, 15);
        row("sprite multi 11 other multi 2", spriteset, Imageset::SCM, QVector<int>{0, 14, 12, 3}, 3, 3, 5, none, true,
            true, 3, 12);

        // Blocks: mono background is the block's own c0 when it has colours.
        const QVector<int> own {9, 10, 11};
        row("block mono 0 set colours", blockset, Imageset::SCM, std6123, 4, 4, 13, none, false, false, 0, 6);
        row("block mono 1 set colours", blockset, Imageset::SCM, std6123, 4, 4, 13, none, false, false, 1, 13);
        row("block mono 0 own c0", blockset, Imageset::SCM, std6123, 4, 4, 13, own, false, false, 0, 9);
        row("block mono 1 own colours", blockset, Imageset::SCM, std6123, 4, 4, 13, own, false, false, 1, 13);
        row("block mono colour 10 stays hi-res", blockset, Imageset::SCM, std6123, 4, 4, 10, none, false, false, 1, 10);
        // Multicolour block: 00 set background, 01/10 the block's c1/c2, 11 image colour.
        row("block multi 00 set colours", blockset, Imageset::MCM, std6123, 4, 4, 13, none, false, true, 0, 6);
        row("block multi 01 set colours", blockset, Imageset::MCM, std6123, 4, 4, 13, none, false, true, 1, 1);
        row("block multi 10 set colours", blockset, Imageset::MCM, std6123, 4, 4, 13, none, false, true, 2, 2);
        row("block multi 11 image colour 13", blockset, Imageset::MCM, std6123, 4, 4, 13, none, false, true, 3, 13);
        row("block multi 11 image colour 5", blockset, Imageset::MCM, std6123, 4, 4, 5, none, false, true, 3, 5);
        row("block multi 00 own colours keeps set background", blockset, Imageset::MCM, std6123, 4, 4, 13, own, false,
            true, 0, 6);
        row("block multi 01 own c1", blockset, Imageset::MCM, std6123, 4, 4, 13, own, false, true, 1, 10);
        row("block multi 10 own c2", blockset, Imageset::MCM, std6123, 4, 4, 13, own, false, true, 2, 11);
        row("block multi 11 own colours", blockset, Imageset::MCM, std6123, 4, 4, 13, own, false, true, 3, 13);
    }

    void codeColour()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(Imageset::Mode, mode);
        QFETCH(QVector<int>, setColors);
        QFETCH(int, slot);
        QFETCH(int, storeAt);
        QFETCH(int, imageColor);
        QFETCH(QVector<int>, blockColors);
        QFETCH(bool, multiSprite);
        QFETCH(bool, multiColor);
        QFETCH(int, code);
        QFETCH(int, expected);

        Imageset set = makeSet(type, mode, setColors);
        set.images.insert(storeAt, filledImage(type, uniformByte(code, multiColor)));
        if (imageColor >= 0)
            set.imageColors.insert(slot, imageColor);
        if (!blockColors.isEmpty())
            set.blockColors.insert(slot, BlockColors {blockColors.at(0), blockColors.at(1), blockColors.at(2)});
        if (multiSprite)
            set.multiColorSprites.insert(slot);
        // Neighbours with other settings must not leak into the slot.
        set.imageColors.insert(slot + 1, 14);
        set.blockColors.insert(slot + 1, BlockColors {14, 14, 14});

        QCOMPARE(set.isMultiColorImage(slot), multiColor);
        const QImage picture = set.toImage(slot);
        QCOMPARE(picture.size(), QSize(widthOf(type), heightOf(type)));
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (picture.pixel(x, y) != rgb(expected))
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected colour %4 (%5)")
                                         .arg(x)
                                         .arg(y)
                                         .arg(picture.pixel(x, y), 8, 16)
                                         .arg(expected)
                                         .arg(rgb(expected), 8, 16)));
            }
        }
        QCOMPARE(picture.pixelColor(picture.width() - 1, picture.height() - 1), QColor(rgb(expected)));
    }

    // ---- pixel layout: MSB leftmost, bit pairs at shifts 6, 4, 2, 0 -------

    void pixelLayout_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<Imageset::Mode>("mode");
        QTest::addColumn<bool>("multiSprite");
        QTest::addColumn<int>("imageColor");
        QTest::addColumn<QVector<int>>("blockColors");
        QTest::addColumn<QList<QByteArray>>("rows");
        QTest::addColumn<QStringList>("expected");   // code per hi-res pixel
        QTest::addColumn<QVector<int>>("codeColors"); // colour number per code

        QTest::newRow("char hi-res bit order")
            << charset << Imageset::SCM << false << 13 << QVector<int>()
            << QList<QByteArray> {bytes({0x80}), bytes({0x01}), bytes({0xA5}), bytes({0x0F}), bytes({0xF0}),
                                  bytes({0x3C}), bytes({0x00}), bytes({0xFF})}
            << QStringList {"10000000", "00000001", "10100101", "00001111",
                            "11110000", "00111100", "00000000", "11111111"}
            << QVector<int> {6, 13};

        QTest::newRow("char multicolour pair order")
            << charset << Imageset::MCM << false << 13 << QVector<int>()
            << QList<QByteArray> {bytes({0x1B}), bytes({0xE4}), bytes({0xC0}), bytes({0x03}), bytes({0x30}),
                                  bytes({0x0C}), bytes({0x80}), bytes({0x01})}
            << QStringList {"00112233", "33221100", "33000000", "00000033",
                            "00330000", "00003300", "22000000", "00000011"}
            << QVector<int> {6, 1, 2, 5};

        QTest::newRow("char ECM hi-res on its quarter's background")
            << charset << Imageset::ECM << false << 13 << QVector<int>()
            << QList<QByteArray> {bytes({0x81}), bytes({0x42})}
            << QStringList {"10000001", "01000010"} << QVector<int> {6, 13};

        QTest::newRow("sprite hi-res across three bytes")
            << spriteset << Imageset::SCM << false << 13 << QVector<int>()
            << QList<QByteArray> {bytes({0x80, 0x00, 0x01}), bytes({0x00, 0xFF, 0x00}), bytes({0x01, 0x80, 0x00}),
                                  QByteArray(3, '\0'), QByteArray(3, '\0'), QByteArray(3, '\0'),
                                  QByteArray(3, '\0'), QByteArray(3, '\0'), QByteArray(3, '\0'),
                                  QByteArray(3, '\0'), QByteArray(3, '\0'), QByteArray(3, '\0'),
                                  QByteArray(3, '\0'), QByteArray(3, '\0'), QByteArray(3, '\0'),
                                  QByteArray(3, '\0'), QByteArray(3, '\0'), QByteArray(3, '\0'),
                                  QByteArray(3, '\0'), QByteArray(3, '\0'), bytes({0xAA, 0x55, 0xC3})}
            << QStringList {"100000000000000000000001", "000000001111111100000000", "000000011000000000000000",
                            "000000000000000000000000", "000000000000000000000000", "000000000000000000000000",
                            "000000000000000000000000", "000000000000000000000000", "000000000000000000000000",
                            "000000000000000000000000", "000000000000000000000000", "000000000000000000000000",
                            "000000000000000000000000", "000000000000000000000000", "000000000000000000000000",
                            "000000000000000000000000", "000000000000000000000000", "000000000000000000000000",
                            "000000000000000000000000", "000000000000000000000000", "101010100101010111000011"}
            << QVector<int> {6, 13};

        QStringList spriteMulti;
        for (int r = 0; r < 21; ++r)
            spriteMulti.append(QString(24, QLatin1Char('0')));
        spriteMulti[0] = QStringLiteral("001122333322110011000000");
        spriteMulti[20] = QStringLiteral("000000330000000033000000");
        QList<QByteArray> spriteMultiRows;
        for (int r = 0; r < 21; ++r)
            spriteMultiRows.append(QByteArray(3, '\0'));
        spriteMultiRows[0] = bytes({0x1B, 0xE4, 0x40});
        spriteMultiRows[20] = bytes({0x03, 0x00, 0xC0});
        QTest::newRow("sprite multicolour pairs across three bytes")
            << spriteset << Imageset::SCM << true << 13 << QVector<int>() << spriteMultiRows << spriteMulti
            << QVector<int> {6, 1, 13, 2};

        QTest::newRow("block multicolour pairs")
            << blockset << Imageset::MCM << false << 13 << QVector<int>()
            << QList<QByteArray> {bytes({0x1B}), bytes({0xE4}), bytes({0x00}), bytes({0x00}), bytes({0x00}),
                                  bytes({0x00}), bytes({0x00}), bytes({0x96})}
            << QStringList {"00112233", "33221100", "00000000", "00000000",
                            "00000000", "00000000", "00000000", "22111122"}
            << QVector<int> {6, 1, 2, 13};

        QTest::newRow("block multicolour own colours")
            << blockset << Imageset::MCM << false << 13 << QVector<int> {9, 10, 11}
            << QList<QByteArray> {bytes({0x1B})} << QStringList {"00112233"} << QVector<int> {6, 10, 11, 13};

        QTest::newRow("block mono own background")
            << blockset << Imageset::SCM << false << 13 << QVector<int> {9, 10, 11}
            << QList<QByteArray> {bytes({0xC3}), bytes({0x18})} << QStringList {"11000011", "00011000"}
            << QVector<int> {9, 13};
    }

    void pixelLayout()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(Imageset::Mode, mode);
        QFETCH(bool, multiSprite);
        QFETCH(int, imageColor);
        QFETCH(QVector<int>, blockColors);
        QFETCH(QList<QByteArray>, rows);
        QFETCH(QStringList, expected);
        QFETCH(QVector<int>, codeColors);

        const int slot = 2;
        Imageset set = makeSet(type, mode);
        set.images.insert(slot, imageFromRows(type, rows));
        set.imageColors.insert(slot, imageColor);
        if (multiSprite)
            set.multiColorSprites.insert(slot);
        if (!blockColors.isEmpty())
            set.blockColors.insert(slot, BlockColors {blockColors.at(0), blockColors.at(1), blockColors.at(2)});

        verifyPixels(set.toImage(slot), expected, codeColors, widthOf(type), heightOf(type));
    }

    // ---- the static rendering of any bitmap --------------------------------

    void staticRendering_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<bool>("multiColor");
        QTest::addColumn<QVector<int>>("codeColors"); // expected colour per code

        // Colours given: 3, 4, 5, 7; image colour 9.
        QTest::newRow("char hi-res") << charset << false << QVector<int> {3, 9};
        QTest::newRow("sprite hi-res") << spriteset << false << QVector<int> {3, 9};
        QTest::newRow("block hi-res") << blockset << false << QVector<int> {3, 9};
        QTest::newRow("char multicolour") << charset << true << QVector<int> {3, 4, 5, 1};
        QTest::newRow("sprite multicolour") << spriteset << true << QVector<int> {3, 4, 9, 5};
        QTest::newRow("block multicolour") << blockset << true << QVector<int> {3, 4, 5, 9};
    }

    void staticRendering()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(bool, multiColor);
        QFETCH(QVector<int>, codeColors);

        // A 16 x 3 bitmap (two bytes per row) shows that the picture follows
        // the bitmap's own size, not the kind's.
        ImageData image;
        image.width = 16;
        image.height = 3;
        image.bytesPerRow = 2;
        image.bytes = bytes({0x1B, 0xE4, 0x80, 0x01, 0xFF, 0x00});

        const QImage picture = Imageset::toImage(image, {3, 4, 5, 7}, 9, multiColor, false, type);
        QCOMPARE(picture.format(), QImage::Format_Indexed8);
        QCOMPARE(picture.colorCount(), 4);
        const QStringList expected = multiColor
            ? QStringList {"0011223333221100", "2200000000000011", "3333333300000000"}
            : QStringList {"0001101111100100", "1000000000000001", "1111111100000000"};
        verifyPixels(picture, expected, codeColors, 16, 3);
    }

    // ---- picture geometry, format and colour table --------------------------

    void pictureFormat_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<Imageset::Mode>("mode");
        QTest::addColumn<bool>("multiSprite");

        QTest::newRow("char SCM") << charset << Imageset::SCM << false;
        QTest::newRow("char MCM") << charset << Imageset::MCM << false;
        QTest::newRow("char ECM") << charset << Imageset::ECM << false;
        QTest::newRow("sprite mono") << spriteset << Imageset::SCM << false;
        QTest::newRow("sprite multi") << spriteset << Imageset::SCM << true;
        QTest::newRow("block mono") << blockset << Imageset::SCM << false;
        QTest::newRow("block multi") << blockset << Imageset::MCM << false;
    }

    void pictureFormat()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(Imageset::Mode, mode);
        QFETCH(bool, multiSprite);

        Imageset set = makeSet(type, mode);
        set.images.insert(1, filledImage(type, 0x5A));
        set.imageColors.insert(1, 12);
        if (multiSprite)
            set.multiColorSprites.insert(1);
        for (bool transparent : {false, true}) {
            const QImage picture = set.toImage(1, transparent);
            QCOMPARE(picture.width(), widthOf(type));
            QCOMPARE(picture.height(), heightOf(type));
            QCOMPARE(picture.format(), QImage::Format_Indexed8);
            QCOMPARE(picture.colorCount(), 4);
        }
    }

    void transparentBackground_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<Imageset::Mode>("mode");
        QTest::addColumn<bool>("multiSprite");
        QTest::addColumn<int>("code");       // code of the non-background pixels
        QTest::addColumn<int>("background"); // colour number of code 0
        QTest::addColumn<int>("foreground"); // colour number of that code

        // Set colours 6, 1, 2, 3; image colour 13; blocks own 9, 10, 11.
        QTest::newRow("char SCM") << charset << Imageset::SCM << false << 1 << 6 << 13;
        QTest::newRow("char MCM 01") << charset << Imageset::MCM << false << 1 << 6 << 1;
        QTest::newRow("char MCM 11") << charset << Imageset::MCM << false << 3 << 6 << 5;
        QTest::newRow("char ECM") << charset << Imageset::ECM << false << 1 << 6 << 13;
        QTest::newRow("sprite mono") << spriteset << Imageset::SCM << false << 1 << 6 << 13;
        QTest::newRow("sprite multi 10") << spriteset << Imageset::SCM << true << 2 << 6 << 13;
        QTest::newRow("block mono own") << blockset << Imageset::SCM << false << 1 << 9 << 13;
        QTest::newRow("block multi 10") << blockset << Imageset::MCM << false << 2 << 6 << 11;
    }

    void transparentBackground()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(Imageset::Mode, mode);
        QFETCH(bool, multiSprite);
        QFETCH(int, code);
        QFETCH(int, background);
        QFETCH(int, foreground);

        const bool multiColor = code > 1 || (mode == Imageset::MCM && type != spriteset) || multiSprite;
        Imageset set = makeSet(type, mode);
        // Left half of every byte code 0, right half the given code.
        const quint8 half = multiColor ? quint8(code << 2 | code) : 0x0F;
        set.images.insert(0, filledImage(type, half));
        set.imageColors.insert(0, 13);
        set.blockColors.insert(0, BlockColors {9, 10, 11});
        if (multiSprite)
            set.multiColorSprites.insert(0);

        const QImage opaque = set.toImage(0, false);
        QCOMPARE(opaque.colorCount(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(qAlpha(opaque.color(i)), 255);
        QCOMPARE(opaque.color(0), rgb(background));
        QCOMPARE(opaque.pixel(0, 0), rgb(background));
        QCOMPARE(opaque.pixel(7, 0), rgb(foreground));

        const QImage clear = set.toImage(0, true);
        QCOMPARE(clear.colorCount(), 4);
        QCOMPARE(qAlpha(clear.color(0)), 0);
        for (int i = 1; i < 4; ++i)
            QCOMPARE(qAlpha(clear.color(i)), 255);
        QCOMPARE(qAlpha(clear.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(clear.pixel(3, heightOf(type) - 1)), 0);
        QCOMPARE(clear.pixel(7, 0), rgb(foreground));
        QCOMPARE(clear.pixel(widthOf(type) - 1, heightOf(type) - 1), rgb(foreground));
    }

    // ---- extended background colour mode ----------------------------------

    void ecmSharesPatterns_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("imageColor");
        QTest::addColumn<int>("background");

        // Set colours 6, 4, 8, 10; every slot shows the bitmap of slot 6.
        QTest::newRow("slot 6") << 6 << 13 << 6;
        QTest::newRow("slot 70") << 70 << 5 << 4;
        QTest::newRow("slot 134") << 134 << 1 << 8;
        QTest::newRow("slot 198") << 198 << 7 << 10;
    }

    void ecmSharesPatterns()
    {
        QFETCH(int, slot);
        QFETCH(int, imageColor);
        QFETCH(int, background);

        Imageset set = makeSet(charset, Imageset::ECM, {6, 4, 8, 10});
        const QList<QByteArray> pattern {bytes({0x81}), bytes({0x42}), bytes({0x24}), bytes({0x18}),
                                         bytes({0xF0}), bytes({0x0F}), bytes({0x00}), bytes({0xFF})};
        set.images.insert(6, imageFromRows(charset, pattern));
        // Bitmaps stored above slot 63 are not shown in this mode.
        if (slot != 6)
            set.images.insert(slot, filledImage(charset, 0x55));
        set.imageColors.insert(6, 13);
        set.imageColors.insert(slot, imageColor);

        QCOMPARE(set.patternSlot(slot), 6);
        QCOMPARE(set.displayedImage(slot), set.images.value(6));
        QVERIFY(set.isMultiColorImage(slot) == false);
        verifyPixels(set.toImage(slot),
                     {"10000001", "01000010", "00100100", "00011000", "11110000", "00001111", "00000000", "11111111"},
                     {background, imageColor}, 8, 8);
    }

    void ecmBackgroundByQuarter_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("entry"); // colors entry of the background

        for (int slot : {0, 1, 63, 64, 65, 127, 128, 129, 191, 192, 193, 255})
            QTest::addRow("slot %d", slot) << slot << slot / 64;
    }

    void ecmBackgroundByQuarter()
    {
        QFETCH(int, slot);
        QFETCH(int, entry);

        const QVector<int> setColors {11, 4, 8, 10};
        Imageset set = makeSet(charset, Imageset::ECM, setColors);
        const std::array<int, 4> colors = set.colorsFor(slot);
        QCOMPARE(colors[0], setColors.at(entry));
        QCOMPARE(colors[1], 4);
        QCOMPARE(colors[2], 8);
        QCOMPARE(colors[3], 10);

        set.images.insert(slot & 63, filledImage(charset, 0x00));
        QCOMPARE(set.toImage(slot).pixel(4, 4), rgb(setColors.at(entry)));
    }

    void patternSlot_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<Imageset::Mode>("mode");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("expected");

        QTest::newRow("char ECM 0") << charset << Imageset::ECM << 0 << 0;
        QTest::newRow("char ECM 63") << charset << Imageset::ECM << 63 << 63;
        QTest::newRow("char ECM 64") << charset << Imageset::ECM << 64 << 0;
        QTest::newRow("char ECM 70") << charset << Imageset::ECM << 70 << 6;
        QTest::newRow("char ECM 134") << charset << Imageset::ECM << 134 << 6;
        QTest::newRow("char ECM 255") << charset << Imageset::ECM << 255 << 63;
        QTest::newRow("char SCM 70") << charset << Imageset::SCM << 70 << 70;
        QTest::newRow("char MCM 70") << charset << Imageset::MCM << 70 << 70;
        QTest::newRow("char MCM 255") << charset << Imageset::MCM << 255 << 255;
        QTest::newRow("sprite 70") << spriteset << Imageset::SCM << 70 << 70;
        QTest::newRow("sprite with mode 2 70") << spriteset << Imageset::ECM << 70 << 70;
        QTest::newRow("block multi 70") << blockset << Imageset::MCM << 70 << 70;
        QTest::newRow("block with mode 2 200") << blockset << Imageset::ECM << 200 << 200;
    }

    void patternSlot()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(Imageset::Mode, mode);
        QFETCH(int, slot);
        QFETCH(int, expected);

        Imageset set = makeSet(type, mode);
        QCOMPARE(set.patternSlot(slot), expected);

        set.images.insert(expected, filledImage(type, 0x3C));
        if (expected != slot)
            set.images.insert(slot, filledImage(type, 0xC3));
        QCOMPARE(set.displayedImage(slot).bytes, QByteArray(widthOf(type) / 8 * heightOf(type), char(0x3C)));
        // image() itself reads the slot as stored.
        QCOMPARE(set.image(slot).bytes.at(0), char(expected != slot ? 0xC3 : 0x3C));
    }

    // ---- which images are multicolour -------------------------------------

    void multiColourImages_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<Imageset::Mode>("mode");
        QTest::addColumn<int>("imageColor"); // -1: no entry (15)
        QTest::addColumn<bool>("listedSprite");
        QTest::addColumn<bool>("expected");

        for (int color = -1; color < 16; ++color) {
            const bool multi = color < 0 || color > 7;
            QTest::addRow("char SCM colour %d", color) << charset << Imageset::SCM << color << false << false;
            QTest::addRow("char MCM colour %d", color) << charset << Imageset::MCM << color << false << multi;
            QTest::addRow("char ECM colour %d", color) << charset << Imageset::ECM << color << false << false;
        }
        QTest::newRow("sprite listed") << spriteset << Imageset::SCM << 3 << true << true;
        QTest::newRow("sprite listed, colour 12") << spriteset << Imageset::SCM << 12 << true << true;
        QTest::newRow("sprite not listed") << spriteset << Imageset::SCM << 3 << false << false;
        QTest::newRow("sprite not listed, colour 12") << spriteset << Imageset::SCM << 12 << false << false;
        QTest::newRow("sprite not listed, set mode 1") << spriteset << Imageset::MCM << 12 << false << false;
        QTest::newRow("block mono") << blockset << Imageset::SCM << 12 << false << false;
        QTest::newRow("block mono, colour 3") << blockset << Imageset::SCM << 3 << false << false;
        QTest::newRow("block multi") << blockset << Imageset::MCM << 12 << false << true;
        QTest::newRow("block multi, colour 3") << blockset << Imageset::MCM << 3 << false << true;
        QTest::newRow("block multi, no colour") << blockset << Imageset::MCM << -1 << false << true;
    }

    void multiColourImages()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(Imageset::Mode, mode);
        QFETCH(int, imageColor);
        QFETCH(bool, listedSprite);
        QFETCH(bool, expected);

        Imageset set = makeSet(type, mode);
        const int slot = 9;
        if (imageColor >= 0)
            set.imageColors.insert(slot, imageColor);
        if (listedSprite)
            set.multiColorSprites.insert(slot);
        set.multiColorSprites.insert(slot + 1); // a neighbour does not count
        QCOMPARE(set.isMultiColorImage(slot), expected);
    }

    // ---- colours per code before the image colour --------------------------

    void coloursForSlot_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<Imageset::Mode>("mode");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QVector<int>>("expected");

        // Set colours 11, 4, 8, 10; block 5 owns 9, 12, 14.
        QTest::newRow("char SCM") << charset << Imageset::SCM << 5 << QVector<int> {11, 4, 8, 10};
        QTest::newRow("char MCM") << charset << Imageset::MCM << 200 << QVector<int> {11, 4, 8, 10};
        QTest::newRow("char ECM slot 5") << charset << Imageset::ECM << 5 << QVector<int> {11, 4, 8, 10};
        QTest::newRow("char ECM slot 100") << charset << Imageset::ECM << 100 << QVector<int> {4, 4, 8, 10};
        QTest::newRow("char ECM slot 150") << charset << Imageset::ECM << 150 << QVector<int> {8, 4, 8, 10};
        QTest::newRow("char ECM slot 250") << charset << Imageset::ECM << 250 << QVector<int> {10, 4, 8, 10};
        QTest::newRow("sprite ignores block colours") << spriteset << Imageset::SCM << 5 << QVector<int> {11, 4, 8, 10};
        QTest::newRow("block mono own") << blockset << Imageset::SCM << 5 << QVector<int> {9, 12, 14, 10};
        QTest::newRow("block multi own") << blockset << Imageset::MCM << 5 << QVector<int> {11, 12, 14, 10};
        QTest::newRow("block mono without own") << blockset << Imageset::SCM << 6 << QVector<int> {11, 4, 8, 10};
        QTest::newRow("block multi without own") << blockset << Imageset::MCM << 6 << QVector<int> {11, 4, 8, 10};
    }

    void coloursForSlot()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(Imageset::Mode, mode);
        QFETCH(int, slot);
        QFETCH(QVector<int>, expected);

        Imageset set = makeSet(type, mode, {11, 4, 8, 10});
        set.blockColors.insert(5, BlockColors {9, 12, 14});
        const std::array<int, 4> colors = set.colorsFor(slot);
        QCOMPARE(QVector<int>(colors.begin(), colors.end()), expected);
    }

    // ---- empty slots and image colours ------------------------------------

    void emptySlot_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<Imageset::Mode>("mode");
        QTest::addColumn<int>("slot");

        QTest::newRow("char SCM") << charset << Imageset::SCM << 0;
        QTest::newRow("char MCM") << charset << Imageset::MCM << 17;
        QTest::newRow("char ECM") << charset << Imageset::ECM << 70;
        QTest::newRow("sprite") << spriteset << Imageset::SCM << 255;
        QTest::newRow("block") << blockset << Imageset::MCM << 3;
    }

    void emptySlot()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(Imageset::Mode, mode);
        QFETCH(int, slot);

        Imageset set = makeSet(type, mode);
        set.images.insert(slot + 1, filledImage(type, 0xFF));
        set.imageColors.insert(slot + 1, 3);

        QVERIFY(!set.images.contains(slot));
        QVERIFY(set.image(slot).isEmpty());
        QCOMPARE(set.image(slot).bytes.size(), 0);
        QCOMPARE(set.image(slot).width, 0);
        QCOMPARE(set.image(slot).height, 0);
        QVERIFY(set.displayedImage(slot).isEmpty());
        QCOMPARE(set.imageColor(slot), 15);
        QVERIFY(set.toImage(slot).isNull());
        // Reading does not allocate the slot.
        QVERIFY(!set.images.contains(slot));
        QVERIFY(!set.imageColors.contains(slot));

        QCOMPARE(set.imageColor(slot + 1), 3);
        set.imageColors.insert(slot, 0);
        QCOMPARE(set.imageColor(slot), 0);
    }

    // ---- per-block screen colours -------------------------------------------

    void blockColoursDefault_data()
    {
        QTest::addColumn<QVector<int>>("setColors");

        QTest::newRow("set colours 0, 5, 7") << QVector<int> {0, 5, 7, 3};
        QTest::newRow("set colours 6, 1, 2") << QVector<int> {6, 1, 2, 3};
        QTest::newRow("set colours 15, 14, 13") << QVector<int> {15, 14, 13, 12};
    }

    void blockColoursDefault()
    {
        QFETCH(QVector<int>, setColors);

        Imageset set = makeSet(blockset, Imageset::SCM, setColors);
        const BlockColors colors = set.blockColorsOf(12);
        QCOMPARE(colors.c0, 6);
        QCOMPARE(colors.c1, 1);
        QCOMPARE(colors.c2, 2);
        QVERIFY(set.blockColors.isEmpty()); // a lookup creates nothing

        set.blockColors.insert(12, BlockColors {3, 4, 5});
        QCOMPARE(set.blockColorsOf(12).c0, 3);
        QCOMPARE(set.blockColorsOf(12).c1, 4);
        QCOMPARE(set.blockColorsOf(12).c2, 5);
    }

    void ensureBlockColours_data()
    {
        QTest::addColumn<QVector<int>>("setColors");

        QTest::newRow("set colours 9, 10, 11") << QVector<int> {9, 10, 11, 3};
        QTest::newRow("set colours 0, 0, 15") << QVector<int> {0, 0, 15, 3};
        QTest::newRow("default set colours") << QVector<int> {6, 1, 2, 3};
    }

    void ensureBlockColours()
    {
        QFETCH(QVector<int>, setColors);

        Imageset set = makeSet(blockset, Imageset::SCM, setColors);
        BlockColors& created = set.ensureBlockColors(4);
        QCOMPARE(created.c0, setColors.at(0));
        QCOMPARE(created.c1, setColors.at(1));
        QCOMPARE(created.c2, setColors.at(2));
        QCOMPARE(set.blockColors.size(), 1);
        QVERIFY(set.blockColors.contains(4));

        // Later changes of the set colours leave the created entry alone.
        set.colors = {12, 13, 14, 7};
        QCOMPARE(set.blockColorsOf(4).c0, setColors.at(0));
        QCOMPARE(set.blockColorsOf(4).c1, setColors.at(1));
        QCOMPARE(set.blockColorsOf(4).c2, setColors.at(2));

        // A second call returns the existing entry, which can be changed.
        set.ensureBlockColors(4).c1 = 5;
        QCOMPARE(set.blockColors.size(), 1);
        QCOMPARE(set.blockColorsOf(4).c0, setColors.at(0));
        QCOMPARE(set.blockColorsOf(4).c1, 5);

        // A block created now takes the new set colours.
        const BlockColors later = set.ensureBlockColors(5);
        QCOMPARE(later.c0, 12);
        QCOMPARE(later.c1, 13);
        QCOMPARE(later.c2, 14);
    }

    // ---- mode changes reinterpret, never convert -----------------------------

    void modeChangeKeepsBytes_data()
    {
        using Modes = QVector<Imageset::Mode>;
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<Modes>("modes"); // applied in turn, starting from SCM

        QTest::newRow("char SCM -> MCM -> SCM") << charset << Modes {Imageset::MCM, Imageset::SCM};
        QTest::newRow("char SCM -> ECM -> SCM") << charset << Modes {Imageset::ECM, Imageset::SCM};
        QTest::newRow("char SCM -> MCM -> ECM -> MCM -> SCM")
            << charset << Modes {Imageset::MCM, Imageset::ECM, Imageset::MCM, Imageset::SCM};
        QTest::newRow("block mono -> multi -> mono") << blockset << Modes {Imageset::MCM, Imageset::SCM};
        QTest::newRow("sprites mono -> multi -> mono") << spriteset << Modes {Imageset::MCM, Imageset::SCM};
    }

    void modeChangeKeepsBytes()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(QVector<Imageset::Mode>, modes);

        Imageset set = makeSet(type, Imageset::SCM);
        const int rowBytes = widthOf(type) / 8;
        for (int slot : {0, 6, 9, 70, 130}) {
            ImageData image = filledImage(type, 0x00);
            for (int i = 0; i < image.bytes.size(); ++i)
                image.bytes[i] = char((slot * 37 + i * 11 + i / rowBytes) & 0xFF);
            set.images.insert(slot, image);
            set.imageColors.insert(slot, 9);
        }
        const QMap<int, ImageData> before = set.images;
        const QImage hiresPicture = set.toImage(9);

        const QList<int> selection {0, 6, 9, 70, 130};
        for (Imageset::Mode mode : modes) {
            ImagesetColors::setMode(set, selection, mode);
            QCOMPARE(set.images.size(), before.size());
            for (auto it = before.cbegin(); it != before.cend(); ++it)
                QCOMPARE(set.images.value(it.key()).bytes, it->bytes);
            if (mode == Imageset::MCM) // the same bytes now read as bit pairs
                QVERIFY(set.toImage(9) != hiresPicture);
        }
        QCOMPARE(set.images, before);
        QCOMPARE(set.toImage(9), hiresPicture);
    }

    // ---- colours come from the program palette ------------------------------

    void coloursComeFromPalette_data()
    {
        QTest::addColumn<Imageset::Type>("type");
        QTest::addColumn<Imageset::Mode>("mode");
        QTest::addColumn<bool>("multiSprite");
        QTest::addColumn<QVector<int>>("codeColors"); // colour number per code

        // Set colours 6, 1, 2, 3, image colour 13.
        QTest::newRow("char hi-res") << charset << Imageset::SCM << false << QVector<int> {6, 13};
        QTest::newRow("char multicolour") << charset << Imageset::MCM << false << QVector<int> {6, 1, 2, 5};
        QTest::newRow("sprite multicolour") << spriteset << Imageset::SCM << true << QVector<int> {6, 1, 13, 2};
        QTest::newRow("block multicolour") << blockset << Imageset::MCM << false << QVector<int> {6, 1, 2, 13};
    }

    void coloursComeFromPalette()
    {
        QFETCH(Imageset::Type, type);
        QFETCH(Imageset::Mode, mode);
        QFETCH(bool, multiSprite);
        QFETCH(QVector<int>, codeColors);

        Palette::Colors custom {};
        for (int i = 0; i < Palette::size; ++i)
            custom[size_t(i)] = qRgb(10 + i, 100 + 3 * i, 250 - 7 * i);
        Palette::setCurrent(custom);

        Imageset set = makeSet(type, mode);
        const bool multi = codeColors.size() == 4;
        set.images.insert(0, imageFromRows(type, {multi ? bytes({0x1B}) : bytes({0x40})}));
        set.imageColors.insert(0, 13);
        if (multiSprite)
            set.multiColorSprites.insert(0);
        const QImage picture = set.toImage(0);

        for (int code = 0; code < codeColors.size(); ++code) {
            const int x = multi ? code * 2 : code; // hi-res: pixel 1 has code 1
            const QRgb shown = picture.pixel(x, 0);
            QCOMPARE(shown, qRgb(10 + codeColors.at(code), 100 + 3 * codeColors.at(code),
                                 250 - 7 * codeColors.at(code)));
            QVERIFY(shown != rgb(codeColors.at(code)));
        }
    }
};

QTEST_GUILESS_MAIN(ImagesetDisplayTest)
#include "tst_imagesetdisplay.moc"
