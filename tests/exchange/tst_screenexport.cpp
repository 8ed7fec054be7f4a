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

Screen screen(qint32 sourceRef, int width, int height, Cells indexes, Cells colors = {})
{
    Screen s;
    s.name = QStringLiteral("t");
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

// Cells exported: the sections after the head in one line, the first comment
// line of the indexes, the figures of the whole screen and, when given, the
// file of the whole text.
struct Streams { Screen screen; QList<CellPos> cells; ExportDataOptions options;
                  QString expected, note, figures, file; };

constexpr qint32 chars = SourceRef::charsetBit | 5;
constexpr qint32 blocks = SourceRef::blocksetBit | 0x123;
constexpr qint32 tiles = SourceRef::tilesetBit | 7;
}

Q_DECLARE_METATYPE(Streams)

class ScreenExportTest : public QObject {
    Q_OBJECT

private slots:
    // The index and colour streams of the listed cells and the figures of the
    // whole screen: cells, empty cells, index range, index bits, flat and
    // coded bytes.
    void streams_data()
    {
        QTest::addColumn<Streams>("row");

        ExportDataOptions plain;
        plain.includeComments = true;
        ExportDataOptions coded = plain;
        coded.compressRLE = true;
        const ExportDataOptions decimal = testvalues::dialect("", ".byte", 0, 4);
        const QString bytesNote = QStringLiteral("; 8 bits per entry"), noByte = bytesNote + ", $FF = no cell";
        const QString wordsNote = QStringLiteral("; 16 bits per entry"), noWord = wordsNote + ", $FFFF = no cell";
        // Two character cells, all listed, no colours.
        const auto two = [&](const char* name, Cells cells, QString data, QString note, const char* figures) {
            QTest::newRow(name) << Streams {screen(chars, 2, 1, cells), all(2, 1), plain,
                                            "t_data: " + data + " | t_color: ff ff", note, figures};
        };
        two("254 beside an empty cell", {{0, 0, 254}}, "fe ff", noByte, "2 1 254-254 8 4 6");
        two("254, no empty cell", {{0, 0, 254}, {1, 0, 0}}, "fe 00", bytesNote, "2 0 0-254 8 4 5");
        two("255 beside an empty cell", {{0, 0, 255}}, "ff 00 ff ff", noWord, "2 1 255-255 16 6 8");
        two("255, no empty cell", {{0, 0, 255}, {1, 0, 0}}, "ff 00", bytesNote, "2 0 0-255 8 4 5");
        two("256 beside an empty cell", {{0, 0, 256}}, "00 01 ff ff", noWord, "2 1 256-256 16 6 8");
        two("256, no empty cell", {{0, 0, 256}, {1, 0, 3}}, "00 01 03 00", wordsNote, "2 0 3-256 16 6 6");
        const Cells square {{0, 0, 3}, {1, 0, 200}, {0, 1, 3}, {1, 1, 3}};
        QTest::newRow("row by row, coded")
            << Streams {screen(chars, 2, 2, square, {{0, 0, 14}, {1, 0, 1}, {0, 1, 14}}), all(2, 2), coded,
                        "t_data: 83 01 c8 02 03 | t_color: 8e 81 8e 01 ff", bytesNote, "4 0 3-200 8 8 10",
                        "screen-bytes.asm"};
        QTest::newRow("words, coded")
            << Streams {screen(blocks, 4, 1, {{0, 0, 300}, {1, 0, 300}, {2, 0, 300}}), all(4, 1), coded,
                        "t_data: 03 00 2c 01 01 00 ff ff | t_color: 04 ff", noWord, "4 1 300-300 16 12 10",
                        "screen-words.asm"};
        QTest::newRow("tile cells have no colours, decimal")
            << Streams {screen(tiles, 3, 1, {{0, 0, 1000}, {1, 0, 0}, {2, 0, 7}}, {{0, 0, 5}}), all(3, 1), decimal,
                        "t_data: e8 03 00 00 07 00", "", "3 0 0-1000 16 6 6", "screen-tiles.asm"};
        QTest::newRow("listed cells only, in their order")
            << Streams {screen(chars, 2, 2, {{0, 0, 1}, {1, 0, 300}, {0, 1, 3}, {1, 1, 4}}), {{1, 1}, {0, 0}, {0, 1}},
                        plain, "t_data: 04 01 03 | t_color: ff ff ff", bytesNote, "4 0 1-300 16 12 10"};
        QTest::newRow("nothing listed on an empty screen")
            << Streams {screen(chars, 2, 1, {}), {}, plain, "t_data: | t_color:", noByte, "2 2 none 8 4 4"};
    }
    void streams()
    {
        QFETCH(Streams, row);
        const QList<ExportSection> sections = ScreenExport::sections(row.screen, row.cells, row.options);
        QCOMPARE(sections.at(3).bytes, testvalues::bytes({row.cells.size(), 0})); // the count of the listed cells
        QCOMPARE(testvalues::describe(sections.mid(4)), row.expected);
        QCOMPARE(sections.at(4).header.section(QLatin1Char('\n'), 0, 0), row.note);
        if (!row.file.isEmpty())
            QCOMPARE(ScreenExport::text(row.screen, row.cells, row.options),
                     testvalues::dataFile("exchange/" + row.file));
        const ExportSize::ScreenStatistics s = ExportSize::screenStatistics(row.screen);
        const QString range = s.hasRange ? QStringLiteral("%1-%2").arg(s.minIndex).arg(s.maxIndex) : "none";
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5 %6").arg(s.cells).arg(s.emptyCells).arg(range)
                     .arg(s.sixteenBit ? 16 : 8).arg(s.flatMemory).arg(s.rleMemory), row.figures);
    }
};

QTEST_GUILESS_MAIN(ScreenExportTest)
#include "tst_screenexport.moc"
