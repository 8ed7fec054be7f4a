// Screens as exported data and what they take in memory: the reference, size
// and cell count, cell indexes of one byte or, when the largest does not fit
// beside the empty-cell marker, of two, the colours of character and block
// cells, run-length coding and comments.

#include "exchange/exportsize.h"
#include "exchange/screenexport.h"
#include "support/core/values.h"

#include <QtTest>

Q_DECLARE_METATYPE(Screen)
Q_DECLARE_METATYPE(ExportDataOptions)
Q_DECLARE_METATYPE(CellPos)

namespace {
using Cells = std::initializer_list<std::array<int, 3>>; // x, y, value

Screen screen(qint32 sourceRef, int width, int height, Cells indexes, Cells colors = {}, const char* name = "t")
{
    Screen s;
    s.name = QString::fromUtf8(name);
    s.sourceRef = sourceRef;
    s.width = width;
    s.height = height;
    for (const auto& cell : indexes)
        s.cellIndexes.insert(CellPos {cell[0], cell[1]}, cell[2]);
    for (const auto& cell : colors)
        s.cellColors.insert(CellPos {cell[0], cell[1]}, cell[2]);
    return s;
}

// Every position of a width x height screen, row by row.
QList<CellPos> all(int width, int height)
{
    QList<CellPos> cells;
    for (int i = 0; i < width * height; ++i)
        cells.append(CellPos {i % width, i / width});
    return cells;
}

constexpr qint32 chars = SourceRef::charsetBit | 5;
constexpr qint32 blocks = SourceRef::blocksetBit | 0x123;
constexpr qint32 tiles = SourceRef::tilesetBit | 7;
}

class ScreenExportTest : public QObject {
    Q_OBJECT

private slots:
    // The reference of a screen without source, its size and the count of
    // the listed cells.
    void head()
    {
        const Screen none = screen(SourceRef::none, 300, 2, {});
        QCOMPARE(testvalues::describe(ScreenExport::sections(none, all(3, 1), ExportDataOptions())),
                 "t_dataset_id: ff 02 | t_width: 2c 01 | t_height: 02 00 | t_num_cells: 03 00 | t_data: ff ff ff");
    }

    // The index and colour streams of the listed cells, the first comment line
    // of the indexes, and the figures of the whole screen: cells, empty cells,
    // index range, index bits, flat and coded bytes.
    void streams_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::addColumn<QList<CellPos>>("cells");
        QTest::addColumn<bool>("rle");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("figures");

        const QString bytesNote = QStringLiteral("; 8 bits per entry"), wordsNote = QStringLiteral("; 16 bits per entry");
        const QString noByte = QStringLiteral(", $FF = no cell"), noWord = QStringLiteral(", $FFFF = no cell");
        QTest::newRow("254 beside an empty cell") << screen(chars, 2, 1, {{0, 0, 254}}) << all(2, 1) << false
                                                  << "t_data: fe ff | t_color: ff ff" << bytesNote + noByte << "2 1 254-254 8 4 6";
        QTest::newRow("254, no empty cell") << screen(chars, 2, 1, {{0, 0, 254}, {1, 0, 0}}) << all(2, 1) << false
                                            << "t_data: fe 00 | t_color: ff ff" << bytesNote << "2 0 0-254 8 4 5";
        QTest::newRow("255 beside an empty cell") << screen(chars, 2, 1, {{0, 0, 255}}) << all(2, 1) << false
                                                  << "t_data: ff 00 ff ff | t_color: ff ff" << wordsNote + noWord << "2 1 255-255 16 6 8";
        QTest::newRow("255, no empty cell") << screen(chars, 2, 1, {{0, 0, 255}, {1, 0, 0}}) << all(2, 1) << false
                                            << "t_data: ff 00 | t_color: ff ff" << bytesNote << "2 0 0-255 8 4 5";
        QTest::newRow("256 beside an empty cell") << screen(chars, 2, 1, {{0, 0, 256}}) << all(2, 1) << false
                                                  << "t_data: 00 01 ff ff | t_color: ff ff" << wordsNote + noWord << "2 1 256-256 16 6 8";
        QTest::newRow("256, no empty cell") << screen(chars, 2, 1, {{0, 0, 256}, {1, 0, 3}}) << all(2, 1) << false
                                            << "t_data: 00 01 03 00 | t_color: ff ff" << wordsNote << "2 0 3-256 16 6 6";
        QTest::newRow("row by row, coded") << screen(chars, 2, 2, {{0, 0, 3}, {1, 0, 200}, {0, 1, 3}, {1, 1, 3}}, {{0, 0, 14}, {1, 0, 1}, {0, 1, 14}})
                                           << all(2, 2) << true << "t_data: 83 01 c8 02 03 | t_color: 8e 81 8e 01 ff" << bytesNote << "4 0 3-200 8 8 10";
        QTest::newRow("words coded") << screen(blocks, 4, 1, {{0, 0, 300}, {1, 0, 300}, {2, 0, 300}}) << all(4, 1) << true
                                     << "t_data: 03 00 2c 01 01 00 ff ff | t_color: 04 ff" << wordsNote + noWord << "4 1 300-300 16 12 10";
        QTest::newRow("tile cells have no colours") << screen(tiles, 3, 1, {{0, 0, 1000}, {1, 0, 0}, {2, 0, 7}}, {{0, 0, 5}}) << all(3, 1)
                                                    << true << "t_data: e8 83 00 80 07 80" << wordsNote << "3 0 0-1000 16 6 6";
        QTest::newRow("listed cells only, in their order") << screen(chars, 2, 2, {{0, 0, 1}, {1, 0, 300}, {0, 1, 3}, {1, 1, 4}})
                                                           << QList<CellPos> {{1, 1}, {0, 0}, {0, 1}} << false
                                                           << "t_data: 04 01 03 | t_color: ff ff ff" << bytesNote << "4 0 1-300 16 12 10";
        QTest::newRow("nothing listed on an empty screen") << screen(chars, 2, 1, {}) << QList<CellPos>() << false
                                                           << "t_data: | t_color:" << bytesNote + noByte << "2 2 none 8 4 4";
    }

    void streams()
    {
        QFETCH(Screen, screen);
        QFETCH(QList<CellPos>, cells);
        QFETCH(bool, rle);
        QFETCH(QString, expected);
        QFETCH(QString, note);
        QFETCH(QString, figures);

        ExportDataOptions options;
        options.includeComments = true;
        options.compressRLE = rle;
        const QList<ExportSection> sections = ScreenExport::sections(screen, cells, options);
        QCOMPARE(testvalues::describe(sections.mid(4)), expected);
        QCOMPARE(sections.at(4).header.section(QLatin1Char('\n'), 0, 0), note);
        const ExportSize::ScreenStatistics s = ExportSize::screenStatistics(screen);
        const QString range = s.hasRange ? QStringLiteral("%1-%2").arg(s.minIndex).arg(s.maxIndex) : QStringLiteral("none");
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5 %6").arg(s.cells).arg(s.emptyCells).arg(range).arg(s.sixteenBit ? 16 : 8)
                     .arg(s.flatMemory).arg(s.rleMemory), figures);
    }

    void text_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::addColumn<ExportDataOptions>("options");
        QTest::addColumn<QString>("file");

        ExportDataOptions commented;
        commented.includeComments = commented.compressRLE = true;
        QTest::newRow("bytes, comments, coded") << screen(chars, 3, 1, {{0, 0, 1}, {1, 0, 1}}, {{0, 0, 3}, {1, 0, 3}}, "Title screen")
                                                << commented << "screen-bytes.asm";
        QTest::newRow("words, comments, coded") << screen(blocks, 2, 1, {{0, 0, 300}}, {{0, 0, 1}}, "w") << commented << "screen-words.asm";
        QTest::newRow("tiles in decimal") << screen(tiles, 2, 2, {{0, 0, 300}, {1, 0, 2}, {0, 1, 3}, {1, 1, 4}}, {{0, 0, 1}}, "map")
                                          << testvalues::dialect("", ".byte", 0, 4) << "screen-tiles.asm";
    }

    void text()
    {
        QFETCH(Screen, screen);
        QFETCH(ExportDataOptions, options);
        QFETCH(QString, file);
        QCOMPARE(ScreenExport::text(screen, ScreenExport::allCells(screen), options), testvalues::dataFile("exchange/" + file));
    }
};

QTEST_GUILESS_MAIN(ScreenExportTest)
#include "tst_screenexport.moc"
