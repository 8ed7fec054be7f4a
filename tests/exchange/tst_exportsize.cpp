// Export figures of tile sets and screens: allocated tiles, holes, index
// width, flat and run-length coded memory.

#include "exchange/exportsize.h"
#include "exchange/rle.h"
#include "exchange/screenexport.h"
#include "model/screen.h"
#include "model/sourceref.h"
#include "model/tileset.h"

#include <QtTest>

namespace {

struct TileRow {
    int index = 0;
    QVector<int> indexes;
    QVector<int> colors;
};

struct CellRow {
    int x = 0;
    int y = 0;
    int value = 0;
};

constexpr int charsetRef = SourceRef::charsetBit | 1;
constexpr int blocksetRef = SourceRef::blocksetBit | 5;
constexpr int tilesetRef = SourceRef::tilesetBit | 2;

TileRow tile(int index, const QVector<int>& indexes, const QVector<int>& colors)
{
    return TileRow {index, indexes, colors};
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

QMap<CellPos, int> cellMap(const QList<CellRow>& cells)
{
    QMap<CellPos, int> map;
    for (const CellRow& cell : cells)
        map.insert(CellPos {cell.x, cell.y}, cell.value);
    return map;
}

// The index stream as exported: positions row by row (y outer, x inner),
// each cell's index or the empty value, one byte or two (low byte first).
QByteArray buildIndexStream(int width, int height, const QMap<CellPos, int>& cells, bool sixteenBit)
{
    QByteArray stream;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool used = cells.contains(CellPos {x, y});
            const int value = used ? cells.value(CellPos {x, y}) : (sixteenBit ? 65535 : 255);
            stream.append(char(value % 256));
            if (sixteenBit)
                stream.append(char(value / 256));
        }
    }
    return stream;
}

// The colour stream: one byte per position, row by row, 255 without colour.
QByteArray buildColorStream(int width, int height, const QMap<CellPos, int>& colors)
{
    QByteArray stream;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            stream.append(char(colors.contains(CellPos {x, y}) ? colors.value(CellPos {x, y}) : 255));
    }
    return stream;
}

} // namespace

Q_DECLARE_METATYPE(TileRow)
Q_DECLARE_METATYPE(CellRow)

class ExportSizeTest : public QObject {
    Q_OBJECT

private slots:
    // ---- tile sets ------------------------------------------------------------

    void tilesetStatistics_data()
    {
        QTest::addColumn<int>("tileWidth");
        QTest::addColumn<int>("tileHeight");
        QTest::addColumn<QList<TileRow>>("tiles");
        QTest::addColumn<int>("allocated");
        QTest::addColumn<int>("holes");
        QTest::addColumn<int>("firstIndex");
        QTest::addColumn<int>("lastIndex");
        QTest::addColumn<bool>("sixteenBit");
        QTest::addColumn<qint64>("memory");

        const QVector<int> empty4 {-1, -1, -1, -1};
        const QVector<int> zero4 {0, 0, 0, 0};

        QTest::newRow("no tiles") << 2 << 2 << QList<TileRow>() << 0 << 0 << -1 << -1 << false << qint64(0);
        QTest::newRow("only empty tiles")
            << 2 << 2 << QList<TileRow> {tile(0, zero4, empty4), tile(3, {1, 2, 3, 4}, empty4)} << 0 << 0 << -1
            << -1 << false << qint64(0);
        QTest::newRow("only empty tiles, large index")
            << 1 << 1 << QList<TileRow> {tile(0, {300}, {-1})} << 0 << 0 << -1 << -1 << false << qint64(0);
        QTest::newRow("one tile at 0") << 1 << 1 << QList<TileRow> {tile(0, {5}, {1})} << 1 << 0 << 0 << 0
                                       << false << qint64(1 * 1 * 1 * 2);
        QTest::newRow("one 2x2 tile at 3, three missing indexes")
            << 2 << 2 << QList<TileRow> {tile(3, {1, 2, 3, 4}, {1, 1, 1, 1})} << 1 << 3 << 3 << 3 << false
            << qint64(4 * 4 * 2);
        QTest::newRow("empty tile in between is a hole")
            << 2 << 1 << QList<TileRow> {tile(0, {1, 2}, {1, 1}), tile(1, {3, 4}, {-1, -1}), tile(2, {5, 6}, {2, 2})}
            << 2 << 1 << 0 << 2 << false << qint64(3 * 2 * 1 * 2);
        QTest::newRow("missing tile in between is a hole")
            << 2 << 1 << QList<TileRow> {tile(0, {1, 2}, {1, 1}), tile(2, {5, 6}, {2, 2})} << 2 << 1 << 0 << 2
            << false << qint64(3 * 2 * 1 * 2);
        QTest::newRow("one coloured cell makes the tile used")
            << 2 << 2 << QList<TileRow> {tile(0, zero4, {-1, -1, -1, 0})} << 1 << 0 << 0 << 0 << false
            << qint64(1 * 4 * 2);
        QTest::newRow("empty tiles after the last used one are no holes")
            << 1 << 1 << QList<TileRow> {tile(0, {1}, {1}), tile(5, {1}, {-1}), tile(9, {2}, {-1})} << 1 << 0 << 0
            << 0 << false << qint64(2);
        QTest::newRow("range starting later")
            << 3 << 2
            << QList<TileRow> {tile(2, {0, 1, 2, 3, 4, 5}, {1, 1, 1, 1, 1, 1}),
                                tile(4, {0, 0, 0, 0, 0, 0}, {-1, -1, -1, -1, -1, -1}),
                                tile(5, {6, 7, 8, 9, 10, 11}, {1, -1, -1, -1, -1, -1})}
            << 2 << 4 << 2 << 5 << false << qint64(6 * 6 * 2);
        QTest::newRow("wide tile with many holes")
            << 4 << 1 << QList<TileRow> {tile(10, {1, 1, 1, 1}, {3, 3, 3, 3})} << 1 << 10 << 10 << 10 << false
            << qint64(11 * 4 * 2);
        QTest::newRow("index 255 stays 8-bit") << 1 << 1 << QList<TileRow> {tile(0, {255}, {1})} << 1 << 0 << 0
                                               << 0 << false << qint64(2);
        QTest::newRow("index 256 needs 16 bits") << 1 << 1 << QList<TileRow> {tile(0, {256}, {1})} << 1 << 0 << 0
                                                 << 0 << true << qint64(3);
        QTest::newRow("16-bit 2x2 over three tiles")
            << 2 << 2
            << QList<TileRow> {tile(0, {1, 2, 3, 4}, {1, 1, 1, 1}), tile(1, {1, 1000, 3, 4}, {1, 1, 1, 1}),
                                tile(2, {1, 2, 3, 4}, {1, 1, 1, 1})}
            << 3 << 0 << 0 << 2 << true << qint64(3 * 4 * 3);
        QTest::newRow("large index in an empty cell of a used tile")
            << 2 << 1 << QList<TileRow> {tile(0, {300, 1}, {-1, 5})} << 1 << 0 << 0 << 0 << true << qint64(2 * 3);
        QTest::newRow("large index in an empty tile inside the range")
            << 1 << 1 << QList<TileRow> {tile(0, {1}, {1}), tile(1, {400}, {-1}), tile(2, {2}, {1})} << 2 << 1
            << 0 << 2 << true << qint64(3 * 3);
        QTest::newRow("large index after the last used tile does not count")
            << 1 << 1 << QList<TileRow> {tile(0, {1}, {1}), tile(1, {400}, {-1})} << 1 << 0 << 0 << 0 << false
            << qint64(2);
    }

    void tilesetStatistics()
    {
        QFETCH(int, tileWidth);
        QFETCH(int, tileHeight);
        QFETCH(QList<TileRow>, tiles);
        QFETCH(int, allocated);
        QFETCH(int, holes);
        QFETCH(int, firstIndex);
        QFETCH(int, lastIndex);
        QFETCH(bool, sixteenBit);
        QFETCH(qint64, memory);

        Tileset set;
        set.tileWidth = tileWidth;
        set.tileHeight = tileHeight;
        for (const TileRow& given : tiles) {
            QCOMPARE(given.indexes.size(), tileWidth * tileHeight);
            Tile t(tileWidth, tileHeight);
            t.indexes = given.indexes;
            t.colors = given.colors;
            set.tiles.insert(given.index, t);
        }

        const ExportSize::TilesetStatistics stats = ExportSize::tilesetStatistics(set);
        QCOMPARE(stats.allocated, allocated);
        QCOMPARE(stats.holes, holes);
        QCOMPARE(stats.firstIndex, firstIndex);
        QCOMPARE(stats.lastIndex, lastIndex);
        QCOMPARE(stats.sixteenBit, sixteenBit);
        QCOMPARE(stats.memory, memory);
        // Every tile from 0 to the last allocated one is either allocated or a hole.
        if (allocated > 0)
            QCOMPARE(stats.allocated + stats.holes, lastIndex + 1);
    }

    void isTileUsed_data()
    {
        QTest::addColumn<QVector<int>>("indexes");
        QTest::addColumn<QVector<int>>("colors");
        QTest::addColumn<bool>("used");

        QTest::newRow("no cells") << QVector<int>() << QVector<int>() << false;
        QTest::newRow("every cell empty") << QVector<int> {0, 0} << QVector<int> {-1, -1} << false;
        QTest::newRow("indexes alone do not count") << QVector<int> {7, 300} << QVector<int> {-1, -1} << false;
        QTest::newRow("colour 0 counts") << QVector<int> {0, 0} << QVector<int> {-1, 0} << true;
        QTest::newRow("every cell coloured") << QVector<int> {1, 2} << QVector<int> {5, 15} << true;
    }

    void isTileUsed()
    {
        QFETCH(QVector<int>, indexes);
        QFETCH(QVector<int>, colors);
        QFETCH(bool, used);

        Tile tile(indexes.size(), 1);
        tile.indexes = indexes;
        tile.colors = colors;
        QCOMPARE(ExportSize::isTileUsed(tile), used);
    }

    void screenStatistics_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("sourceRef");
        QTest::addColumn<QList<CellRow>>("cells");
        QTest::addColumn<QList<CellRow>>("colors");
        QTest::addColumn<qint64>("emptyCells");
        QTest::addColumn<bool>("hasRange");
        QTest::addColumn<int>("minIndex");
        QTest::addColumn<int>("maxIndex");
        QTest::addColumn<bool>("sixteenBit");
        QTest::addColumn<qint64>("flatMemory");
        QTest::addColumn<QByteArray>("indexStream"); // empty: built from the cells
        QTest::addColumn<QByteArray>("colorStream"); // empty: built from the colours
        QTest::addColumn<int>("rleMemory");          // -1: not worked out by hand

        using Cells = QList<CellRow>;

        QTest::newRow("3x2 characters")
            << 3 << 2 << charsetRef
            << Cells {{0, 0, 1}, {1, 0, 1}, {2, 0, 2}, {0, 1, 2}, {1, 1, 2}, {2, 1, 2}} << Cells() << qint64(0) << true
            << 1 << 2 << false << qint64(6 * 2) << bytes({1, 1, 2, 2, 2, 2}) << bytes({255, 255, 255, 255, 255, 255})
            << (4 + 2);
        QTest::newRow("empty cells take 255, colours of empty positions count")
            << 3 << 1 << charsetRef << Cells {{1, 0, 7}} << Cells {{1, 0, 3}, {2, 0, 4}} << qint64(2) << true << 7
            << 7 << false << qint64(3 * 2) << bytes({255, 7, 255}) << bytes({255, 3, 4}) << (5 + 4);
        QTest::newRow("largest 255 with an empty cell needs 16 bits")
            << 2 << 1 << charsetRef << Cells {{0, 0, 255}} << Cells() << qint64(1) << true << 255 << 255 << true
            << qint64(2 * 3) << bytes({0xFF, 0x00, 0xFF, 0xFF}) << bytes({255, 255}) << (6 + 2);
        QTest::newRow("largest 255 without empty cells stays 8-bit")
            << 2 << 1 << charsetRef << Cells {{0, 0, 255}, {1, 0, 0}} << Cells() << qint64(0) << true << 0 << 255
            << false << qint64(2 * 2) << bytes({255, 0}) << bytes({255, 255}) << (3 + 2);
        QTest::newRow("largest 254 with an empty cell stays 8-bit")
            << 2 << 1 << charsetRef << Cells {{0, 0, 254}} << Cells() << qint64(1) << true << 254 << 254 << false
            << qint64(2 * 2) << bytes({254, 255}) << bytes({255, 255}) << (4 + 2);
        QTest::newRow("256 without empty cells needs 16 bits")
            << 1 << 2 << charsetRef << Cells {{0, 0, 256}, {0, 1, 3}} << Cells() << qint64(0) << true << 3 << 256
            << true << qint64(2 * 3) << bytes({0x00, 0x01, 0x03, 0x00}) << bytes({255, 255}) << (4 + 2);
        QTest::newRow("16-bit between empty cells")
            << 1 << 3 << charsetRef << Cells {{0, 1, 1000}} << Cells() << qint64(2) << true << 1000 << 1000 << true
            << qint64(3 * 3) << bytes({0xFF, 0xFF, 0xE8, 0x03, 0xFF, 0xFF}) << bytes({255, 255, 255}) << (10 + 2);
        QTest::newRow("tile screen counts no colour bytes")
            << 2 << 2 << tilesetRef << Cells {{0, 0, 3}, {1, 0, 3}, {0, 1, 3}, {1, 1, 3}} << Cells {{0, 0, 5}}
            << qint64(0) << true << 3 << 3 << false << qint64(4 * 1) << bytes({3, 3, 3, 3}) << QByteArray() << 2;
        QTest::newRow("tile screen with 16-bit indexes")
            << 2 << 1 << tilesetRef << Cells {{0, 0, 300}, {1, 0, 300}} << Cells() << qint64(0) << true << 300 << 300
            << true << qint64(2 * 2) << bytes({0x2C, 0x01, 0x2C, 0x01}) << QByteArray() << 4;
        QTest::newRow("tile screen with empty cells")
            << 3 << 1 << tilesetRef << Cells {{2, 0, 1}} << Cells() << qint64(2) << true << 1 << 1 << false
            << qint64(3 * 1) << bytes({255, 255, 1}) << QByteArray() << 3;
        QTest::newRow("block screen counts colour bytes")
            << 2 << 1 << blocksetRef << Cells {{0, 0, 4}, {1, 0, 4}} << Cells {{0, 0, 1}, {1, 0, 1}} << qint64(0)
            << true << 4 << 4 << false << qint64(2 * 2) << bytes({4, 4}) << bytes({1, 1}) << (2 + 2);
        QTest::newRow("screen without reference counts colour bytes")
            << 1 << 1 << int(SourceRef::none) << Cells {{0, 0, 9}} << Cells() << qint64(0) << true << 9 << 9 << false
            << qint64(2) << bytes({9}) << bytes({255}) << (1 + 2);
        QTest::newRow("no cells at all")
            << 4 << 3 << charsetRef << Cells() << Cells() << qint64(12) << false << 0 << 0 << false << qint64(12 * 2)
            << QByteArray(12, char(255)) << QByteArray(12, char(255)) << (2 + 2);
        QTest::newRow("colour stream row by row")
            << 3 << 2 << charsetRef << Cells() << Cells {{0, 0, 5}, {1, 0, 5}, {2, 0, 6}, {0, 1, 6}, {1, 1, 6}, {2, 1, 6}}
            << qint64(6) << false << 0 << 0 << false << qint64(6 * 2) << QByteArray(6, char(255))
            << bytes({5, 5, 6, 6, 6, 6}) << (2 + 4);

        // 40 x 25 text screen: index 32 everywhere except the first row
        // (1 to 40); colour 14 on the first ten rows.
        Cells text;
        Cells textColors;
        for (int y = 0; y < 25; ++y) {
            for (int x = 0; x < 40; ++x) {
                text.append(CellRow {x, y, y == 0 ? x + 1 : 32});
                if (y < 10)
                    textColors.append(CellRow {x, y, 14});
            }
        }
        // Indexes: 40 single values, then 960 x 32 as seven runs of 127 and
        // one of 71. Colours: 400 x 14 as 127, 127, 127, 19 and 600 x 255 as
        // 127, 127, 127, 127, 92.
        QTest::newRow("40x25 text screen")
            << 40 << 25 << charsetRef << text << textColors << qint64(0) << true << 1 << 40 << false
            << qint64(1000 * 2) << QByteArray() << QByteArray() << (40 + 8 * 2 + 4 * 2 + 5 * 2);

        // 300 x 2 cells with all-different indexes up to 599.
        Cells wide;
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 300; ++x)
                wide.append(CellRow {x, y, 2 * x + y});
        }
        // 600 single words of two bytes; colours 600 x 255 in five runs.
        QTest::newRow("300x2 with 16-bit indexes")
            << 300 << 2 << charsetRef << wide << Cells() << qint64(0) << true << 0 << 599 << true << qint64(600 * 3)
            << QByteArray() << QByteArray() << (600 * 2 + 5 * 2);

        // A larger screen with scattered cells and colours; the figure is
        // checked against the byte code of the hand-built streams only.
        Cells scattered;
        Cells scatteredColors;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 50; ++x) {
                if ((x * 7 + y * 3) % 5 == 0)
                    scattered.append(CellRow {x, y, (x / 10) * 16 + y % 4});
                if ((x + y) % 9 < 3)
                    scatteredColors.append(CellRow {x, y, (x + y) % 16});
            }
        }
        QTest::newRow("scattered 50x30") << 50 << 30 << blocksetRef << scattered << scatteredColors
                                         << qint64(1500 - 300) << true << 0 << 67 << false << qint64(1500 * 2)
                                         << QByteArray() << QByteArray() << -1;
    }

    void screenStatistics()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, sourceRef);
        QFETCH(QList<CellRow>, cells);
        QFETCH(QList<CellRow>, colors);
        QFETCH(qint64, emptyCells);
        QFETCH(bool, hasRange);
        QFETCH(int, minIndex);
        QFETCH(int, maxIndex);
        QFETCH(bool, sixteenBit);
        QFETCH(qint64, flatMemory);
        QFETCH(QByteArray, indexStream);
        QFETCH(QByteArray, colorStream);
        QFETCH(int, rleMemory);

        Screen screen;
        screen.sourceRef = sourceRef;
        screen.width = width;
        screen.height = height;
        screen.cellIndexes = cellMap(cells);
        screen.cellColors = cellMap(colors);

        const bool tileScreen = sourceRef != SourceRef::none && (sourceRef & SourceRef::tilesetBit) != 0;
        if (indexStream.isEmpty())
            indexStream = buildIndexStream(width, height, screen.cellIndexes, sixteenBit);
        if (colorStream.isEmpty() && !tileScreen)
            colorStream = buildColorStream(width, height, screen.cellColors);

        const ExportSize::ScreenStatistics stats = ExportSize::screenStatistics(screen);
        QCOMPARE(stats.cells, qint64(width) * height);
        QCOMPARE(stats.emptyCells, emptyCells);
        QCOMPARE(stats.hasRange, hasRange);
        if (hasRange) {
            QCOMPARE(stats.minIndex, minIndex);
            QCOMPARE(stats.maxIndex, maxIndex);
        }
        QCOMPARE(stats.sixteenBit, sixteenBit);
        QCOMPARE(stats.flatMemory, flatMemory);

        // The figures are those of the exported streams.
        const QList<CellPos> all = ScreenExport::allCells(screen);
        QCOMPARE(ScreenExport::indexStream(screen, all, sixteenBit), indexStream);
        if (!tileScreen)
            QCOMPARE(ScreenExport::colorStream(screen, all), colorStream);

        const qint64 fromStreams = (sixteenBit ? Rle::encode16(indexStream) : Rle::encode8(indexStream)).size()
            + (tileScreen ? 0 : Rle::encode8(colorStream).size());
        QCOMPARE(stats.rleMemory, fromStreams);
        if (rleMemory >= 0)
            QCOMPARE(stats.rleMemory, qint64(rleMemory));
    }

};

QTEST_GUILESS_MAIN(ExportSizeTest)
#include "tst_exportsize.moc"
