// Tile sets as assembler text and back: the reference, count and size
// sections, cell indexes one or two bytes wide, cell colours, the checks of
// an import and filling target tiles from it.

#include "exchange/exportoptions.h"
#include "exchange/textformat.h"
#include "exchange/tilesetexchange.h"
#include "model/tileset.h"

#include <QtTest>

Q_DECLARE_METATYPE(Tileset)
Q_DECLARE_METATYPE(ExportDataOptions)

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

QList<int> range(int first, int count)
{
    QList<int> result;
    for (int i = 0; i < count; ++i)
        result.append(first + i);
    return result;
}

Tileset tileset(const QString& name, int width, int height)
{
    Tileset set;
    set.id = 4;
    set.name = name;
    set.imagesetId = 7;
    set.imagesetIsCharset = true;
    set.tileWidth = width;
    set.tileHeight = height;
    return set;
}

Tile tile(int width, int height, const QVector<int>& indexes, const QVector<int>& colors)
{
    Tile t(width, height);
    t.indexes = indexes;
    t.colors = colors;
    return t;
}

ExportDataOptions flags(bool data, bool colors)
{
    ExportDataOptions options = ExportDataOptions::forTileset();
    options.includeData = data;
    options.includeColors = colors;
    return options;
}

QStringList labelsOf(const QList<ExportSection>& sections)
{
    QStringList labels;
    for (const ExportSection& s : sections)
        labels.append(s.label);
    return labels;
}

QByteArray sectionBytes(const QList<ExportSection>& sections, const QString& label)
{
    for (const ExportSection& s : sections) {
        if (s.label == label)
            return s.bytes;
    }
    return QByteArray("<missing>");
}

// A 2 x 1 tile set on character set 7: tile 0 holds 1, 2 with colours 3 and
// empty; tile 2 holds 5, 6 with colours 14, 0; tile 1 is missing.
Tileset fixture()
{
    Tileset set = tileset(QStringLiteral("Level tiles"), 2, 1);
    set.tiles.insert(0, tile(2, 1, {1, 2}, {3, -1}));
    set.tiles.insert(2, tile(2, 1, {5, 6}, {14, 0}));
    return set;
}

}

class TilesetExchangeTest : public QObject {
    Q_OBJECT

private slots:
    void allTiles();
    void sectionsByFlags_data();
    void sectionsByFlags();
    void reference_data();
    void reference();
    void countAndSize_data();
    void countAndSize();
    void dataAndColors_data();
    void dataAndColors();
    void exportText();
    void exportTextWide();

    void parse_data();
    void parse();
    void nameWithDataRoutesColorsIntoData();
    void referenceOfImport_data();
    void referenceOfImport();
    void check_data();
    void check();

    void applyNarrow();
    void applyWide();
    void applyWideOddCount();
    void applyFillsOnlyWholeTiles();
    void applyLimitedByCountAndTargets();
    void applyColorsOnlyKeepsIndexes();
    void roundTrip_data();
    void roundTrip();
};

void TilesetExchangeTest::allTiles()
{
    Tileset set = tileset(QStringLiteral("t"), 1, 1);
    set.gridSizeX = 3;
    set.gridSizeY = 2;
    QCOMPARE(TilesetExchange::allTiles(set), range(0, 6));
    set.gridSizeX = 1;
    set.gridSizeY = 1;
    QCOMPARE(TilesetExchange::allTiles(set), QList<int> {0});
}

void TilesetExchangeTest::sectionsByFlags_data()
{
    QTest::addColumn<bool>("data");
    QTest::addColumn<bool>("colors");
    QTest::addColumn<QStringList>("labels");

    const QString l = QStringLiteral("Level_tiles");
    QTest::newRow("both off: reference only") << false << false << QStringList {l + "_imageset_id"};
    QTest::newRow("data only") << true << false
                               << QStringList {l + "_imageset_id", l + "_num_tiles", l + "_size", l + "_is_16bit",
                                               l + "_data"};
    QTest::newRow("colours only") << false << true
                                  << QStringList {l + "_imageset_id", l + "_num_tiles", l + "_size", l + "_colors"};
    QTest::newRow("both") << true << true
                          << QStringList {l + "_imageset_id", l + "_num_tiles", l + "_size", l + "_is_16bit",
                                          l + "_data", l + "_colors"};
}

void TilesetExchangeTest::sectionsByFlags()
{
    QFETCH(bool, data);
    QFETCH(bool, colors);
    QFETCH(QStringList, labels);

    const QList<ExportSection> sections = TilesetExchange::sections(fixture(), range(0, 3), flags(data, colors));
    QCOMPARE(labelsOf(sections), labels);
    for (const ExportSection& s : sections)
        QVERIFY(s.header.isEmpty());
    if (!data && !colors)
        QCOMPARE(TilesetExchange::text(fixture(), range(0, 3), flags(data, colors)),
                 QStringLiteral("Level_tiles_imageset_id:\n!byte $07, $01\n\n"));
}

void TilesetExchangeTest::reference_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("charset");
    QTest::addColumn<QByteArray>("reference");

    QTest::newRow("character set 7") << 7 << true << bytes({7, 1});
    QTest::newRow("block set 7") << 7 << false << bytes({7, 0});
    QTest::newRow("identifier above 255") << 0x1234 << true << bytes({0x34, 1});
    QTest::newRow("none chosen") << -1 << true << bytes({255, 1});
}

void TilesetExchangeTest::reference()
{
    QFETCH(int, id);
    QFETCH(bool, charset);
    QFETCH(QByteArray, reference);

    Tileset set = fixture();
    set.imagesetId = id;
    set.imagesetIsCharset = charset;
    QCOMPARE(sectionBytes(TilesetExchange::sections(set, {0}, flags(false, false)),
                          QStringLiteral("Level_tiles_imageset_id")),
             reference);
}

void TilesetExchangeTest::countAndSize_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QByteArray>("countBytes");
    QTest::addColumn<QByteArray>("sizeBytes");

    QTest::newRow("3 tiles of 2 x 3") << 3 << 2 << 3 << bytes({3, 0}) << bytes({2, 3});
    QTest::newRow("300 tiles") << 300 << 1 << 1 << bytes({44, 1}) << bytes({1, 1});
    QTest::newRow("no tiles listed") << 0 << 4 << 4 << bytes({0, 0}) << bytes({4, 4});
    QTest::newRow("256 wide keeps the low byte") << 1 << 256 << 1 << bytes({1, 0}) << bytes({0, 1});
}

void TilesetExchangeTest::countAndSize()
{
    QFETCH(int, count);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QByteArray, countBytes);
    QFETCH(QByteArray, sizeBytes);

    const Tileset set = tileset(QStringLiteral("t"), width, height);
    // The count is that of the list; the tiles need not exist.
    const QList<ExportSection> sections = TilesetExchange::sections(set, range(0, count), flags(false, true));
    QCOMPARE(sectionBytes(sections, QStringLiteral("t_num_tiles")), countBytes);
    QCOMPARE(sectionBytes(sections, QStringLiteral("t_size")), sizeBytes);
    QCOMPARE(sectionBytes(sections, QStringLiteral("t_colors")), QByteArray(count * width * height, char(255)));
}

void TilesetExchangeTest::dataAndColors_data()
{
    QTest::addColumn<Tileset>("set");
    QTest::addColumn<QList<int>>("tiles");
    QTest::addColumn<QByteArray>("wide");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("colors");

    const Tileset set = fixture();
    QTest::newRow("narrow, missing tile as zeros and 255")
        << set << range(0, 3) << bytes({0}) << bytes({1, 2, 0, 0, 5, 6}) << bytes({3, 255, 255, 255, 14, 0});
    QTest::newRow("list order") << set << QList<int> {2, 0} << bytes({0}) << bytes({5, 6, 1, 2})
                                << bytes({14, 0, 3, 255});
    QTest::newRow("tile listed twice") << set << QList<int> {0, 0} << bytes({0}) << bytes({1, 2, 1, 2})
                                       << bytes({3, 255, 3, 255});

    // One index of 300 makes every cell two bytes, also those of the other
    // tiles and of the missing one.
    Tileset wide = set;
    wide.tiles[2].indexes[1] = 300;
    QTest::newRow("index 300: all 16-bit") << wide << range(0, 3) << bytes({1})
                                           << bytes({1, 0, 2, 0, 0, 0, 0, 0, 5, 0, 0x2C, 1})
                                           << bytes({3, 255, 255, 255, 14, 0});
    QTest::newRow("wide tile not listed: 8-bit") << wide << range(0, 2) << bytes({0}) << bytes({1, 2, 0, 0})
                                                 << bytes({3, 255, 255, 255});
    Tileset edge = set;
    edge.tiles[0].indexes[0] = 255;
    QTest::newRow("index 255 stays 8-bit") << edge << range(0, 1) << bytes({0}) << bytes({255, 2})
                                           << bytes({3, 255});
    edge.tiles[0].indexes[0] = 256;
    QTest::newRow("index 256 is 16-bit") << edge << range(0, 1) << bytes({1}) << bytes({0, 1, 2, 0})
                                         << bytes({3, 255});
    Tileset big = tileset(QStringLiteral("Level tiles"), 1, 2);
    big.tiles.insert(0, tile(1, 2, {0xFFFF, 4096}, {15, -1}));
    QTest::newRow("largest indexes, 1 x 2") << big << range(0, 2) << bytes({1}) << bytes({255, 255, 0, 16, 0, 0, 0, 0})
                                            << bytes({15, 255, 255, 255});
}

void TilesetExchangeTest::dataAndColors()
{
    QFETCH(Tileset, set);
    QFETCH(QList<int>, tiles);
    QFETCH(QByteArray, wide);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, colors);

    const QList<ExportSection> sections = TilesetExchange::sections(set, tiles, flags(true, true));
    QCOMPARE(sectionBytes(sections, QStringLiteral("Level_tiles_is_16bit")), wide);
    QCOMPARE(TilesetExchange::wordIndexes(set, tiles), wide.at(0) != 0);
    QCOMPARE(sectionBytes(sections, QStringLiteral("Level_tiles_data")), data);
    QCOMPARE(sectionBytes(sections, QStringLiteral("Level_tiles_colors")), colors);
}

void TilesetExchangeTest::exportText()
{
    const QString expected = QStringLiteral(
        "Level_tiles_imageset_id:\n"
        "!byte $07, $01\n"
        "\n"
        "Level_tiles_num_tiles:\n"
        "!byte $02, $00\n"
        "\n"
        "Level_tiles_size:\n"
        "!byte $02, $01\n"
        "\n"
        "Level_tiles_is_16bit:\n"
        "!byte $00\n"
        "\n"
        "Level_tiles_data:\n"
        "!byte $01, $02, $00, $00\n"
        "\n"
        "Level_tiles_colors:\n"
        "!byte $03, $FF, $FF, $FF\n"
        "\n");
    QCOMPARE(TilesetExchange::text(fixture(), range(0, 2), flags(true, true)), expected);
}

void TilesetExchangeTest::exportTextWide()
{
    Tileset set = fixture();
    set.name = QStringLiteral("w");
    set.imagesetIsCharset = false;
    set.tiles[0].indexes[0] = 300;
    ExportDataOptions options = flags(true, false);
    options.base = ExportDataOptions::NumberBase::Dec;
    options.dataPrefix = QStringLiteral(".byte");
    options.dataPerLine = 4;
    const QString expected = QStringLiteral(
        "w_imageset_id:\n"
        ".byte 7, 0\n"
        "\n"
        "w_num_tiles:\n"
        ".byte 2, 0\n"
        "\n"
        "w_size:\n"
        ".byte 2, 1\n"
        "\n"
        "w_is_16bit:\n"
        ".byte 1\n"
        "\n"
        "w_data:\n"
        ".byte 44, 1, 2, 0\n"
        ".byte 0, 0, 0, 0\n"
        "\n");
    QCOMPARE(TilesetExchange::text(set, range(0, 2), options), expected);
}

void TilesetExchangeTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("reference");
    QTest::addColumn<QList<int>>("count");
    QTest::addColumn<QList<int>>("size");
    QTest::addColumn<QList<int>>("wide");
    QTest::addColumn<QList<int>>("data");
    QTest::addColumn<QList<int>>("colors");

    using L = QList<int>;
    QTest::newRow("every section") << "t_imageset_id:\n!byte $07, $01\n\nt_num_tiles:\n!byte $02, $00\n\n"
                                      "t_size:\n!byte $02, $01\n\nt_is_16bit:\n!byte $00\n\n"
                                      "t_data:\n!byte $01, $02, $00, $00\n\nt_colors:\n!byte $03, $FF, $FF, $FF\n\n"
                                   << L {7, 1} << L {2, 0} << L {2, 1} << L {0} << L {1, 2, 0, 0}
                                   << L {3, 255, 255, 255};
    // Numbers are kept whole, not cut to bytes.
    QTest::newRow("values kept whole") << "t_data: !byte 300, $1FF, 0x10000" << L() << L() << L() << L()
                                       << L {300, 511, 65536} << L();
    QTest::newRow("keys ignore case, in order")
        << "T_IMAGESET_ID: .byte 1 T_Num_Tiles: .byte 2 T_SIZE: .byte 3 T_IS_16BIT: .byte 4 T_DATA: .byte 5 "
           "T_COLORS: .byte 6"
        << L {1} << L {2} << L {3} << L {4} << L {5} << L {6};
    // "size" is tested before "data" and "colors".
    QTest::newRow("size key first") << "my_size_data: !byte 1 size_colors: !byte 2" << L() << L() << L {1, 2} << L()
                                    << L() << L();
    QTest::newRow("tabs and carriage returns") << "t_data:\r\n\t!byte\t1,\t2\r\nt_colors:\r\n!byte 3\r\n" << L() << L()
                                               << L() << L() << L {1, 2} << L {3};
    QTest::newRow("comment resets the section") << "t_data: ; x\n!byte 1" << L() << L() << L() << L() << L() << L();
}

void TilesetExchangeTest::parse()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, reference);
    QFETCH(QList<int>, count);
    QFETCH(QList<int>, size);
    QFETCH(QList<int>, wide);
    QFETCH(QList<int>, data);
    QFETCH(QList<int>, colors);

    const TilesetImport import = TilesetExchange::parseImport(text);
    QCOMPARE(import.reference, reference);
    QCOMPARE(import.count, count);
    QCOMPARE(import.size, size);
    QCOMPARE(import.wide, wide);
    QCOMPARE(import.data, data);
    QCOMPARE(import.colors, colors);
}

void TilesetExchangeTest::nameWithDataRoutesColorsIntoData()
{
    Tileset set = fixture();
    set.name = QStringLiteral("my data");
    const TilesetImport import =
        TilesetExchange::parseImport(TilesetExchange::text(set, range(0, 2), flags(true, true)));
    // The colours label "my_data_colors" contains "data", tested first.
    QCOMPARE(import.data, (QList<int> {1, 2, 0, 0, 3, 255, 255, 255}));
    QVERIFY(import.colors.isEmpty());
    QCOMPARE(import.reference, (QList<int> {7, 1}));
    QCOMPARE(import.count, (QList<int> {2, 0}));
}

void TilesetExchangeTest::referenceOfImport_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("has");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("charset");

    QTest::newRow("character set") << "x_imageset_id: !byte 5, 1" << true << 5 << true;
    QTest::newRow("block set") << "x_imageset_id: !byte 5, 0" << true << 5 << false;
    QTest::newRow("any non-zero flag") << "x_imageset_id: !byte 5, 2" << true << 5 << true;
    // A reference with a single value names a character set.
    QTest::newRow("single value") << "x_imageset_id: !byte 9" << true << 9 << true;
    QTest::newRow("none") << "x_data: !byte 9" << false << 0 << true;
}

void TilesetExchangeTest::referenceOfImport()
{
    QFETCH(QString, text);
    QFETCH(bool, has);
    QFETCH(int, id);
    QFETCH(bool, charset);

    const TilesetImport import = TilesetExchange::parseImport(text);
    QCOMPARE(import.hasReference(), has);
    if (has) {
        QCOMPARE(import.referenceId(), id);
        QCOMPARE(import.referenceIsCharset(), charset);
    }
}

void TilesetExchangeTest::check_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("message");

    const QString count = QStringLiteral("t_num_tiles: !byte 1, 0 ");
    const QString size = QStringLiteral("t_size: !byte 1, 1 ");
    const QString wide = QStringLiteral("t_is_16bit: !byte 0 ");
    const QString data = QStringLiteral("t_data: !byte 5 ");
    const QString colors = QStringLiteral("t_colors: !byte 6 ");
    const QString missing = QStringLiteral("Missing required info!");

    QTest::newRow("complete with data") << count + size + wide + data << int(TilesetImport::None) << QString();
    QTest::newRow("complete with colours") << count + size + wide + colors << int(TilesetImport::None) << QString();
    QTest::newRow("no count") << size + wide + data << int(TilesetImport::MissingRequiredInfo) << missing;
    QTest::newRow("no size") << count + wide + data << int(TilesetImport::MissingRequiredInfo) << missing;
    QTest::newRow("no wide flag") << count + size + data << int(TilesetImport::MissingRequiredInfo) << missing;
    QTest::newRow("neither data nor colours") << count + size + wide << int(TilesetImport::MissingRequiredInfo)
                                              << missing;
    QTest::newRow("empty text") << QString() << int(TilesetImport::MissingRequiredInfo) << missing;
    QTest::newRow("missing info before nothing") << "t_num_tiles: !byte 0, 0 " + size + data
                                                 << int(TilesetImport::MissingRequiredInfo) << missing;
    QTest::newRow("count 0") << "t_num_tiles: !byte 0, 0 " + size + wide + data
                             << int(TilesetImport::NothingToImport) << QStringLiteral("Nothing to import!");
    QTest::newRow("count of one value 0") << "t_num_tiles: !byte 0 " + size + wide + data
                                          << int(TilesetImport::NothingToImport) << QStringLiteral("Nothing to import!");
    QTest::newRow("count 256") << "t_num_tiles: !byte 0, 1 " + size + wide + data << int(TilesetImport::None)
                               << QString();
    QTest::newRow("nothing before size") << "t_num_tiles: !byte 0, 0 t_size: !byte 2, 3 " + wide + data
                                         << int(TilesetImport::NothingToImport) << QStringLiteral("Nothing to import!");
    QTest::newRow("size differs") << count + "t_size: !byte 2, 3 " + wide + data << int(TilesetImport::SizeDiffers)
                                  << QStringLiteral("Cannot import because the size (2x3) is different!");
    QTest::newRow("height differs") << count + "t_size: !byte 1, 12 " + wide + data
                                    << int(TilesetImport::SizeDiffers)
                                    << QStringLiteral("Cannot import because the size (1x12) is different!");
}

void TilesetExchangeTest::check()
{
    QFETCH(QString, text);
    QFETCH(int, problem);
    QFETCH(QString, message);

    const Tileset set = tileset(QStringLiteral("t"), 1, 1);
    const TilesetImport import = TilesetExchange::parseImport(text);
    const TilesetImport::Problem found = import.check(set);
    QCOMPARE(int(found), problem);
    QCOMPARE(import.message(found), message);
}

void TilesetExchangeTest::applyNarrow()
{
    Tileset set = tileset(QStringLiteral("t"), 2, 1);
    const TilesetImport import = TilesetExchange::parseImport(
        QStringLiteral("t_num_tiles: !byte 2, 0 t_size: !byte 2, 1 t_is_16bit: !byte 0 t_data: !byte 1, 2, 3, 4"));
    QCOMPARE(import.check(set), TilesetImport::None);
    TilesetExchange::applyImport(set, {4, 9}, import);
    QCOMPARE(set.tiles.keys(), (QList<int> {4, 9}));
    // New tiles keep their empty colours: no colours were imported.
    QCOMPARE(set.tiles.value(4), tile(2, 1, {1, 2}, {-1, -1}));
    QCOMPARE(set.tiles.value(9), tile(2, 1, {3, 4}, {-1, -1}));
}

void TilesetExchangeTest::applyWide()
{
    Tileset set = tileset(QStringLiteral("t"), 2, 1);
    TilesetImport import;
    import.count = {1, 0};
    import.size = {2, 1};
    import.wide = {1};
    import.data = {44, 1, 5, 0};
    TilesetExchange::applyImport(set, {0}, import);
    QCOMPARE(set.tiles.value(0).indexes, (QVector<int> {300, 5}));
}

void TilesetExchangeTest::applyWideOddCount()
{
    // A last value without its high byte is left out: three values make one
    // cell, too few for a tile of two cells.
    Tileset set = tileset(QStringLiteral("t"), 2, 1);
    set.tiles.insert(0, tile(2, 1, {8, 9}, {1, 1}));
    TilesetImport import;
    import.count = {1, 0};
    import.size = {2, 1};
    import.wide = {1};
    import.data = {44, 1, 5};
    TilesetExchange::applyImport(set, {0}, import);
    QCOMPARE(set.tiles.value(0).indexes, (QVector<int> {8, 9}));

    // With one-cell tiles the pair fills the first tile; the second target is
    // created but has no whole value for itself.
    Tileset single = tileset(QStringLiteral("t"), 1, 1);
    import.count = {2, 0};
    import.size = {1, 1};
    TilesetExchange::applyImport(single, {0, 1}, import);
    QCOMPARE(single.tiles.value(0).indexes, QVector<int> {300});
    QVERIFY(single.tiles.contains(1));
    QCOMPARE(single.tiles.value(1), single.newTile());
}

void TilesetExchangeTest::applyFillsOnlyWholeTiles()
{
    Tileset set = tileset(QStringLiteral("t"), 2, 2);
    for (int t = 0; t < 3; ++t)
        set.tiles.insert(t, tile(2, 2, {9, 9, 9, 9}, {1, 2, 3, 4}));
    TilesetImport import;
    import.count = {3, 0};
    import.size = {2, 2};
    import.wide = {0};
    import.data = range(20, 10); // two whole tiles and half of a third
    TilesetExchange::applyImport(set, range(0, 3), import);
    QCOMPARE(set.tiles.value(0).indexes, (QVector<int> {20, 21, 22, 23}));
    QCOMPARE(set.tiles.value(1).indexes, (QVector<int> {24, 25, 26, 27}));
    QCOMPARE(set.tiles.value(2).indexes, (QVector<int> {9, 9, 9, 9}));
    for (int t = 0; t < 3; ++t)
        QCOMPARE(set.tiles.value(t).colors, (QVector<int> {1, 2, 3, 4}));
}

void TilesetExchangeTest::applyLimitedByCountAndTargets()
{
    TilesetImport import;
    import.size = {1, 1};
    import.wide = {0};
    import.data = {1, 2, 3};

    // Count 1: only the first target, although data for three is there.
    Tileset byCount = tileset(QStringLiteral("t"), 1, 1);
    import.count = {1, 0};
    TilesetExchange::applyImport(byCount, range(0, 3), import);
    QCOMPARE(byCount.tiles.keys(), QList<int> {0});
    QCOMPARE(byCount.tiles.value(0).indexes, QVector<int> {1});

    // Count 3 but one target.
    Tileset byTargets = tileset(QStringLiteral("t"), 1, 1);
    import.count = {3, 0};
    TilesetExchange::applyImport(byTargets, {6}, import);
    QCOMPARE(byTargets.tiles.keys(), QList<int> {6});
    QCOMPARE(byTargets.tiles.value(6).indexes, QVector<int> {1});
}

void TilesetExchangeTest::applyColorsOnlyKeepsIndexes()
{
    Tileset set = tileset(QStringLiteral("t"), 2, 1);
    set.tiles.insert(0, tile(2, 1, {8, 9}, {1, 1}));
    set.tiles.insert(1, tile(2, 1, {10, 11}, {-1, 2}));
    const TilesetImport import = TilesetExchange::parseImport(QStringLiteral(
        "t_num_tiles:\n!byte $02, $00\nt_size:\n!byte $02, $01\nt_is_16bit:\n!byte $00\n"
        "t_colors:\n!byte $05, $FF, $FF, $0F\n"));
    QCOMPARE(import.check(set), TilesetImport::None);
    TilesetExchange::applyImport(set, {0, 1}, import);
    // 255 is an empty cell.
    QCOMPARE(set.tiles.value(0), tile(2, 1, {8, 9}, {5, -1}));
    QCOMPARE(set.tiles.value(1), tile(2, 1, {10, 11}, {-1, 15}));
}

void TilesetExchangeTest::roundTrip_data()
{
    QTest::addColumn<Tileset>("set");
    QTest::addColumn<ExportDataOptions>("options");

    Tileset narrow = tileset(QStringLiteral("Forest"), 2, 2);
    narrow.tiles.insert(0, tile(2, 2, {1, 2, 3, 255}, {0, 15, -1, 7}));
    narrow.tiles.insert(1, tile(2, 2, {0, 0, 4, 4}, {-1, -1, -1, -1}));
    narrow.tiles.insert(2, tile(2, 2, {9, 8, 7, 6}, {1, 2, 3, 4}));

    Tileset wide = narrow;
    wide.name = QStringLiteral("Castle walls");
    wide.tiles[1].indexes = {300, 65535, 256, 0};

    ExportDataOptions hex = flags(true, true);
    ExportDataOptions dec = flags(true, true);
    dec.base = ExportDataOptions::NumberBase::Dec;
    dec.dataPrefix = QStringLiteral(".byte");
    dec.separator = QStringLiteral("\t");
    dec.dataPerLine = 3;
    dec.indentSpaces = 8;
    ExportDataOptions ox = flags(true, true);
    ox.hexPrefix = QStringLiteral("0x");
    ox.dataPerLine = 1;
    ox.separator = QStringLiteral(" ");

    QTest::newRow("narrow hex") << narrow << hex;
    QTest::newRow("narrow dec tabs") << narrow << dec;
    QTest::newRow("wide hex") << wide << hex;
    QTest::newRow("wide 0x") << wide << ox;
}

void TilesetExchangeTest::roundTrip()
{
    QFETCH(Tileset, set);
    QFETCH(ExportDataOptions, options);

    const QList<int> tiles = range(0, 3);
    const TilesetImport import = TilesetExchange::parseImport(TilesetExchange::text(set, tiles, options));
    QCOMPARE(import.referenceId(), set.imagesetId);
    QCOMPARE(import.referenceIsCharset(), set.imagesetIsCharset);

    Tileset target = tileset(set.name, set.tileWidth, set.tileHeight);
    QCOMPARE(import.check(target), TilesetImport::None);
    TilesetExchange::applyImport(target, tiles, import);
    QCOMPARE(target.tiles, set.tiles);
}

QTEST_GUILESS_MAIN(TilesetExchangeTest)
#include "tst_tilesetexchange.moc"
