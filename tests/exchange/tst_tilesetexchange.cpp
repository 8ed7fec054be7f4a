// Tile sets as exported data and what they take in memory: cell indexes of
// one byte or, when one exceeds 255, of two, cell colours with 255 for an
// empty cell; and the text read back, checked and put into tiles.

#include "exchange/exportsize.h"
#include "exchange/tilesetexchange.h"
#include "support/core/datatable.h"
#include "support/core/recordbytes.h"
#include "support/core/values.h"

#include <QtTest>

Q_DECLARE_METATYPE(Tileset)
Q_DECLARE_METATYPE(ExportDataOptions)

using filetest::tile;
using testvalues::range;

namespace {
Tileset sized(int width, int height, QMap<int, Tile> tiles = {})
{
    Tileset set;
    set.tileWidth = width;
    set.tileHeight = height;
    set.tiles = tiles;
    return set;
}

// Tiles 0 (1, 2 coloured 3 and empty) and 2 (5, 6 coloured 14, 0) of 2 x 1
// cells on character set 7; tile 1 is missing.
Tileset fixture()
{
    Tileset set = sized(2, 1, {{0, tile(2, 1, {1, 2}, {3, -1})}, {2, tile(2, 1, {5, 6}, {14, 0})}});
    set.name = QStringLiteral("t");
    set.imagesetId = 7;
    return set;
}

// The listed tiles exported with data (flag 1) and colours (flag 2): the
// sections in one line and, when given, the file of the whole text.
struct Export { Tileset set; QList<int> tiles; int flags; QString expected, file; };
}

Q_DECLARE_METATYPE(Export)

class TilesetExchangeTest : public QObject {
    Q_OBJECT

private slots:
    void sections_data()
    {
        QTest::addColumn<Export>("row");

        const QString head = QStringLiteral("t_imageset_id: 07 01 | t_num_tiles: 03 00 | t_size: 02 01 | ");
        const QString two = "t_imageset_id: 07 01 | t_num_tiles: 02 00 | t_size: 02 01 | t_is_16bit: 00";
        const auto row = [](const char* name, const Export& e) { QTest::newRow(name) << e; };
        row("reference only", {fixture(), range(0, 3), 0, "t_imageset_id: 07 01"});
        row("a missing tile as zeros",
            {fixture(), range(0, 3), 1, head + "t_is_16bit: 00 | t_data: 01 02 00 00 05 06"});
        row("empty and missing as 255", {fixture(), range(0, 3), 2, head + "t_colors: 03 ff ff ff 0e 00"});
        row("list order", {fixture(), {2, 0, 0}, 3,
                           head + "t_is_16bit: 00 | t_data: 05 06 01 02 01 02 | t_colors: 0e 00 03 ff 03 ff"});
        row("the whole text",
            {fixture(), range(0, 2), 3, two + " | t_data: 01 02 00 00 | t_colors: 03 ff ff ff", "tileset.asm"});
        Tileset edge = fixture();
        edge.tiles[0].indexes[0] = 255;
        row("255 stays a byte", {edge, range(0, 3), 1, head + "t_is_16bit: 00 | t_data: ff 02 00 00 05 06"});
        edge.tiles[2].indexes[1] = 256;
        row("256 makes every cell a word",
            {edge, range(0, 3), 1, head + "t_is_16bit: 01 | t_data: ff 00 02 00*5 05 00 00 01"});
        row("a wide tile not listed", {edge, range(0, 2), 1, two + " | t_data: ff 02 00 00"});
        edge.tiles[2].colors[0] = 300;
        row("a colour from a file as a palette number",
            {edge, {2}, 2, "t_imageset_id: 07 01 | t_num_tiles: 01 00 | t_size: 02 01 | t_colors: 0c 00"});
        Tileset blocks = fixture();
        blocks.imagesetId = 0x1234;
        blocks.imagesetIsCharset = false;
        row("block set 0x1234, 300 tiles", {blocks, range(0, 300), 2,
            "t_imageset_id: 34 00 | t_num_tiles: 2c 01 | t_size: 02 01 | t_colors: 03 ff ff ff 0e 00 ff*594"});
    }

    void sections()
    {
        QFETCH(Export, row);
        // One value a line in the text.
        ExportDataOptions written = testvalues::dialect("$", "!byte", 0, 1);
        written.includeData = row.flags & 1;
        written.includeColors = row.flags & 2;
        QCOMPARE(testvalues::describe(TilesetExchange::sections(row.set, row.tiles, written)), row.expected);
        if (!row.file.isEmpty())
            QCOMPARE(TilesetExchange::text(row.set, row.tiles, written),
                     testvalues::dataFile("exchange/" + row.file));
    }

    // Allocated tiles, holes, range, index bits and bytes: every tile up to
    // the last one with a coloured cell takes its cells once or twice plus one.
    void statistics_data()
    {
        QTest::addColumn<Tileset>("set");
        QTest::addColumn<QString>("figures");

        const auto one = [](int index, int color) { return tile(1, 1, {index}, {color}); };
        const auto row = [](const char* name, const Tileset& set, const char* figures) {
            QTest::newRow(name) << set << QString(figures);
        };
        row("a large index in empty tiles only", sized(1, 1, {{0, one(300, -1)}}), "0 0 -1..-1 8 0");
        row("one tile after three holes", sized(2, 2, {{3, tile(2, 2, {1, 2, 3, 4}, {1, 1, 1, 1})}}), "1 3 3..3 8 32");
        row("empty and missing tiles inside, colour 0 counts",
            sized(1, 1, {{2, one(1, 1)}, {4, one(0, -1)}, {5, one(6, 0)}}), "2 4 2..5 8 12");
        row("256 in an empty cell of a used tile", sized(2, 1, {{0, tile(2, 1, {256, 1}, {-1, 5})}}), "1 0 0..0 16 6");
        row("a large index in an empty tile inside counts",
            sized(1, 1, {{0, one(1, 1)}, {1, one(400, -1)}, {2, one(2, 1)}}), "2 1 0..2 16 9");
        row("a large index after the last used tile does not",
            sized(1, 1, {{0, one(1, 1)}, {1, one(400, -1)}}), "1 0 0..0 8 2");
    }

    void statistics()
    {
        QFETCH(Tileset, set);
        QFETCH(QString, figures);
        const ExportSize::TilesetStatistics s = ExportSize::tilesetStatistics(set);
        QCOMPARE(QStringLiteral("%1 %2 %3..%4 %5 %6").arg(s.allocated).arg(s.holes).arg(s.firstIndex)
                     .arg(s.lastIndex).arg(s.sixteenBit ? 16 : 8).arg(s.memory), figures);
    }

    void roundTrip_data()
    {
        QTest::addColumn<Tileset>("set");
        QTest::addColumn<ExportDataOptions>("options");

        Tileset narrow = sized(2, 2, {{0, tile(2, 2, {1, 2, 3, 255}, {0, 15, -1, 7})},
                                      {1, tile(2, 2, {0, 0, 4, 4}, {-1, -1, -1, -1})},
                                      {2, tile(2, 2, {9, 8, 7, 6}, {1, 2, 3, 4})}});
        narrow.imagesetId = 9;
        narrow.gridSizeX = 3;
        Tileset wide = narrow;
        wide.imagesetIsCharset = false;
        wide.tiles[1].indexes = {300, 65535, 256, 0};
        ExportDataOptions decimal = testvalues::dialect("", ".byte", 8, 3, "\t");
        ExportDataOptions hex;
        hex.includeColors = decimal.includeColors = true;
        QTest::newRow("bytes, hex") << narrow << hex;
        QTest::newRow("words, decimal, tabs") << wide << decimal;
    }

    void roundTrip()
    {
        QFETCH(Tileset, set);
        QFETCH(ExportDataOptions, options);

        const QList<int> tiles = TilesetExchange::allTiles(set);
        const TilesetImport import = TilesetExchange::parseImport(TilesetExchange::text(set, tiles, options));
        QCOMPARE(import.referenceId(), set.imagesetId);
        QCOMPARE(import.referenceIsCharset(), set.imagesetIsCharset);
        Tileset target = sized(set.tileWidth, set.tileHeight);
        QCOMPARE(import.check(target), TilesetImport::None);
        TilesetExchange::applyImport(target, tiles, import);
        QCOMPARE(target.tiles, set.tiles);
    }

    // What an import finds wrong and the reference it names; the tiles it
    // then fills at the edges of the rules (whole sets are the round trips).
    void import_data() { datatable::addRows("exchange/tileset-import.txt"); }

    void import()
    {
        QFETCH(QStringList, fields);
        const Tile nine = tile(2, 2, {9, 9, 9, 9}, {1, 2, 3, 4});
        const QMap<QString, Tileset> sets {
            {"one", sized(1, 1)},
            {"pair", sized(2, 1, {{0, tile(2, 1, {8, 9}, {1, 1})}, {1, tile(2, 1, {10, 11}, {-1, 2})}})},
            {"nines", sized(2, 2, {{0, nine}, {1, nine}, {2, nine}})}};
        Tileset set = sets.value(fields[0]);
        QList<int> targets;
        for (const QString& target : fields[1].split(' ', Qt::SkipEmptyParts))
            targets << target.toInt();
        const TilesetImport import = TilesetExchange::parseImport(fields[2]);
        const TilesetImport::Problem found = import.check(set);
        const QString message = import.message(found);
        QCOMPARE(message.isEmpty(), found == TilesetImport::None);
        // The size message names the size in the text.
        const QStringList names {"none", "missing", "nothing", "size " + message.section('(', 1).section(')', 0, 0),
                                 "not bytes"};
        QString result = names.at(found);
        if (import.hasReference())
            result += QStringLiteral(", %1 set %2")
                          .arg(import.referenceIsCharset() ? "character" : "block").arg(import.referenceId());
        if (found == TilesetImport::None)
            TilesetExchange::applyImport(set, targets, import);
        QStringList tiles;
        for (auto it = set.tiles.cbegin(); it != set.tiles.cend(); ++it) {
            QStringList cells;
            for (int i = 0; i < it->indexes.size(); ++i)
                cells << QStringLiteral("%1/%2").arg(it->indexes.at(i)).arg(it->colors.at(i));
            tiles << QString::number(it.key()) + '=' + cells.join(',');
        }
        QCOMPARE(tiles.isEmpty() ? result : result + "; " + tiles.join(' '), fields[3]);
    }
};

QTEST_GUILESS_MAIN(TilesetExchangeTest)
#include "tst_tilesetexchange.moc"
