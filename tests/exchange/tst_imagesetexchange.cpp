// Image sets as assembler text and back: the slotList written when nothing is
// selected, the sections of an export (bitmap data, colours, multicolour
// flags, slot list) for every kind and mode, the comment lines and run-length
// coding, reading the numbers back section by section, and putting them into
// target slotList.

#include "exchange/exportoptions.h"
#include "exchange/imagesetexchange.h"
#include "exchange/textformat.h"
#include "model/imageset.h"

#include <QtTest>

Q_DECLARE_METATYPE(Imageset)
Q_DECLARE_METATYPE(ExportDataOptions)
Q_DECLARE_METATYPE(ExportSection)
Q_DECLARE_METATYPE(BlockColors)

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

// Distinct, mostly non-zero bytes, different for every seed.
QByteArray pattern(int seed, int count)
{
    QByteArray result;
    for (int i = 0; i < count; ++i)
        result.append(char((seed * 37 + i * 11 + 1) & 0xFF));
    return result;
}

QByteArray zeros(int count)
{
    return QByteArray(count, '\0');
}

QList<int> range(int first, int count)
{
    QList<int> result;
    for (int i = 0; i < count; ++i)
        result.append(first + i);
    return result;
}

Imageset charset(Imageset::Mode mode)
{
    Imageset set(1, QStringLiteral("chars"), 8, 8, Imageset::Charset);
    set.mode = mode;
    return set;
}

Imageset spriteset()
{
    return Imageset(2, QStringLiteral("sprites"), 24, 21, Imageset::Spriteset);
}

Imageset blockset(Imageset::Mode mode)
{
    Imageset set(3, QStringLiteral("blocks"), 8, 8, Imageset::Blockset);
    set.mode = mode;
    return set;
}

void putImage(Imageset& set, int slot, const QByteArray& data)
{
    ImageData image(set.imageWidth, set.imageHeight);
    QCOMPARE(data.size(), image.bytes.size());
    image.bytes = data;
    set.images.insert(slot, image);
}

ExportSection section(const QString& label, const QByteArray& data, const QString& header = QString())
{
    return ExportSection {header, label, data};
}

enum Flag { Data = 1, Colors = 2, Selection = 4, Empty = 8, Comments = 16, Compress = 32 };

ExportDataOptions optionsWith(int flags)
{
    ExportDataOptions options;
    options.includeData = flags & Data;
    options.includeColors = flags & Colors;
    options.includeSelection = flags & Selection;
    options.includeEmptySlots = flags & Empty;
    options.includeComments = flags & Comments;
    options.compressRLE = flags & Compress;
    return options;
}

QStringList labelsOf(const QList<ExportSection>& sections)
{
    QStringList labels;
    for (const ExportSection& s : sections)
        labels.append(s.label);
    return labels;
}

void compareSections(const QList<ExportSection>& actual, const QList<ExportSection>& expected)
{
    QCOMPARE(labelsOf(actual), labelsOf(expected));
    for (int i = 0; i < expected.size(); ++i) {
        QVERIFY2(actual.at(i).header == expected.at(i).header,
                 qPrintable(QStringLiteral("header of \"%1\": \"%2\" instead of \"%3\"")
                                .arg(expected.at(i).label, actual.at(i).header, expected.at(i).header)));
        QVERIFY2(actual.at(i).bytes == expected.at(i).bytes,
                 qPrintable(QStringLiteral("bytes of \"%1\": %2 instead of %3")
                                .arg(expected.at(i).label, QString::fromLatin1(actual.at(i).bytes.toHex(' ')),
                                     QString::fromLatin1(expected.at(i).bytes.toHex(' ')))));
    }
}

QByteArray sectionBytes(const QList<ExportSection>& sections, const QString& label)
{
    for (const ExportSection& s : sections) {
        if (s.label == label)
            return s.bytes;
    }
    return QByteArray();
}

// The three explanation lines written before run-length coded image-set data.
QString rleNote(const QString& prefix)
{
    return prefix + QStringLiteral(" RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:\n")
        + prefix + QStringLiteral("    value | 128") + QString(11, QLatin1Char(' '))
        + QStringLiteral("if (n.repetition == 1) and (value < 128)\n") + prefix
        + QStringLiteral("   (n.repetition, value)") + QString(2, QLatin1Char(' ')) + QStringLiteral("otherwise\n");
}

// The fixtures of the export rows.

// Sprites at slotList 0 and 2, slot 1 empty; sprite 2 is multicolour.
Imageset spriteFixture()
{
    Imageset set = spriteset();
    putImage(set, 0, pattern(1, 63));
    putImage(set, 2, pattern(2, 63));
    set.imageColors.insert(0, 7);
    set.imageColors.insert(2, 10);
    set.multiColorSprites.insert(2);
    set.colors = {0, 11, 12, 3};
    return set;
}

// Characters at slotList 0 and 2, slot 1 empty.
Imageset charFixture(Imageset::Mode mode)
{
    Imageset set = charset(mode);
    putImage(set, 0, pattern(3, 8));
    putImage(set, 2, pattern(4, 8));
    set.imageColors.insert(0, 3);
    set.imageColors.insert(2, 12);
    set.colors = {9, 4, 5, 13};
    return set;
}

// Patterns at slotList 0 and 2 of an extended background colour set; slot 130
// shows pattern 2 on background 2.
Imageset ecmFixture()
{
    Imageset set = charset(Imageset::ECM);
    putImage(set, 0, pattern(5, 8));
    putImage(set, 2, pattern(6, 8));
    putImage(set, 6, pattern(7, 8));
    set.imageColors.insert(0, 1);
    set.imageColors.insert(64, 2);
    set.imageColors.insert(130, 3);
    set.colors = {9, 4, 5, 13};
    return set;
}

// Blocks at slotList 0 and 1, slot 2 empty; block 1 has screen colours 7, 8, 9.
Imageset blockFixture(Imageset::Mode mode)
{
    Imageset set = blockset(mode);
    putImage(set, 0, pattern(8, 8));
    putImage(set, 1, pattern(9, 8));
    set.imageColors.insert(0, 3);
    set.imageColors.insert(1, 12);
    set.colors = {11, 4, 5, 3};
    set.blockColors.insert(1, BlockColors {7, 8, 9});
    return set;
}

}

class ImagesetExchangeTest : public QObject {
    Q_OBJECT

private slots:
    void allExportSlots_data();
    void allExportSlots();
    void exportSections_data();
    void exportSections();
    void spriteSlotsTake64Bytes();
    void ecmExportsOnly64Slots();
    void exportTextWithCommentsAndRle();
    void exportTextDecimal();
    void exportTextIsTheSectionsText();

    void parse_data();
    void parse();
    void decimalImportsLikeHex();
    void nameWithDataRoutesEverythingIntoData();

    void applyData();
    void applySpriteDataSkips64thByte();
    void applyLongerDataIsCut();
    void applyShorterDataKeepsTail();
    void applyBackground_data();
    void applyBackground();
    void applyColors_data();
    void applyColors();
    void applySelection_data();
    void applySelection();
    void applyMultiColor();
    void applyBlockScreenColors_data();
    void applyBlockScreenColors();
    void applyScreenColorsOnlyForBlocks();
    void changesSet_data();
    void changesSet();
    void selectionOnlyImportLeavesSetUnchanged();
    void importTargetsAllowed_data();
    void importTargetsAllowed();

    void roundTrip_data();
    void roundTrip();
};

void ImagesetExchangeTest::allExportSlots_data()
{
    QTest::addColumn<Imageset>("set");
    QTest::addColumn<QList<int>>("slotList");

    QTest::newRow("empty charset SCM: all 256") << charset(Imageset::SCM) << range(0, 256);
    QTest::newRow("charset MCM: all 256") << charFixture(Imageset::MCM) << range(0, 256);
    QTest::newRow("charset ECM: the 64 patterns") << ecmFixture() << range(0, 64);
    QTest::newRow("empty sprite set: none") << spriteset() << QList<int>();
    QTest::newRow("sprites 0 and 2: up to 2") << spriteFixture() << range(0, 3);
    Imageset single = spriteset();
    putImage(single, 5, pattern(1, 63));
    QTest::newRow("one sprite at 5: 0 to 5") << single << range(0, 6);
    QTest::newRow("empty block set: none") << blockset(Imageset::MCM) << QList<int>();
    Imageset blocks = blockset(Imageset::SCM);
    putImage(blocks, 9, pattern(1, 8));
    putImage(blocks, 3, pattern(2, 8));
    QTest::newRow("blocks 3 and 9: 0 to 9") << blocks << range(0, 10);
}

void ImagesetExchangeTest::allExportSlots()
{
    QFETCH(Imageset, set);
    QFETCH(QList<int>, slotList);
    QCOMPARE(ImagesetExchange::allSlots(set), slotList);
}

void ImagesetExchangeTest::exportSections_data()
{
    QTest::addColumn<Imageset>("set");
    QTest::addColumn<QList<int>>("slotList");
    QTest::addColumn<ExportDataOptions>("options");
    QTest::addColumn<QList<ExportSection>>("expected");

    const QString semicolon = QStringLiteral(";");

    // Nothing asked for: nothing written.
    QTest::newRow("no flags") << charFixture(Imageset::SCM) << range(0, 3) << optionsWith(Empty)
                              << QList<ExportSection>();

    // --- bitmap data ---
    {
        const Imageset set = spriteFixture();
        // Every sprite takes 64 bytes: its 63 bytes and a zero.
        QTest::newRow("sprites data with empty slotList")
            << set << range(0, 3) << optionsWith(Data | Empty)
            << QList<ExportSection> {section("sprites_data", pattern(1, 63) + zeros(1) + zeros(63) + zeros(1)
                                                                 + pattern(2, 63) + zeros(1))};
        QTest::newRow("sprites data without empty slotList")
            << set << range(0, 3) << optionsWith(Data)
            << QList<ExportSection> {section("sprites_data", pattern(1, 63) + zeros(1) + pattern(2, 63) + zeros(1))};
        QTest::newRow("sprites data in list order") << set << QList<int> {2, 0} << optionsWith(Data)
                                                    << QList<ExportSection> {section(
                                                           "sprites_data", pattern(2, 63) + zeros(1) + pattern(1, 63)
                                                               + zeros(1))};
    }
    {
        const Imageset set = charFixture(Imageset::SCM);
        QTest::newRow("charset data with empty slotList")
            << set << range(0, 3) << optionsWith(Data | Empty)
            << QList<ExportSection> {section("chars_data", pattern(3, 8) + zeros(8) + pattern(4, 8))};
        QTest::newRow("charset data without empty slotList")
            << set << range(0, 3) << optionsWith(Data)
            << QList<ExportSection> {section("chars_data", pattern(3, 8) + pattern(4, 8))};
        QTest::newRow("charset data only empty slot, empty off")
            << set << QList<int> {1} << optionsWith(Data) << QList<ExportSection> {section("chars_data", {})};
    }
    {
        const Imageset set = ecmFixture();
        // Slots 64, 65 and 128 show patterns 0, 1 and 0, which are written once.
        QTest::newRow("ECM data reduced, duplicates skipped")
            << set << QList<int> {0, 64, 1, 65, 128, 70, 6} << optionsWith(Data | Empty)
            << QList<ExportSection> {section("chars_data", pattern(5, 8) + zeros(8) + pattern(7, 8))};
        QTest::newRow("ECM data empty pattern written once")
            << set << QList<int> {5, 69, 133} << optionsWith(Data | Empty)
            << QList<ExportSection> {section("chars_data", zeros(8))};
        QTest::newRow("ECM data without empty slotList")
            << set << QList<int> {130, 5, 2, 64} << optionsWith(Data)
            << QList<ExportSection> {section("chars_data", pattern(6, 8) + pattern(5, 8))};
    }
    {
        const Imageset set = blockFixture(Imageset::MCM);
        QTest::newRow("blocks data with empty slotList")
            << set << range(0, 3) << optionsWith(Data | Empty)
            << QList<ExportSection> {section("blocks_data", pattern(8, 8) + pattern(9, 8) + zeros(8))};
    }

    // --- colours ---
    {
        const Imageset set = charFixture(Imageset::SCM);
        QTest::newRow("charset SCM colours")
            << set << range(0, 3) << optionsWith(Colors)
            << QList<ExportSection> {section("chars_bckgndColors", bytes({9})), section("chars_colors", bytes({3, 12}))};
        QTest::newRow("charset SCM colours with empty slotList")
            << set << range(0, 3) << optionsWith(Colors | Empty)
            << QList<ExportSection> {section("chars_bckgndColors", bytes({9})),
                                     section("chars_colors", bytes({3, 15, 12}))};
        QTest::newRow("charset MCM colours")
            << charFixture(Imageset::MCM) << range(0, 3) << optionsWith(Colors)
            << QList<ExportSection> {section("chars_bckgndColors", bytes({9, 4, 5})),
                                     section("chars_colors", bytes({3, 12}))};
    }
    {
        const Imageset set = ecmFixture();
        // The colour carries the character code's quarter in its high nibble.
        QTest::newRow("ECM colours")
            << set << QList<int> {0, 64, 130, 200, 5} << optionsWith(Colors)
            << QList<ExportSection> {section("chars_bckgndColors", bytes({9, 4, 5, 13})),
                                     section("chars_colors", bytes({0x01, 0x12, 0x23}))};
        QTest::newRow("ECM colours with empty slotList")
            << set << QList<int> {0, 64, 130, 200, 5} << optionsWith(Colors | Empty)
            << QList<ExportSection> {section("chars_bckgndColors", bytes({9, 4, 5, 13})),
                                     section("chars_colors", bytes({0x01, 0x12, 0x23, 0x3F, 0x0F}))};
        QTest::newRow("ECM selection keeps the slot")
            << set << QList<int> {0, 64, 130, 200, 5} << optionsWith(Selection)
            << QList<ExportSection> {section("chars_selection", bytes({0, 0, 64, 0, 130, 0}))};
    }
    {
        const Imageset set = spriteFixture();
        // Sprite sets always write three set colours, and the multicolour flags.
        QTest::newRow("sprite colours")
            << set << range(0, 3) << optionsWith(Colors)
            << QList<ExportSection> {section("sprites_bckgndColors", bytes({0, 11, 12})),
                                     section("sprites_colors", bytes({7, 10})),
                                     section("sprites_isMulti", bytes({0, 1}))};
        QTest::newRow("sprite colours with empty slotList")
            << set << range(0, 3) << optionsWith(Colors | Empty)
            << QList<ExportSection> {section("sprites_bckgndColors", bytes({0, 11, 12})),
                                     section("sprites_colors", bytes({7, 15, 10})),
                                     section("sprites_isMulti", bytes({0, 0, 1}))};
        Imageset multi = set;
        multi.mode = Imageset::MCM;
        QTest::newRow("sprite colours whatever the mode")
            << multi << QList<int> {2} << optionsWith(Colors)
            << QList<ExportSection> {section("sprites_bckgndColors", bytes({0, 11, 12})),
                                     section("sprites_colors", bytes({10})), section("sprites_isMulti", bytes({1}))};
        QTest::newRow("sprite selection")
            << set << QList<int> {2, 0, 1} << optionsWith(Selection)
            << QList<ExportSection> {section("sprites_selection", bytes({2, 0, 0, 0}))};
        QTest::newRow("sprite selection with empty slotList")
            << set << QList<int> {2, 0, 1} << optionsWith(Selection | Empty)
            << QList<ExportSection> {section("sprites_selection", bytes({2, 0, 0, 0, 1, 0}))};
        Imageset high = spriteset();
        high.selectorGridWidth = 32;
        high.selectorGridHeight = 32;
        putImage(high, 300, pattern(1, 63));
        QTest::newRow("sprite selection above 255")
            << high << QList<int> {300} << optionsWith(Selection)
            << QList<ExportSection> {section("sprites_selection", bytes({44, 1}))};
        QTest::newRow("sprites: every section in order")
            << set << range(0, 3) << optionsWith(Data | Colors | Selection)
            << QList<ExportSection> {section("sprites_data", pattern(1, 63) + zeros(1) + pattern(2, 63) + zeros(1)),
                                     section("sprites_bckgndColors", bytes({0, 11, 12})),
                                     section("sprites_colors", bytes({7, 10})),
                                     section("sprites_isMulti", bytes({0, 1})),
                                     section("sprites_selection", bytes({0, 0, 2, 0}))};
    }
    {
        const Imageset set = blockFixture(Imageset::MCM);
        // Multicolour 1 and 2 share one byte, the first in the high nibble;
        // every slot of the list gets one, empty or not.
        QTest::newRow("blocks MCM colours")
            << set << range(0, 3) << optionsWith(Colors)
            << QList<ExportSection> {section("blocks_bckgndColor", bytes({11})),
                                     section("blocks_screenColors", bytes({0x45, 0x89, 0x45})),
                                     section("blocks_colors", bytes({3, 12}))};
        QTest::newRow("blocks MCM colours with empty slotList")
            << set << range(0, 3) << optionsWith(Colors | Empty)
            << QList<ExportSection> {section("blocks_bckgndColor", bytes({11})),
                                     section("blocks_screenColors", bytes({0x45, 0x89, 0x45})),
                                     section("blocks_colors", bytes({3, 12, 15}))};
        // A mono block's screen colour is its background c0.
        QTest::newRow("blocks SCM colours")
            << blockFixture(Imageset::SCM) << range(0, 3) << optionsWith(Colors)
            << QList<ExportSection> {section("blocks_screenColors", bytes({11, 7, 11})),
                                     section("blocks_colors", bytes({3, 12}))};
        QTest::newRow("blocks every section in order")
            << set << QList<int> {1, 2} << optionsWith(Data | Colors | Selection | Empty)
            << QList<ExportSection> {section("blocks_data", pattern(9, 8) + zeros(8)),
                                     section("blocks_bckgndColor", bytes({11})),
                                     section("blocks_screenColors", bytes({0x89, 0x45})),
                                     section("blocks_colors", bytes({12, 15})),
                                     section("blocks_selection", bytes({1, 0, 2, 0}))};
    }

    // --- comments and run-length coding ---
    {
        Imageset set = charset(Imageset::SCM);
        set.name = QStringLiteral("rle");
        putImage(set, 0, bytes({0x18, 0x18, 0x18, 0x18, 0, 0, 0x18, 0}));
        putImage(set, 2, QByteArray(8, char(0xFF)));
        set.imageColors.insert(0, 5);
        const QByteArray raw = bytes({0x18, 0x18, 0x18, 0x18, 0, 0, 0x18, 0}) + zeros(8) + QByteArray(8, char(0xFF));
        // (4 x $18) (2 x 0) $18|128 (9 x 0) (8 x $FF)
        const QByteArray coded = bytes({4, 0x18, 2, 0, 0x98, 9, 0, 8, 0xFF});
        // 5 alone, then two 15s
        const QByteArray colorsCoded = bytes({0x85, 2, 15});

        QTest::newRow("comments without RLE")
            << set << range(0, 3) << optionsWith(Data | Colors | Empty | Comments)
            << QList<ExportSection> {section("rle_data", raw, "; Total bytes: 24\n\n"),
                                     section("rle_bckgndColors", bytes({6})),
                                     section("rle_colors", bytes({5, 15, 15}), "; Total bytes: 3\n\n")};
        ExportDataOptions slashes = optionsWith(Data | Empty | Comments);
        slashes.commentPrefix = QStringLiteral("//");
        QTest::newRow("comments with another prefix")
            << set << range(0, 3) << slashes
            << QList<ExportSection> {section("rle_data", raw, "// Total bytes: 24\n\n")};
        QTest::newRow("RLE without comments")
            << set << range(0, 3) << optionsWith(Data | Colors | Empty | Compress)
            << QList<ExportSection> {section("rle_data", coded), section("rle_bckgndColors", bytes({6})),
                                     section("rle_colors", colorsCoded)};
        QTest::newRow("RLE with comments")
            << set << range(0, 3) << optionsWith(Data | Colors | Selection | Empty | Comments | Compress)
            << QList<ExportSection> {section(QString(), {}, rleNote(semicolon) + "\n"),
                                     section("rle_data", coded, "; Total bytes: 9 (RLE)\n\n"),
                                     section("rle_bckgndColors", bytes({6})),
                                     section("rle_colors", colorsCoded, "; Total bytes: 3 (RLE)\n\n"),
                                     section("rle_selection", bytes({0, 0, 1, 0, 2, 0}))};
        ExportDataOptions slashRle = optionsWith(Colors | Empty | Comments | Compress);
        slashRle.commentPrefix = QStringLiteral("//");
        QTest::newRow("RLE note with another prefix, no data")
            << set << range(0, 3) << slashRle
            << QList<ExportSection> {section(QString(), {}, rleNote(QStringLiteral("//")) + "\n"),
                                     section("rle_bckgndColors", bytes({6})),
                                     section("rle_colors", colorsCoded, "// Total bytes: 3 (RLE)\n\n")};
        // 2048 zero bytes: sixteen full runs of 127 and one of 16.
        QByteArray longRuns;
        for (int i = 0; i < 16; ++i)
            longRuns += bytes({127, 0});
        longRuns += bytes({16, 0});
        QTest::newRow("RLE runs stop at 127")
            << charset(Imageset::SCM) << range(0, 256) << optionsWith(Data | Empty | Compress)
            << QList<ExportSection> {section("chars_data", longRuns)};
    }
    {
        const Imageset set = blockFixture(Imageset::MCM);
        // $45 alone, $89 (above 127) as the pair (1, $89), $45 alone.
        QTest::newRow("blocks MCM RLE with comments")
            << set << range(0, 3) << optionsWith(Colors | Comments | Compress)
            << QList<ExportSection> {section(QString(), {}, rleNote(semicolon) + "\n"),
                                     section("blocks_bckgndColor", bytes({11})),
                                     section("blocks_screenColors", bytes({0xC5, 1, 0x89, 0xC5}),
                                             "; Total bytes: 4 (RLE)\n\n"),
                                     section("blocks_colors", bytes({0x83, 0x8C}), "; Total bytes: 2 (RLE)\n\n")};
        QTest::newRow("blocks SCM screen colours with comments")
            << blockFixture(Imageset::SCM) << range(0, 3) << optionsWith(Colors | Comments)
            << QList<ExportSection> {section("blocks_screenColors", bytes({11, 7, 11}), "; Total bytes: 3\n\n"),
                                     section("blocks_colors", bytes({3, 12}), "; Total bytes: 2\n\n")};
    }
    {
        Imageset set = spriteset();
        putImage(set, 0, QByteArray(63, char(0xAA)));
        putImage(set, 1, QByteArray(63, char(0x01)));
        set.multiColorSprites.insert(1);
        // The flags and the slot list are never compressed and have no total.
        QTest::newRow("sprites RLE with comments")
            << set << range(0, 2) << optionsWith(Data | Colors | Selection | Comments | Compress)
            << QList<ExportSection> {section(QString(), {}, rleNote(semicolon) + "\n"),
                                     section("sprites_data", bytes({63, 0xAA, 0x80, 63, 0x01, 0x80}),
                                             "; Total bytes: 6 (RLE)\n\n"),
                                     section("sprites_bckgndColors", bytes({6, 1, 2})),
                                     section("sprites_colors", bytes({2, 15}), "; Total bytes: 2 (RLE)\n\n"),
                                     section("sprites_isMulti", bytes({0, 1})),
                                     section("sprites_selection", bytes({0, 0, 1, 0}))};
    }
}

void ImagesetExchangeTest::exportSections()
{
    QFETCH(Imageset, set);
    QFETCH(QList<int>, slotList);
    QFETCH(ExportDataOptions, options);
    QFETCH(QList<ExportSection>, expected);

    compareSections(ImagesetExchange::sections(set, slotList, options), expected);
}

void ImagesetExchangeTest::spriteSlotsTake64Bytes()
{
    const Imageset set = spriteFixture();
    const QByteArray with = sectionBytes(ImagesetExchange::sections(set, range(0, 3), optionsWith(Data | Empty)),
                                         QStringLiteral("sprites_data"));
    const QByteArray without = sectionBytes(ImagesetExchange::sections(set, range(0, 3), optionsWith(Data)),
                                            QStringLiteral("sprites_data"));
    QCOMPARE(with.size(), 192);
    QCOMPARE(without.size(), 128);
    // The 64th byte of every sprite is zero, the sprite's own bytes come first.
    for (int sprite = 0; sprite < 3; ++sprite)
        QCOMPARE(int(with.at(sprite * 64 + 63)), 0);
    QCOMPARE(without.mid(0, 63), pattern(1, 63));
    QCOMPARE(int(without.at(63)), 0);
    QCOMPARE(without.mid(64, 63), pattern(2, 63));
    QCOMPARE(int(without.at(127)), 0);
}

void ImagesetExchangeTest::ecmExportsOnly64Slots()
{
    Imageset set = charset(Imageset::ECM);
    for (int slot = 0; slot < 64; ++slot)
        putImage(set, slot, pattern(slot, 8));
    set.imageColors.insert(5, 9);
    set.imageColors.insert(100, 4); // a character code of background 1, not listed
    const QList<int> slotList = ::ImagesetExchange::allSlots(set);
    QCOMPARE(slotList.size(), 64);

    const QList<ExportSection> sections = ImagesetExchange::sections(set, slotList, optionsWith(Data | Colors | Empty));
    const QByteArray data = sectionBytes(sections, QStringLiteral("chars_data"));
    QCOMPARE(data.size(), 64 * 8);
    QCOMPARE(data.mid(63 * 8, 8), pattern(63, 8));
    const QByteArray colors = sectionBytes(sections, QStringLiteral("chars_colors"));
    QCOMPARE(colors.size(), 64);
    for (int i = 0; i < colors.size(); ++i)
        QVERIFY2(quint8(colors.at(i)) < 16, qPrintable(QStringLiteral("colour %1 of slot %2").arg(quint8(colors.at(i))).arg(i)));
    QCOMPARE(int(colors.at(5)), 9);
    QCOMPARE(int(colors.at(4)), 15);
}

void ImagesetExchangeTest::exportTextWithCommentsAndRle()
{
    Imageset set = charset(Imageset::SCM);
    set.name = QStringLiteral("my font");
    putImage(set, 0, bytes({0x18, 0x18, 0x18, 0x18, 0, 0, 0x18, 0}));
    set.imageColors.insert(0, 5);

    const ExportDataOptions options = optionsWith(Data | Colors | Selection | Empty | Comments | Compress);
    // Data: (4 x $18) (2 x 0) $18|128 (9 x 0); colours 5|128 and 15|128.
    const QString expected = QStringLiteral(
        "; RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:\n"
        ";    value | 128           if (n.repetition == 1) and (value < 128)\n"
        ";   (n.repetition, value)  otherwise\n"
        "\n"
        "; Total bytes: 7 (RLE)\n"
        "\n"
        "my_font_data:\n"
        "!byte $04, $18, $02, $00, $98, $09, $00\n"
        "\n"
        "my_font_bckgndColors:\n"
        "!byte $06\n"
        "\n"
        "; Total bytes: 2 (RLE)\n"
        "\n"
        "my_font_colors:\n"
        "!byte $85, $8F\n"
        "\n"
        "my_font_selection:\n"
        "!byte $00, $00, $01, $00\n"
        "\n");
    QCOMPARE(ImagesetExchange::text(set, range(0, 2), options), expected);
}

void ImagesetExchangeTest::exportTextDecimal()
{
    Imageset set = blockset(Imageset::MCM);
    set.name = QStringLiteral("Blocks #1");
    set.colors = {11, 4, 5, 3};
    putImage(set, 0, bytes({1, 2, 3, 4, 5, 6, 7, 8}));

    ExportDataOptions options = optionsWith(Data | Colors | Empty);
    options.base = ExportDataOptions::NumberBase::Dec;
    options.dataPrefix = QStringLiteral(".byte");
    options.dataPerLine = 4;
    options.indentSpaces = 2;
    const QString expected = QStringLiteral(
        "Blocks_1_data:\n"
        "  .byte 1, 2, 3, 4\n"
        "  .byte 5, 6, 7, 8\n"
        "\n"
        "Blocks_1_bckgndColor:\n"
        "  .byte 11\n"
        "\n"
        "Blocks_1_screenColors:\n"
        "  .byte 69\n"
        "\n"
        "Blocks_1_colors:\n"
        "  .byte 15\n"
        "\n");
    QCOMPARE(ImagesetExchange::text(set, {0}, options), expected);
}

void ImagesetExchangeTest::exportTextIsTheSectionsText()
{
    const Imageset set = spriteFixture();
    ExportDataOptions options = optionsWith(Data | Colors | Selection | Comments | Compress);
    options.dataPerLine = 5;
    const QString text = ImagesetExchange::text(set, range(0, 3), options);
    QCOMPARE(text, TextFormat(options).text(ImagesetExchange::sections(set, range(0, 3), options)));
    QVERIFY(text.startsWith(QStringLiteral("; RLE compressed")));
}

void ImagesetExchangeTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("data");
    QTest::addColumn<QList<int>>("background");
    QTest::addColumn<QList<int>>("colors");
    QTest::addColumn<QList<int>>("selection");
    QTest::addColumn<QList<int>>("multi");
    QTest::addColumn<QList<int>>("screen");

    using L = QList<int>;
    QTest::newRow("empty text") << QString() << L() << L() << L() << L() << L() << L();
    QTest::newRow("every section") << "s_data:\n!byte $01, $02\n\n"
                                      "s_bckgndColors:\n!byte $06, $0E\n\n"
                                      "s_colors:\n!byte $0F\n\n"
                                      "s_isMulti:\n!byte $01, $00\n\n"
                                      "s_selection:\n!byte $03, $00\n\n"
                                      "s_screenColors:\n!byte $45\n\n"
                                   << L {1, 2} << L {6, 14} << L {15} << L {3, 0} << L {1, 0} << L {0x45};
    QTest::newRow("single background colour label") << "b_bckgndColor:\n!byte 11\n"
                                                    << L() << L {11} << L() << L() << L() << L();
    QTest::newRow("several lines of one section") << "x_data:\n!byte $01, $02\n!byte $03\n.byte 4\n"
                                                  << L {1, 2, 3, 4} << L() << L() << L() << L() << L();
    QTest::newRow("keys ignore letter case") << "X_DATA: !byte 1 X_BCKGND: !byte 2 X_Colors: !byte 3 "
                                                "X_SELECTION: !byte 4 X_ISMULTI: !byte 5 X_SCREEN: !byte 6"
                                             << L {1} << L {2} << L {3} << L {4} << L {5} << L {6};
    QTest::newRow("first key in order wins") << "x_colors_data: !byte 1 x_screen_isMulti: !byte 2"
                                             << L {1} << L() << L() << L() << L {2} << L();
    QTest::newRow("name containing _data takes everything")
        << "my_data_data:\n!byte $01\n\nmy_data_bckgndColors:\n!byte $06\n\nmy_data_colors:\n!byte $0F\n\n"
           "my_data_isMulti:\n!byte $01\n\nmy_data_selection:\n!byte $02, $00\n"
        << L {1, 6, 15, 1, 2, 0} << L() << L() << L() << L() << L();
    QTest::newRow("hex prefixes") << "h_data: !byte $1f, 0x1f, 0X1F, $Ab, 0xff, 10"
                                  << L {31, 31, 31, 171, 255, 10} << L() << L() << L() << L() << L();
    QTest::newRow("decimal text like hex") << "d_data:\n!byte 1, 2, 255\n"
                                           << L {1, 2, 255} << L() << L() << L() << L() << L();
    QTest::newRow("values cut to a byte") << "v_data: !byte 300 $1FF 256"
                                          << L {44, 255, 0} << L() << L() << L() << L() << L();
    QTest::newRow("comments ignored")
        << "; RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:\n"
           ";    value | 128           if (n.repetition == 1) and (value < 128)\n"
           ";   (n.repetition, value)  otherwise\n\n"
           "; Total bytes: 3 (RLE)\n\nc_data:\n!byte $83, $01, $02\n\n"
        << L {0x83, 1, 2} << L() << L() << L() << L() << L();
    QTest::newRow("comment between label and data resets the section")
        << "c_data:\n; 12 numbers\n!byte 7\nc_colors:\n!byte 8"
        << L() << L() << L {8} << L() << L() << L();
    QTest::newRow("data without label dropped") << "!byte 1, 2\nq_colors: !byte 3"
                                                << L() << L() << L {3} << L() << L() << L();
    QTest::newRow("unknown label drops its data") << "q_data: !byte 1 other: !byte 2 q_colors: !byte 3"
                                                  << L {1} << L() << L {3} << L() << L() << L();
    QTest::newRow("non-number ends the line and is a label")
        << "q_data: !byte 1, 2 q_colors: !byte 3"
        << L {1, 2} << L() << L {3} << L() << L() << L();
    QTest::newRow("number outside data line unused") << "q_data: 5 !byte 6"
                                                     << L() << L() << L() << L() << L() << L();
    QTest::newRow("only five-letter byte pieces open data")
        << "a_data: !bytes 1 a_data: byte 2 a_data: xbyte 3 a_data: .BYTE 4 a_data: bytes 5"
        << L {3, 4, 5} << L() << L() << L() << L() << L();
    QTest::newRow("empty pieces skipped") << "e_data:,,!byte 1,,2, ,3"
                                          << L {1, 2, 3} << L() << L() << L() << L() << L();
    QTest::newRow("tabs and carriage returns separate")
        << "t_data:\r\n\t!byte\t$01,\t$02\r\n\r\nt_colors:\r\n!byte\t3\r\n"
        << L {1, 2} << L() << L {3} << L() << L() << L();
    QTest::newRow("blank separator") << "b_data:\n  !byte $01 $02 $03\n"
                                     << L {1, 2, 3} << L() << L() << L() << L() << L();
    QTest::newRow("bare prefix is no number") << "n_data: !byte 1 $ 2 n_colors: !byte 3"
                                              << L {1} << L() << L {3} << L() << L() << L();
}

void ImagesetExchangeTest::parse()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, data);
    QFETCH(QList<int>, background);
    QFETCH(QList<int>, colors);
    QFETCH(QList<int>, selection);
    QFETCH(QList<int>, multi);
    QFETCH(QList<int>, screen);

    const ImagesetImport import = ImagesetExchange::parseImport(text);
    QCOMPARE(import.data, data);
    QCOMPARE(import.background, background);
    QCOMPARE(import.colors, colors);
    QCOMPARE(import.selection, selection);
    QCOMPARE(import.multiColor, multi);
    QCOMPARE(import.screenColors, screen);
}

namespace {
QList<int> listOf(const QByteArray& data)
{
    QList<int> values;
    for (char c : data)
        values.append(quint8(c));
    return values;
}
}

void ImagesetExchangeTest::decimalImportsLikeHex()
{
    const Imageset set = spriteFixture();
    ExportDataOptions hex = optionsWith(Data | Colors | Selection | Empty | Comments);
    ExportDataOptions dec = hex;
    dec.base = ExportDataOptions::NumberBase::Dec;
    const ImagesetImport fromHex = ImagesetExchange::parseImport(ImagesetExchange::text(set, range(0, 3), hex));
    const ImagesetImport fromDec = ImagesetExchange::parseImport(ImagesetExchange::text(set, range(0, 3), dec));
    QCOMPARE(fromHex.data, listOf(pattern(1, 63) + zeros(65) + pattern(2, 63) + zeros(1)));
    QCOMPARE(fromHex.background, (QList<int> {0, 11, 12}));
    QCOMPARE(fromHex.colors, (QList<int> {7, 15, 10}));
    QCOMPARE(fromHex.multiColor, (QList<int> {0, 0, 1}));
    QCOMPARE(fromHex.selection, (QList<int> {0, 0, 1, 0, 2, 0}));
    QVERIFY(fromHex.screenColors.isEmpty());
    QCOMPARE(fromDec.data, fromHex.data);
    QCOMPARE(fromDec.background, fromHex.background);
    QCOMPARE(fromDec.colors, fromHex.colors);
    QCOMPARE(fromDec.multiColor, fromHex.multiColor);
    QCOMPARE(fromDec.selection, fromHex.selection);
}

void ImagesetExchangeTest::nameWithDataRoutesEverythingIntoData()
{
    Imageset set = spriteFixture();
    set.name = QStringLiteral("my_data");
    const ImagesetImport import =
        ImagesetExchange::parseImport(ImagesetExchange::text(set, {0, 2}, optionsWith(Data | Colors | Selection)));
    // Every label contains "_data": the values of all sections, in order.
    QCOMPARE(import.data, listOf(pattern(1, 63) + zeros(1) + pattern(2, 63) + zeros(1) + bytes({0, 11, 12})
                                 + bytes({7, 10}) + bytes({0, 1}) + bytes({0, 0, 2, 0})));
    QVERIFY(import.background.isEmpty());
    QVERIFY(import.colors.isEmpty());
    QVERIFY(import.multiColor.isEmpty());
    QVERIFY(import.selection.isEmpty());
}

void ImagesetExchangeTest::applyData()
{
    Imageset set = charset(Imageset::SCM);
    putImage(set, 3, QByteArray(8, char(0xEE)));
    ImagesetImport import;
    import.data = listOf(pattern(1, 16));

    bool selectionGiven = true;
    const QList<int> selection = ImagesetExchange::applyImport(set, {5, 3}, import, &selectionGiven);
    QVERIFY(selection.isEmpty());
    QVERIFY(!selectionGiven);
    // The targets are filled in their order; the missing slot 5 was created.
    QCOMPARE(set.images.keys(), (QList<int> {3, 5}));
    QCOMPARE(set.images.value(5).bytes, pattern(1, 16).left(8));
    QCOMPARE(set.images.value(5).width, 8);
    QCOMPARE(set.images.value(5).height, 8);
    QCOMPARE(set.images.value(3).bytes, pattern(1, 16).mid(8));
}

void ImagesetExchangeTest::applySpriteDataSkips64thByte()
{
    Imageset set = spriteset();
    QByteArray data = pattern(1, 63) + bytes({0xAA}) + pattern(2, 63) + bytes({0xBB});
    ImagesetImport import;
    import.data = listOf(data);

    ImagesetExchange::applyImport(set, {4, 7}, import);
    QCOMPARE(set.images.keys(), (QList<int> {4, 7}));
    QCOMPARE(set.images.value(4).bytes, pattern(1, 63));
    QCOMPARE(set.images.value(7).bytes, pattern(2, 63));
    QCOMPARE(set.images.value(7).width, 24);
    QCOMPARE(set.images.value(7).height, 21);
}

void ImagesetExchangeTest::applyLongerDataIsCut()
{
    Imageset set = charset(Imageset::MCM);
    ImagesetImport import;
    import.data = listOf(pattern(2, 20));

    ImagesetExchange::applyImport(set, {9}, import);
    QCOMPARE(set.images.keys(), QList<int> {9});
    QCOMPARE(set.images.value(9).bytes, pattern(2, 8));
}

void ImagesetExchangeTest::applyShorterDataKeepsTail()
{
    Imageset set = charset(Imageset::SCM);
    putImage(set, 0, QByteArray(8, char(0xEE)));
    putImage(set, 1, QByteArray(8, char(0xEE)));
    ImagesetImport import;
    import.data = listOf(pattern(3, 11));

    ImagesetExchange::applyImport(set, {0, 1, 2}, import);
    QCOMPARE(set.images.value(0).bytes, pattern(3, 8));
    // Three bytes reach the second target; the rest of it stays.
    QCOMPARE(set.images.value(1).bytes, pattern(3, 11).mid(8) + QByteArray(5, char(0xEE)));
    // The buffer ran out before the third target: it is not created.
    QVERIFY(!set.images.contains(2));

    // A short buffer into a missing slot: the new image's tail stays zero.
    Imageset fresh = spriteset();
    ImagesetImport shortImport;
    shortImport.data = {1, 2, 3};
    ImagesetExchange::applyImport(fresh, {6}, shortImport);
    QCOMPARE(fresh.images.value(6).bytes, bytes({1, 2, 3}) + zeros(60));
}

void ImagesetExchangeTest::applyBackground_data()
{
    QTest::addColumn<Imageset>("set");
    QTest::addColumn<QList<int>>("background");
    QTest::addColumn<QList<int>>("colors");

    // The sets start from the colours 6, 1, 2, 3.
    QTest::newRow("charset one value") << charset(Imageset::SCM) << QList<int> {9} << QList<int> {9, 1, 2, 3};
    QTest::newRow("charset two values") << charset(Imageset::MCM) << QList<int> {9, 10} << QList<int> {9, 10, 2, 3};
    QTest::newRow("charset four values") << charset(Imageset::ECM) << QList<int> {9, 10, 11, 12}
                                         << QList<int> {9, 10, 11, 12};
    QTest::newRow("charset five values: four used") << charset(Imageset::ECM) << QList<int> {9, 10, 11, 12, 13}
                                                    << QList<int> {9, 10, 11, 12};
    QTest::newRow("sprites three values") << spriteset() << QList<int> {0, 11, 12} << QList<int> {0, 11, 12, 3};
    QTest::newRow("blocks one value") << blockset(Imageset::MCM) << QList<int> {9} << QList<int> {9, 1, 2, 3};
    QTest::newRow("blocks two values ignored") << blockset(Imageset::MCM) << QList<int> {9, 10}
                                               << QList<int> {6, 1, 2, 3};
    QTest::newRow("blocks three values ignored") << blockset(Imageset::SCM) << QList<int> {9, 10, 11}
                                                 << QList<int> {6, 1, 2, 3};
    QTest::newRow("nothing") << charset(Imageset::SCM) << QList<int>() << QList<int> {6, 1, 2, 3};
}

void ImagesetExchangeTest::applyBackground()
{
    QFETCH(Imageset, set);
    QFETCH(QList<int>, background);
    QFETCH(QList<int>, colors);

    ImagesetImport import;
    import.background = background;
    ImagesetExchange::applyImport(set, {0}, import);
    const QList<int> actual {set.colors[0], set.colors[1], set.colors[2], set.colors[3]};
    QCOMPARE(actual, colors);
    QVERIFY(set.images.isEmpty());
}

void ImagesetExchangeTest::applyColors_data()
{
    QTest::addColumn<Imageset::Mode>("mode");
    QTest::addColumn<QList<int>>("targets");
    QTest::addColumn<QList<int>>("colors");
    QTest::addColumn<QList<int>>("slotsSet");
    QTest::addColumn<QList<int>>("values");

    QTest::newRow("SCM in target order") << Imageset::SCM << QList<int> {4, 5, 6} << QList<int> {5, 3, 9}
                                         << QList<int> {4, 5, 6} << QList<int> {5, 3, 9};
    // Outside ECM only values below 16 count, in their order.
    QTest::newRow("MCM skips high values") << Imageset::MCM << QList<int> {4, 5, 6}
                                           << QList<int> {0x05, 0x17, 0x03} << QList<int> {4, 5} << QList<int> {5, 3};
    QTest::newRow("more values than targets") << Imageset::SCM << QList<int> {7} << QList<int> {1, 2}
                                              << QList<int> {7} << QList<int> {1};
    // ECM: the high nibble picks the quarter of the character codes.
    QTest::newRow("ECM four passes") << Imageset::ECM << QList<int> {0, 1, 2}
                                     << QList<int> {0x05, 0x17, 0x26, 0x03, 0x31, 0x18}
                                     << QList<int> {0, 1, 64, 65, 128, 192} << QList<int> {5, 3, 7, 8, 6, 1};
    QTest::newRow("ECM quarter beyond 3 ignored") << Imageset::ECM << QList<int> {10}
                                                  << QList<int> {0x42, 0xF3} << QList<int>() << QList<int>();
    QTest::newRow("ECM pass limited by targets") << Imageset::ECM << QList<int> {10}
                                                 << QList<int> {0x21, 0x22, 0x01}
                                                 << QList<int> {10, 138} << QList<int> {1, 1};
}

void ImagesetExchangeTest::applyColors()
{
    QFETCH(Imageset::Mode, mode);
    QFETCH(QList<int>, targets);
    QFETCH(QList<int>, colors);
    QFETCH(QList<int>, slotsSet);
    QFETCH(QList<int>, values);

    Imageset set = charset(mode);
    ImagesetImport import;
    import.colors = colors;
    ImagesetExchange::applyImport(set, targets, import);
    QCOMPARE(set.imageColors.keys(), slotsSet);
    QCOMPARE(set.imageColors.values(), values);
    QVERIFY(set.images.isEmpty());
}

void ImagesetExchangeTest::applySelection_data()
{
    QTest::addColumn<QList<int>>("targets");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QList<int>>("selection");
    QTest::addColumn<bool>("given");

    QTest::newRow("pairs low and high") << QList<int> {0, 1, 2} << QList<int> {5, 0, 44, 1}
                                        << QList<int> {5, 300} << true;
    QTest::newRow("trailing single value ignored") << QList<int> {0, 1, 2} << QList<int> {5, 0, 7}
                                                   << QList<int> {5} << true;
    QTest::newRow("one pair per target") << QList<int> {9} << QList<int> {5, 0, 6, 0} << QList<int> {5} << true;
    QTest::newRow("single value: given, nothing selected") << QList<int> {0} << QList<int> {5} << QList<int>()
                                                           << true;
    QTest::newRow("none") << QList<int> {0} << QList<int>() << QList<int>() << false;
}

void ImagesetExchangeTest::applySelection()
{
    QFETCH(QList<int>, targets);
    QFETCH(QList<int>, values);
    QFETCH(QList<int>, selection);
    QFETCH(bool, given);

    Imageset set = spriteset();
    ImagesetImport import;
    import.selection = values;
    bool selectionGiven = !given;
    QCOMPARE(ImagesetExchange::applyImport(set, targets, import, &selectionGiven), selection);
    QCOMPARE(selectionGiven, given);
}

void ImagesetExchangeTest::applyMultiColor()
{
    Imageset set = spriteset();
    set.multiColorSprites = {1, 2};
    ImagesetImport import;
    import.multiColor = {1, 0};
    ImagesetExchange::applyImport(set, {0, 1, 2}, import);
    // Target 0 set, target 1 cleared, target 2 without a value unchanged.
    QCOMPARE(set.multiColorSprites, (QSet<int> {0, 2}));

    import.multiColor = {0, 7, 0};
    ImagesetExchange::applyImport(set, {2, 5}, import);
    QCOMPARE(set.multiColorSprites, (QSet<int> {0, 5}));
}

void ImagesetExchangeTest::applyBlockScreenColors_data()
{
    QTest::addColumn<Imageset::Mode>("mode");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<BlockColors>("block3");
    QTest::addColumn<BlockColors>("block4");

    // Block 3 has its own colours 7, 8, 9; block 4 gets the set's 11, 12, 13.
    QTest::newRow("MCM splits into c1 and c2") << Imageset::MCM << QList<int> {0x9A, 0x01}
                                               << BlockColors {7, 9, 10} << BlockColors {11, 0, 1};
    QTest::newRow("SCM sets c0") << Imageset::SCM << QList<int> {4, 14} << BlockColors {4, 8, 9}
                                 << BlockColors {14, 12, 13};
    QTest::newRow("fewer values than targets") << Imageset::MCM << QList<int> {0x23}
                                               << BlockColors {7, 2, 3} << BlockColors();
}

void ImagesetExchangeTest::applyBlockScreenColors()
{
    QFETCH(Imageset::Mode, mode);
    QFETCH(QList<int>, values);
    QFETCH(BlockColors, block3);
    QFETCH(BlockColors, block4);

    Imageset set = blockset(mode);
    set.colors = {11, 12, 13, 3};
    set.blockColors.insert(3, BlockColors {7, 8, 9});
    ImagesetImport import;
    import.screenColors = values;
    ImagesetExchange::applyImport(set, {3, 4}, import);
    QCOMPARE(set.blockColors.value(3), block3);
    QCOMPARE(set.blockColors.contains(4), values.size() > 1);
    if (values.size() > 1)
        QCOMPARE(set.blockColors.value(4), block4);
}

void ImagesetExchangeTest::applyScreenColorsOnlyForBlocks()
{
    Imageset set = charset(Imageset::MCM);
    const Imageset before = set;
    ImagesetImport import;
    import.screenColors = {0x12, 0x34};
    ImagesetExchange::applyImport(set, {0, 1}, import);
    QVERIFY(set.blockColors.isEmpty());
    QVERIFY(set == before);
}

void ImagesetExchangeTest::changesSet_data()
{
    QTest::addColumn<int>("buffer");
    QTest::addColumn<bool>("changes");

    QTest::newRow("nothing") << -1 << false;
    QTest::newRow("data") << 0 << true;
    QTest::newRow("background") << 1 << true;
    QTest::newRow("colours") << 2 << true;
    QTest::newRow("selection only") << 3 << false;
    QTest::newRow("multicolour") << 4 << true;
    // Block screen colours change the set, so they are worth an undo step too.
    QTest::newRow("screen colours") << 5 << true;
}

void ImagesetExchangeTest::changesSet()
{
    QFETCH(int, buffer);
    QFETCH(bool, changes);

    ImagesetImport import;
    QList<int>* buffers[] = {&import.data,      &import.background, &import.colors,
                             &import.selection, &import.multiColor, &import.screenColors};
    if (buffer >= 0)
        buffers[buffer]->append(1);
    QCOMPARE(import.changesSet(), changes);
}

void ImagesetExchangeTest::selectionOnlyImportLeavesSetUnchanged()
{
    Imageset set = spriteFixture();
    const Imageset before = set;
    const ImagesetImport import = ImagesetExchange::parseImport(QStringLiteral("sprites_selection:\n!byte $02, $00, $00, $00\n"));
    QVERIFY(!import.changesSet());
    bool given = false;
    QCOMPARE(ImagesetExchange::applyImport(set, {0, 1, 2}, import, &given), (QList<int> {2, 0}));
    QVERIFY(given);
    QVERIFY(set == before);
}

void ImagesetExchangeTest::importTargetsAllowed_data()
{
    QTest::addColumn<Imageset>("set");
    QTest::addColumn<QList<int>>("targets");
    QTest::addColumn<bool>("allowed");

    QTest::newRow("ECM patterns") << charset(Imageset::ECM) << QList<int> {0, 63} << true;
    QTest::newRow("ECM slot 64") << charset(Imageset::ECM) << QList<int> {0, 64} << false;
    QTest::newRow("ECM slot 255") << charset(Imageset::ECM) << QList<int> {255} << false;
    QTest::newRow("ECM no targets") << charset(Imageset::ECM) << QList<int>() << true;
    QTest::newRow("SCM slot 255") << charset(Imageset::SCM) << QList<int> {255} << true;
    QTest::newRow("MCM slot 200") << charset(Imageset::MCM) << QList<int> {200} << true;
    QTest::newRow("sprite slot 300") << spriteset() << QList<int> {300} << true;
}

void ImagesetExchangeTest::importTargetsAllowed()
{
    QFETCH(Imageset, set);
    QFETCH(QList<int>, targets);
    QFETCH(bool, allowed);
    QCOMPARE(::ImagesetExchange::importTargetsAllowed(set, targets), allowed);
}

void ImagesetExchangeTest::roundTrip_data()
{
    QTest::addColumn<Imageset>("set");
    QTest::addColumn<QList<int>>("slotList");
    QTest::addColumn<QList<int>>("targets");
    QTest::addColumn<ExportDataOptions>("options");
    QTest::addColumn<bool>("crlf");

    // Every listed slot holds an image (an exported empty slot would come
    // back as an image of zeros).
    Imageset chars = charset(Imageset::SCM);
    chars.name = QStringLiteral("font");
    for (int slot = 0; slot < 10; ++slot)
        putImage(chars, slot, pattern(slot, 8));
    chars.imageColors = {{0, 1}, {3, 14}, {9, 0}};
    chars.colors = {9, 1, 2, 3};

    Imageset multi = chars;
    multi.mode = Imageset::MCM;
    multi.colors = {9, 10, 11, 3};
    multi.imageColors.insert(4, 12);

    Imageset ecm = charset(Imageset::ECM);
    ecm.name = QStringLiteral("ecm font");
    for (int slot = 0; slot < 4; ++slot)
        putImage(ecm, slot, pattern(slot + 20, 8));
    ecm.colors = {9, 10, 11, 12};
    ecm.imageColors = {{0, 1}, {65, 2}, {130, 3}, {195, 4}, {192, 5}};
    QList<int> ecmSlots;
    for (int quarter = 0; quarter < 4; ++quarter)
        ecmSlots << range(quarter * 64, 4);

    Imageset sprites = spriteset();
    for (int slot = 0; slot < 3; ++slot)
        putImage(sprites, slot, pattern(slot + 40, 63));
    sprites.multiColorSprites = {1};
    sprites.imageColors = {{0, 2}, {2, 7}};
    sprites.colors = {0, 11, 12, 3};

    Imageset blocks = blockset(Imageset::MCM);
    for (int slot = 0; slot < 3; ++slot)
        putImage(blocks, slot, pattern(slot + 60, 8));
    blocks.colors = {11, 1, 2, 3};
    blocks.blockColors = {{0, BlockColors {11, 4, 5}}, {2, BlockColors {11, 8, 9}}};
    blocks.imageColors = {{1, 13}};

    Imageset monoBlocks = blocks;
    monoBlocks.mode = Imageset::SCM;
    monoBlocks.blockColors = {{0, BlockColors {4, 1, 2}}, {2, BlockColors {8, 1, 2}}};

    const int all = Data | Colors | Selection | Empty;
    ExportDataOptions hex = optionsWith(all);
    ExportDataOptions hex0x = optionsWith(all | Comments);
    hex0x.hexPrefix = QStringLiteral("0x");
    hex0x.dataPerLine = 1;
    ExportDataOptions dec = optionsWith(all);
    dec.base = ExportDataOptions::NumberBase::Dec;
    dec.dataPrefix = QStringLiteral(".byte");
    dec.indentSpaces = 3;
    dec.separator = QStringLiteral(" ");
    dec.dataPerLine = 7;
    ExportDataOptions tabs = optionsWith(all | Comments);
    tabs.separator = QStringLiteral("\t");
    tabs.commentPrefix = QStringLiteral("//");
    tabs.dataPerLine = 2048;

    QTest::newRow("charset SCM hex") << chars << range(0, 10) << range(0, 10) << hex << false;
    QTest::newRow("charset SCM dec") << chars << range(0, 10) << range(0, 10) << dec << false;
    QTest::newRow("charset MCM 0x comments") << multi << range(0, 10) << range(0, 10) << hex0x << false;
    QTest::newRow("charset MCM tabs CRLF") << multi << range(0, 10) << range(0, 10) << tabs << true;
    QTest::newRow("charset ECM hex") << ecm << ecmSlots << range(0, 4) << hex << false;
    QTest::newRow("charset ECM dec") << ecm << ecmSlots << range(0, 4) << dec << false;
    QTest::newRow("sprites hex") << sprites << range(0, 3) << range(0, 3) << hex << false;
    QTest::newRow("sprites tabs CRLF") << sprites << range(0, 3) << range(0, 3) << tabs << true;
    QTest::newRow("blocks MCM hex") << blocks << range(0, 3) << range(0, 3) << hex << false;
    QTest::newRow("blocks MCM dec") << blocks << range(0, 3) << range(0, 3) << dec << false;
    QTest::newRow("blocks SCM 0x comments") << monoBlocks << range(0, 3) << range(0, 3) << hex0x << false;
}

void ImagesetExchangeTest::roundTrip()
{
    QFETCH(Imageset, set);
    QFETCH(QList<int>, slotList);
    QFETCH(QList<int>, targets);
    QFETCH(ExportDataOptions, options);
    QFETCH(bool, crlf);

    QString text = ImagesetExchange::text(set, slotList, options);
    if (crlf)
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const ImagesetImport import = ImagesetExchange::parseImport(text);
    QVERIFY(import.changesSet());

    Imageset target(set.id, set.name, set.imageWidth, set.imageHeight, set.type);
    target.mode = set.mode;
    QVERIFY(::ImagesetExchange::importTargetsAllowed(target, targets));
    bool selectionGiven = false;
    const QList<int> selection = ImagesetExchange::applyImport(target, targets, import, &selectionGiven);

    QCOMPARE(target.images, set.images);
    for (int slot : slotList)
        QCOMPARE(target.imageColor(slot), set.imageColor(slot));

    // The set colours that the kind and mode write.
    int written = 0;
    if (set.type == Imageset::Spriteset)
        written = 3;
    else if (set.type == Imageset::Charset)
        written = set.mode == Imageset::SCM ? 1 : set.mode == Imageset::MCM ? 3 : 4;
    else
        written = set.mode == Imageset::MCM ? 1 : 0;
    for (int i = 0; i < 4; ++i)
        QCOMPARE(target.colors[size_t(i)], i < written ? set.colors[size_t(i)] : Imageset().colors[size_t(i)]);

    if (set.type == Imageset::Spriteset) {
        QCOMPARE(target.multiColorSprites, set.multiColorSprites);
    } else {
        QVERIFY(target.multiColorSprites.isEmpty());
    }
    if (set.type == Imageset::Blockset) {
        for (int slot : slotList) {
            const auto expected = set.colorsFor(slot);
            const auto actual = target.colorsFor(slot);
            if (set.mode == Imageset::MCM) {
                QCOMPARE(actual[1], expected[1]);
                QCOMPARE(actual[2], expected[2]);
            } else {
                QCOMPARE(actual[0], expected[0]);
            }
        }
    } else {
        QVERIFY(target.blockColors.isEmpty());
    }

    QVERIFY(selectionGiven);
    QCOMPARE(selection, slotList.mid(0, targets.size()));
}

QTEST_GUILESS_MAIN(ImagesetExchangeTest)
#include "tst_imagesetexchange.moc"
