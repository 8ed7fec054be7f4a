// Image sets as exported data (bitmaps, set and slot colours, multicolour
// flags, slot numbers; coded, commented) and exported text read back.

#include "exchange/imagesetexchange.h"
#include "support/core/datatable.h"
#include "support/core/recordbytes.h"
#include "support/core/values.h"

#include <QtTest>

Q_DECLARE_METATYPE(Imageset)
Q_DECLARE_METATYPE(ExportDataOptions)

using testvalues::bytes;
using testvalues::range;

namespace {
// A set exported from the listed slots: its sections in one line and, when
// given, the file of its whole text.
struct Export { Imageset set; QList<int> slotList; ExportDataOptions options; QString expected, file; };

enum Flag { Data = 1, Colors = 2, Selection = 4, Empty = 8, Comments = 16, Compress = 32 };

ExportDataOptions with(int flags, ExportDataOptions options = {})
{
    options.includeData = flags & Data;
    options.includeColors = flags & Colors;
    options.includeSelection = flags & Selection;
    options.includeEmptySlots = flags & Empty;
    options.includeComments = flags & Comments;
    options.compressRLE = flags & Compress;
    return options;
}

// A set named by its kind's first letter with the colours 9 4 5 13 (sprites
// 0 11 12 3, blocks 11 4 5 3) and images filled with the given bytes.
Imageset makeSet(Imageset::Type type, Imageset::Mode mode, QMap<int, int> imageColors, QMap<int, int> fills)
{
    const bool sprites = type == Imageset::Spriteset;
    Imageset set(1, QString(QLatin1Char("csb"[type])), sprites ? 24 : 8, sprites ? 21 : 8, type);
    set.mode = mode;
    set.colors = std::array<std::array<int, 4>, 3> {{{9, 4, 5, 13}, {0, 11, 12, 3}, {11, 4, 5, 3}}}[type];
    set.imageColors = imageColors;
    for (auto it = fills.cbegin(); it != fills.cend(); ++it)
        testvalues::putImage(set, it.key(), QByteArray(set.imageSize, char(*it)));
    return set;
}

// Characters 0 (1 to 8) and 2 (all $AA) in colours 3 and 12; 1 is empty.
Imageset chars(Imageset::Mode mode)
{
    Imageset set = makeSet(Imageset::Charset, mode, {{0, 3}, {2, 12}}, {{2, 0xAA}});
    testvalues::putImage(set, 0, bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    return set;
}

// Sprites 0 (all $AA) and 2 (all $BB, multicolour); 1 is empty.
Imageset sprites()
{
    Imageset set = makeSet(Imageset::Spriteset, Imageset::SCM, {{0, 7}, {2, 10}}, {{0, 0xAA}, {2, 0xBB}});
    set.multiColorSprites = {2};
    return set;
}

// Blocks 0 and 1 with the screen colours 7, 8, 9 for block 1 (and 3).
Imageset blocks(Imageset::Mode mode)
{
    Imageset set = makeSet(Imageset::Blockset, mode, {{0, 3}, {1, 12}}, {{0, 0xCC}, {1, 0xDD}});
    set.blockColors = {{1, {7, 8, 9}}, {3, {7, 8, 9}}};
    return set;
}

// What an import left in a set: set colours, bitmaps, slot colours (c),
// multicolour sprites (m), block colours (b), the slot list (sel) when the
// text gave one, and whether the text changes the set.
QString state(const Imageset& set, const QList<int>& selection, bool given, bool changes)
{
    QStringList out {"colours"};
    for (int color : set.colors)
        out << QString::number(color);
    for (auto it = set.images.cbegin(); it != set.images.cend(); ++it)
        out << QStringLiteral("%1=%2").arg(it.key()).arg(testvalues::hexRuns(it->bytes));
    for (auto it = set.imageColors.cbegin(); it != set.imageColors.cend(); ++it)
        out << QStringLiteral("c%1=%2").arg(it.key()).arg(*it);
    for (int slot = 0; slot < 256; ++slot)
        out << (set.multiColorSprites.contains(slot) ? QStringLiteral("m%1").arg(slot) : QString());
    for (auto it = set.blockColors.cbegin(); it != set.blockColors.cend(); ++it)
        out << QStringLiteral("b%1=%2,%3,%4").arg(it.key()).arg(it->c0).arg(it->c1).arg(it->c2);
    out << (given ? QStringLiteral("sel") : QString());
    for (int slot : selection)
        out << QString::number(slot);
    out << (changes ? QStringLiteral("changes") : QString());
    out.removeAll(QString());
    return out.join(QLatin1Char(' '));
}
}

Q_DECLARE_METATYPE(Export)

class ImagesetExchangeTest : public QObject {
    Q_OBJECT

private slots:
    // Sections in one line; some rows also pin the whole text to a file.
    void sections_data()
    {
        QTest::addColumn<Export>("row");

        Imageset odd = chars(Imageset::SCM);
        testvalues::putImage(odd, 1, bytes({1, 2, 3}));
        odd.images[0].bytes += bytes({9, 10});
        // Patterns 0, 2 and 6; slots 64 and 130 show patterns 0 and 2 on backgrounds 1 and 2.
        const Imageset ecm = makeSet(Imageset::Charset, Imageset::ECM, {{0, 1}, {64, 2}, {130, 3}},
                                     {{0, 0x11}, {2, 0x22}, {6, 0x66}});
        const ExportDataOptions all = with(Data | Colors | Selection | Empty);
        const ExportDataOptions decimal = with(Data | Colors | Comments,
                                               testvalues::dialect("", ".byte", 2, 4, ", ", "//"));
        const auto row = [](const char* name, const Export& e) { QTest::newRow(name) << e; };
        row("hi-res characters with empty slots", {chars(Imageset::SCM), range(0, 3), with(Data | Colors | Empty),
            "c_data: 01 02 03 04 05 06 07 08 00*8 aa*8 | c_bckgndColors: 09 | c_colors: 03 0f 0c"});
        row("multicolour characters in list order", {chars(Imageset::MCM), {2, 1, 0}, with(Data | Colors),
            "c_data: aa*8 01 02 03 04 05 06 07 08 | c_bckgndColors: 09 04 05 | c_colors: 0c 03"});
        row("images cut or filled to their size",
            {odd, range(0, 2), with(Data), "c_data: 01 02 03 04 05 06 07 08 01 02 03 00*5"});
        row("each pattern once, the quarter in the colour", {ecm, {0, 64, 1, 130, 200, 5}, all,
            "c_data: 11*8 00*8 22*8 00*16 | c_bckgndColors: 09 04 05 0d | c_colors: 01 12 0f 23 3f 0f | "
            "c_selection: 00 00 40 00 01 00 82 00 c8 00 05 00"});
        row("patterns without empty ones", {ecm, {130, 5, 2, 64}, with(Data | Colors | Selection),
            "c_data: 22*8 11*8 | c_bckgndColors: 09 04 05 0d | c_colors: 23 0f 12 | c_selection: 82 00 02 00 40 00"});
        row("sprites take 64 bytes", {sprites(), {0, 1, 2, 300}, all,
            "s_data: aa*63 00*65 bb*63 00*65 | s_bckgndColors: 00 0b 0c | s_colors: 07 0f 0a 0f | "
            "s_isMulti: 00 00 01 00 | s_selection: 00 00 01 00 02 00 2c 01"});
        row("sprites without empty slots, in list order", {sprites(), {2, 0, 1}, with(Data | Colors | Selection),
            "s_data: bb*63 00 aa*63 00 | s_bckgndColors: 00 0b 0c | s_colors: 0a 07 | s_isMulti: 01 00 | "
            "s_selection: 02 00 00 00"});
        row("multicolour blocks: screen colours of every slot", {blocks(Imageset::MCM), range(0, 3), decimal,
            "b_data: cc*8 dd*8 | b_bckgndColor: 0b | b_screenColors: 45 89 45 | b_colors: 03 0c",
            "imageset-decimal.asm"});
        row("hi-res blocks: screen colour is the background",
            {blocks(Imageset::SCM), range(0, 3), with(Colors), "b_screenColors: 0b 07 0b | b_colors: 03 0c"});
        row("coded characters with comments",
            {chars(Imageset::SCM), range(0, 3), with(Data | Colors | Selection | Empty | Comments | Compress),
             "(comment) | c_data: 81 82 83 84 85 86 87 88 08 00 08 aa | c_bckgndColors: 09 | c_colors: 83 8f 8c | "
             "c_selection: 00 00 01 00 02 00", "imageset-coded.asm"});
        Imageset stray = blocks(Imageset::MCM);
        stray.blockColors[1] = {7, 1, 18}; // read from a file: a palette number is the low four bits
        stray.colors[0] = 0x7FFFFFFF;
        row("block colours from a file as palette numbers", {stray, range(0, 2), with(Colors),
            "b_bckgndColor: 0f | b_screenColors: 45 12 | b_colors: 03 0c"});
        row("coded blocks", {blocks(Imageset::MCM), range(0, 3), with(Colors | Compress),
            "b_bckgndColor: 0b | b_screenColors: c5 01 89 c5 | b_colors: 83 8c"});
        row("coded sprites, flags and slots plain", {sprites(), range(0, 3), with(Data | Colors | Selection | Compress),
            "s_data: 3f aa 80 3f bb 80 | s_bckgndColors: 00 0b 0c | s_colors: 87 8a | s_isMulti: 00 01 | "
            "s_selection: 00 00 02 00"});
    }

    void sections()
    {
        QFETCH(Export, row);
        QCOMPARE(testvalues::describe(ImagesetExchange::sections(row.set, row.slotList, row.options)), row.expected);
        if (!row.file.isEmpty())
            QCOMPARE(ImagesetExchange::text(row.set, row.slotList, row.options),
                     testvalues::dataFile("exchange/" + row.file));
    }

    // The slots written when nothing is selected (all 256 characters, the 64
    // patterns of extended background colour mode, up to the last sprite or
    // block), read back with CRLF line ends into an empty set of the kind,
    // which then exports the same text and gives the slot list.
    void roundTrip_data()
    {
        QTest::addColumn<Imageset>("set");
        QTest::addColumn<ExportDataOptions>("options");
        QTest::addColumn<int>("slotCount");

        const auto hiRes = [](Imageset set) { set.mode = Imageset::SCM; return set; };
        const int all = Data | Colors | Selection | Empty;
        const ExportDataOptions dec = with(all, testvalues::dialect("", ".byte", 3, 7, " "));
        const ExportDataOptions ox = with(all | Comments, testvalues::dialect("0x", "!byte", 0, 1));
        const ExportDataOptions tabs = with(all | Comments, testvalues::dialect("$", "!byte", 0, 2048, "\t", "//"));
        QTest::newRow("hi-res characters") << hiRes(filetest::richCharset()) << with(all) << 256;
        QTest::newRow("multicolour characters, 0x") << filetest::plainCharset() << ox << 256;
        QTest::newRow("extended background colours, decimal") << filetest::richCharset() << dec << 64;
        QTest::newRow("sprites, tabs") << filetest::richSpriteset() << tabs << 400;
        QTest::newRow("multicolour blocks, decimal") << filetest::richBlockset() << dec << 71;
        QTest::newRow("hi-res blocks, 0x") << hiRes(filetest::richBlockset()) << ox << 71;
        QTest::newRow("no blocks") << makeSet(Imageset::Blockset, Imageset::SCM, {}, {}) << with(all) << 0;
    }

    void roundTrip()
    {
        QFETCH(Imageset, set);
        QFETCH(ExportDataOptions, options);
        QFETCH(int, slotCount);

        const QList<int> slotList = ImagesetExchange::allSlots(set);
        QCOMPARE(slotList, range(0, slotCount));
        const QString text = ImagesetExchange::text(set, slotList, options);
        Imageset target(set.id, set.name, set.imageWidth, set.imageHeight, set.type);
        target.mode = set.mode;
        target.selectorGridWidth = set.selectorGridWidth;
        target.selectorGridHeight = set.selectorGridHeight;
        bool given = false;
        const ImagesetImport import = ImagesetExchange::parseImport(QString(text).replace("\n", "\r\n"));
        QCOMPARE(ImagesetExchange::applyImport(target, slotList, import, &given), slotList);
        QCOMPARE(given, slotCount > 0); // an empty slot list reads back as none
        QCOMPARE(ImagesetExchange::text(target, slotList, options), text);
    }

    // The numbers of each section, each cut to a byte.
    void parse_data() { datatable::addRows("exchange/imageset-parse.txt"); }

    void parse()
    {
        QFETCH(QStringList, fields);
        const QString text = QString(fields[0]).replace("\\n", "\n").replace("\\r", "\r").replace("\\t", "\t");
        const ImagesetImport i = ImagesetExchange::parseImport(text);
        QStringList sections;
        for (const QList<int>& numbers : {i.data, i.background, i.colors, i.selection, i.multiColor, i.screenColors}) {
            QStringList section;
            for (int number : numbers)
                section << QString::number(number);
            sections << section.join(' ');
        }
        QCOMPARE(sections.join("; ").trimmed(), fields[1]);
    }

    // Read numbers put into a set at the edges of the rules (whole sets are
    // the round trips).
    void import_data() { datatable::addRows("exchange/imageset-import.txt"); }

    void import()
    {
        QFETCH(QStringList, fields);
        Imageset sprites = makeSet(Imageset::Spriteset, Imageset::SCM, {}, {});
        sprites.multiColorSprites = {1, 2};
        const QMap<QString, Imageset> sets {{"chars", makeSet(Imageset::Charset, Imageset::SCM, {}, {{3, 0xEE}})},
                                            {"ecm", makeSet(Imageset::Charset, Imageset::ECM, {}, {})},
                                            {"sprites", sprites},
                                            {"blocks", makeSet(Imageset::Blockset, Imageset::MCM, {}, {})},
                                            {"mcm blocks", blocks(Imageset::MCM)}};
        Imageset set = sets.value(fields[0]);
        QList<int> targets;
        for (const QString& target : fields[1].split(' ', Qt::SkipEmptyParts))
            targets << target.toInt();
        const ImagesetImport import = ImagesetExchange::parseImport(fields[2]);
        const bool allowed = ImagesetExchange::importTargetsAllowed(set, targets);
        bool given = false;
        const QList<int> selection = ImagesetExchange::applyImport(set, targets, import, &given);
        QCOMPARE(state(set, selection, given, import.changesSet()) + (allowed ? "" : " refused"), fields[3]);
    }
};

QTEST_GUILESS_MAIN(ImagesetExchangeTest)
#include "tst_imagesetexchange.moc"
