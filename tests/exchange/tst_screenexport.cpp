// Screens as assembler text: the reference and its kind, the size and cell
// count words, cell entries of one or two bytes with a value for "no cell",
// the cell colours of character and block screens, run-length coding and the
// comment headers.

#include "exchange/exportoptions.h"
#include "exchange/screenexport.h"
#include "exchange/textformat.h"
#include "model/screen.h"
#include "model/sourceref.h"

#include <QtTest>

Q_DECLARE_METATYPE(Screen)
Q_DECLARE_METATYPE(CellPos)

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

struct Cell {
    int x;
    int y;
    int value;
};

Screen screen(qint32 sourceRef, int width, int height, std::initializer_list<Cell> indexes,
              std::initializer_list<Cell> colors = {})
{
    Screen s;
    s.id = 3;
    s.name = QStringLiteral("Title screen");
    s.sourceRef = sourceRef;
    s.width = width;
    s.height = height;
    for (const Cell& cell : indexes)
        s.cellIndexes.insert(CellPos {cell.x, cell.y}, cell.value);
    for (const Cell& cell : colors)
        s.cellColors.insert(CellPos {cell.x, cell.y}, cell.value);
    return s;
}

QList<CellPos> row(int width)
{
    QList<CellPos> cells;
    for (int x = 0; x < width; ++x)
        cells.append(CellPos {x, 0});
    return cells;
}

constexpr qint32 charsetRef = SourceRef::charsetBit | 5;
constexpr qint32 blocksetRef = SourceRef::blocksetBit | 0x123;
constexpr qint32 tilesetRef = SourceRef::tilesetBit | 7;

ExportDataOptions options(bool comments, bool rle)
{
    ExportDataOptions o = ExportDataOptions::forScreen();
    o.includeComments = comments;
    o.compressRLE = rle;
    return o;
}

QStringList labelsOf(const QList<ExportSection>& sections)
{
    QStringList labels;
    for (const ExportSection& s : sections)
        labels.append(s.label);
    return labels;
}

const ExportSection* find(const QList<ExportSection>& sections, const QString& label)
{
    for (const ExportSection& s : sections) {
        if (s.label == label)
            return &s;
    }
    return nullptr;
}

QByteArray sectionBytes(const QList<ExportSection>& sections, const QString& label)
{
    const ExportSection* s = find(sections, label);
    return s ? s->bytes : QByteArray("<missing>");
}

QString sectionHeader(const QList<ExportSection>& sections, const QString& label)
{
    const ExportSection* s = find(sections, label);
    return s ? s->header : QStringLiteral("<missing>");
}

QString blanks(int count)
{
    return QString(count, QLatin1Char(' '));
}

// The run-length explanation of 8-bit entries and of colours.
QString byteRuleLines(const QString& p)
{
    return p + " RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:\n" + p
        + "    value | 128" + blanks(12) + "if (n.repetition == 1) and (value < 128)\n" + p
        + "   (n.repetition, value)" + blanks(3) + "otherwise\n";
}

// The run-length explanation of 16-bit entries.
QString wordRuleLines(const QString& p)
{
    return p + " RLE compressed as a sequence of 2 or 1 word(s) depending on the following rule:\n" + p
        + "    value | 32768" + blanks(10) + "if (n.repetition == 1) and (value < 32768)\n" + p
        + "   (n.repetition, value)" + blanks(3) + "otherwise\n";
}

}

class ScreenExportTest : public QObject {
    Q_OBJECT

private slots:
    void allCells();
    void reference_data();
    void reference();
    void sizeWords_data();
    void sizeWords();
    void entries_data();
    void entries();
    void rleEntries_data();
    void rleEntries();
    void colorSection_data();
    void colorSection();
    void colorHeaders_data();
    void colorHeaders();
    void exportTextCommentsRle();
    void exportTextDecimalTiles();
};

void ScreenExportTest::allCells()
{
    const Screen s = screen(charsetRef, 3, 2, {});
    const QList<CellPos> expected {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}};
    QCOMPARE(ScreenExport::allCells(s), expected);
}

void ScreenExportTest::reference_data()
{
    QTest::addColumn<int>("sourceRef");
    QTest::addColumn<QByteArray>("reference");
    QTest::addColumn<bool>("colors");

    QTest::newRow("none") << int(SourceRef::none) << bytes({255, 2}) << false;
    QTest::newRow("character set 5") << int(charsetRef) << bytes({5, 0}) << true;
    QTest::newRow("block set 0x123") << int(blocksetRef) << bytes({0x23, 1}) << true;
    QTest::newRow("tile set 7") << int(tilesetRef) << bytes({7, 2}) << false;
    QTest::newRow("character set, largest id") << int(SourceRef::charsetBit | 0xFFFFF) << bytes({255, 0}) << true;
}

void ScreenExportTest::reference()
{
    QFETCH(int, sourceRef);
    QFETCH(QByteArray, reference);
    QFETCH(bool, colors);

    const Screen s = screen(sourceRef, 2, 1, {{0, 0, 1}, {1, 0, 2}}, {{0, 0, 3}});
    for (const bool comments : {false, true}) {
        const QList<ExportSection> sections = ScreenExport::sections(s, row(2), options(comments, false));
        QStringList labels {"Title_screen_dataset_id", "Title_screen_width", "Title_screen_height",
                            "Title_screen_num_cells", "Title_screen_data"};
        // Only a character or block screen has colours of its own.
        if (colors)
            labels << "Title_screen_color";
        QCOMPARE(labelsOf(sections), labels);
        QCOMPARE(sections.first().bytes, reference);
        QCOMPARE(sections.first().header,
                 comments ? QStringLiteral("; (dataset_id, dataset_type), where dataset_type = 0 for charset, "
                                           "1 for blockset and 2 for tileset\n")
                          : QString());
    }
}

void ScreenExportTest::sizeWords_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("cells");
    QTest::addColumn<QByteArray>("widthBytes");
    QTest::addColumn<QByteArray>("heightBytes");
    QTest::addColumn<QByteArray>("countBytes");

    QTest::newRow("40 x 25, all cells") << 40 << 25 << 1000 << bytes({40, 0}) << bytes({25, 0}) << bytes({0xE8, 3});
    QTest::newRow("300 x 2, three cells") << 300 << 2 << 3 << bytes({44, 1}) << bytes({2, 0}) << bytes({3, 0});
    QTest::newRow("largest") << 16384 << 16384 << 1 << bytes({0, 64}) << bytes({0, 64}) << bytes({1, 0});
    QTest::newRow("no cells listed") << 1 << 1 << 0 << bytes({1, 0}) << bytes({1, 0}) << bytes({0, 0});
}

void ScreenExportTest::sizeWords()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, cells);
    QFETCH(QByteArray, widthBytes);
    QFETCH(QByteArray, heightBytes);
    QFETCH(QByteArray, countBytes);

    const Screen s = screen(charsetRef, width, height, {});
    QList<CellPos> list;
    for (int i = 0; i < cells; ++i)
        list.append(CellPos {i % width, i / width});
    const QList<ExportSection> sections = ScreenExport::sections(s, list, options(false, false));
    QCOMPARE(sectionBytes(sections, "Title_screen_width"), widthBytes);
    QCOMPARE(sectionBytes(sections, "Title_screen_height"), heightBytes);
    QCOMPARE(sectionBytes(sections, "Title_screen_num_cells"), countBytes);
    // None of the cells has an entry: all "no cell".
    QCOMPARE(sectionBytes(sections, "Title_screen_data"), QByteArray(cells, char(255)));
}

void ScreenExportTest::entries_data()
{
    QTest::addColumn<Screen>("screen");
    QTest::addColumn<QList<CellPos>>("cells");
    QTest::addColumn<ExportDataOptions::NumberBase>("base");
    QTest::addColumn<QString>("hexPrefix");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("firstLine");

    const auto hex = ExportDataOptions::NumberBase::Hex;
    const auto dec = ExportDataOptions::NumberBase::Dec;
    const QString dollar = QStringLiteral("$");

    QTest::newRow("all present up to 255: 8-bit")
        << screen(charsetRef, 3, 1, {{0, 0, 255}, {1, 0, 0}, {2, 0, 7}}) << row(3) << hex << dollar
        << bytes({255, 0, 7}) << "; 8 bits per entry\n";
    QTest::newRow("all present, 256: 16-bit")
        << screen(charsetRef, 2, 1, {{0, 0, 256}, {1, 0, 1}}) << row(2) << hex << dollar << bytes({0, 1, 1, 0})
        << "; 16 bits per entry\n";
    QTest::newRow("one missing, up to 254: 8-bit")
        << screen(charsetRef, 3, 1, {{0, 0, 254}, {2, 0, 3}}) << row(3) << hex << dollar << bytes({254, 255, 3})
        << "; 8 bits per entry, $FF = no cell\n";
    // 255 must stay free for the missing cell.
    QTest::newRow("one missing, 255: 16-bit")
        << screen(charsetRef, 2, 1, {{0, 0, 255}}) << row(2) << hex << dollar << bytes({255, 0, 255, 255})
        << "; 16 bits per entry, $FFFF = no cell\n";
    QTest::newRow("empty map: all 255")
        << screen(charsetRef, 2, 1, {}) << row(2) << hex << dollar << bytes({255, 255})
        << "; 8 bits per entry, $FF = no cell\n";
    QTest::newRow("empty map, no cells listed")
        << screen(charsetRef, 2, 1, {}) << QList<CellPos>() << hex << dollar << QByteArray()
        << "; 8 bits per entry, $FF = no cell\n";
    QTest::newRow("listed cells all present")
        << screen(charsetRef, 2, 1, {{0, 0, 255}}) << QList<CellPos> {{0, 0}} << hex << dollar << bytes({255})
        << "; 8 bits per entry\n";
    QTest::newRow("unlisted cells do not widen")
        << screen(charsetRef, 2, 1, {{0, 0, 3}, {1, 0, 300}}) << QList<CellPos> {{0, 0}} << hex << dollar
        << bytes({3}) << "; 8 bits per entry\n";
    QTest::newRow("list order") << screen(charsetRef, 2, 2, {{0, 0, 1}, {1, 0, 2}, {0, 1, 3}, {1, 1, 4}})
                                << QList<CellPos> {{1, 1}, {0, 0}, {0, 1}, {1, 0}} << hex << dollar
                                << bytes({4, 1, 3, 2}) << "; 8 bits per entry\n";
    QTest::newRow("decimal note 255")
        << screen(charsetRef, 2, 1, {{0, 0, 9}}) << row(2) << dec << dollar << bytes({9, 255})
        << "; 8 bits per entry, 255 = no cell\n";
    QTest::newRow("decimal note 65535")
        << screen(charsetRef, 2, 1, {{0, 0, 700}}) << row(2) << dec << dollar << bytes({0xBC, 2, 255, 255})
        << "; 16 bits per entry, 65535 = no cell\n";
    QTest::newRow("prefix 0x note")
        << screen(blocksetRef, 2, 1, {{0, 0, 700}}) << row(2) << hex << "0x" << bytes({0xBC, 2, 255, 255})
        << "; 16 bits per entry, 0xFFFF = no cell\n";
    QTest::newRow("tile screen 16-bit")
        << screen(tilesetRef, 3, 1, {{0, 0, 1000}, {1, 0, 0}, {2, 0, 65535}}) << row(3) << hex << dollar
        << bytes({0xE8, 3, 0, 0, 255, 255}) << "; 16 bits per entry\n";
}

void ScreenExportTest::entries()
{
    QFETCH(Screen, screen);
    QFETCH(QList<CellPos>, cells);
    QFETCH(ExportDataOptions::NumberBase, base);
    QFETCH(QString, hexPrefix);
    QFETCH(QByteArray, data);
    QFETCH(QString, firstLine);

    ExportDataOptions plain = options(false, false);
    plain.base = base;
    plain.hexPrefix = hexPrefix;
    QList<ExportSection> sections = ScreenExport::sections(screen, cells, plain);
    QCOMPARE(sectionBytes(sections, "Title_screen_data"), data);
    QCOMPARE(sectionHeader(sections, "Title_screen_data"), QString());

    // The data is the index stream of the listed cells, as wide as the header says.
    const bool words = firstLine.startsWith(QLatin1String("; 16"));
    QCOMPARE(ScreenExport::wordIndexes(screen, cells), words);
    QCOMPARE(ScreenExport::indexStream(screen, cells, words), data);

    ExportDataOptions commented = plain;
    commented.includeComments = true;
    sections = ScreenExport::sections(screen, cells, commented);
    QCOMPARE(sectionBytes(sections, "Title_screen_data"), data);
    QCOMPARE(sectionHeader(sections, "Title_screen_data"),
             firstLine + QStringLiteral("; Total bytes: %1\n\n").arg(data.size()));
}

void ScreenExportTest::rleEntries_data()
{
    QTest::addColumn<Screen>("screen");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("header");

    // 3, 3, 3 as (3, 3); 200 alone as (1, 200).
    QTest::newRow("8-bit") << screen(charsetRef, 4, 1, {{0, 0, 3}, {1, 0, 3}, {2, 0, 3}, {3, 0, 200}})
                           << bytes({3, 3, 1, 200})
                           << "; 8 bits per entry\n" + byteRuleLines(";") + "; Total bytes: 4\n\n";
    QTest::newRow("8-bit with missing cells")
        << screen(charsetRef, 4, 1, {{0, 0, 5}}) << bytes({0x85, 3, 255})
        << "; 8 bits per entry, $FF = no cell\n" + byteRuleLines(";") + "; Total bytes: 3\n\n";
    // Words 300, 300, 300 as (3, 300); the missing 65535 as (1, 65535).
    QTest::newRow("16-bit") << screen(charsetRef, 4, 1, {{0, 0, 300}, {1, 0, 300}, {2, 0, 300}})
                            << bytes({3, 0, 0x2C, 1, 1, 0, 255, 255})
                            << "; 16 bits per entry, $FFFF = no cell\n" + wordRuleLines(";") + "; Total bytes: 8\n\n";
    // Single words below 32768 carry the marker bit.
    QTest::newRow("16-bit single words") << screen(blocksetRef, 2, 1, {{0, 0, 5}, {1, 0, 256}})
                                         << bytes({5, 0x80, 0, 0x81})
                                         << "; 16 bits per entry\n" + wordRuleLines(";") + "; Total bytes: 4\n\n";
}

void ScreenExportTest::rleEntries()
{
    QFETCH(Screen, screen);
    QFETCH(QByteArray, data);
    QFETCH(QString, header);

    QList<ExportSection> sections = ScreenExport::sections(screen, row(screen.width), options(true, true));
    QCOMPARE(sectionBytes(sections, "Title_screen_data"), data);
    QCOMPARE(sectionHeader(sections, "Title_screen_data"), header);

    // Without comments the same bytes, no header.
    sections = ScreenExport::sections(screen, row(screen.width), options(false, true));
    QCOMPARE(sectionBytes(sections, "Title_screen_data"), data);
    QCOMPARE(sectionHeader(sections, "Title_screen_data"), QString());
}

void ScreenExportTest::colorSection_data()
{
    QTest::addColumn<Screen>("screen");
    QTest::addColumn<bool>("rle");
    QTest::addColumn<QByteArray>("colors");

    // A cell without colour gives 255; the colour of an empty cell is written.
    const Screen chars = screen(charsetRef, 3, 1, {{0, 0, 1}, {1, 0, 2}}, {{0, 0, 3}, {2, 0, 14}});
    QTest::newRow("character screen") << chars << false << bytes({3, 255, 14});
    QTest::newRow("character screen RLE") << chars << true << bytes({0x83, 1, 255, 0x8E});
    const Screen blocks = screen(blocksetRef, 4, 1, {{0, 0, 1}}, {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {3, 0, 1}});
    QTest::newRow("block screen") << blocks << false << bytes({1, 1, 1, 1});
    QTest::newRow("block screen RLE") << blocks << true << bytes({4, 1});
}

void ScreenExportTest::colorSection()
{
    QFETCH(Screen, screen);
    QFETCH(bool, rle);
    QFETCH(QByteArray, colors);

    const QList<ExportSection> sections = ScreenExport::sections(screen, row(screen.width), options(false, rle));
    QCOMPARE(labelsOf(sections).last(), QStringLiteral("Title_screen_color"));
    QCOMPARE(sections.last().bytes, colors);
    QCOMPARE(sections.last().header, QString());
}

void ScreenExportTest::colorHeaders_data()
{
    QTest::addColumn<Screen>("screen");
    QTest::addColumn<ExportDataOptions::NumberBase>("base");
    QTest::addColumn<bool>("rle");
    QTest::addColumn<QString>("header");

    const Screen full = screen(charsetRef, 2, 1, {{0, 0, 1}, {1, 0, 2}}, {{0, 0, 3}, {1, 0, 3}});
    const Screen gap = screen(charsetRef, 2, 1, {{0, 0, 300}}, {{0, 0, 3}});
    const auto hex = ExportDataOptions::NumberBase::Hex;
    const auto dec = ExportDataOptions::NumberBase::Dec;
    QTest::newRow("no missing cell") << full << hex << false << "; 8 bits per entry\n; Total bytes: 2\n\n";
    // The note follows the entries: a cell without index, even when the
    // entries are 16-bit, names the 8-bit 255.
    QTest::newRow("missing cell") << gap << hex << false
                                  << "; 8 bits per entry, $FF = no cell\n; Total bytes: 2\n\n";
    QTest::newRow("missing cell decimal") << gap << dec << false
                                          << "; 8 bits per entry, 255 = no cell\n; Total bytes: 2\n\n";
    QTest::newRow("RLE") << full << hex << true
                         << "; 8 bits per entry\n" + byteRuleLines(";") + "; Total bytes: 2\n\n";
    QTest::newRow("RLE missing cell") << gap << hex << true
                                      << "; 8 bits per entry, $FF = no cell\n" + byteRuleLines(";")
                                             + "; Total bytes: 3\n\n";
}

void ScreenExportTest::colorHeaders()
{
    QFETCH(Screen, screen);
    QFETCH(ExportDataOptions::NumberBase, base);
    QFETCH(bool, rle);
    QFETCH(QString, header);

    ExportDataOptions o = options(true, rle);
    o.base = base;
    const QList<ExportSection> sections = ScreenExport::sections(screen, row(2), o);
    QCOMPARE(sectionHeader(sections, "Title_screen_color"), header);
}

void ScreenExportTest::exportTextCommentsRle()
{
    const Screen s = screen(charsetRef, 3, 1, {{0, 0, 1}, {1, 0, 1}}, {{0, 0, 3}, {1, 0, 3}});
    // Entries 1, 1, no cell: (2, 1) (1, $FF); colours 3, 3, none: (2, 3) (1, $FF).
    const QString expected = QStringLiteral(
        "; (dataset_id, dataset_type), where dataset_type = 0 for charset, 1 for blockset and 2 for tileset\n"
        "Title_screen_dataset_id:\n"
        "!byte $05, $00\n"
        "\n"
        "Title_screen_width:\n"
        "!byte $03, $00\n"
        "\n"
        "Title_screen_height:\n"
        "!byte $01, $00\n"
        "\n"
        "Title_screen_num_cells:\n"
        "!byte $03, $00\n"
        "\n"
        "; 8 bits per entry, $FF = no cell\n"
        "; RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:\n"
        ";    value | 128            if (n.repetition == 1) and (value < 128)\n"
        ";   (n.repetition, value)   otherwise\n"
        "; Total bytes: 4\n"
        "\n"
        "Title_screen_data:\n"
        "!byte $02, $01, $01, $FF\n"
        "\n"
        "; 8 bits per entry, $FF = no cell\n"
        "; RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:\n"
        ";    value | 128            if (n.repetition == 1) and (value < 128)\n"
        ";   (n.repetition, value)   otherwise\n"
        "; Total bytes: 4\n"
        "\n"
        "Title_screen_color:\n"
        "!byte $02, $03, $01, $FF\n"
        "\n");
    QCOMPARE(ScreenExport::text(s, ScreenExport::allCells(s), options(true, true)), expected);

    ExportDataOptions slashes = options(true, false);
    slashes.commentPrefix = QStringLiteral("//");
    const QString text = ScreenExport::text(s, ScreenExport::allCells(s), slashes);
    QVERIFY(text.startsWith(QStringLiteral("// (dataset_id, dataset_type), where")));
    QVERIFY(text.contains(QStringLiteral("// 8 bits per entry, $FF = no cell\n// Total bytes: 3\n\nTitle_screen_data:\n")));
}

void ScreenExportTest::exportTextDecimalTiles()
{
    Screen s = screen(tilesetRef, 2, 2, {{0, 0, 300}, {1, 0, 2}, {0, 1, 3}, {1, 1, 4}}, {{0, 0, 1}});
    s.name = QStringLiteral("map");
    ExportDataOptions o = options(false, false);
    o.base = ExportDataOptions::NumberBase::Dec;
    o.dataPrefix = QStringLiteral(".byte");
    o.dataPerLine = 4;
    // A tile screen has no colour section, even with colours stored.
    const QString expected = QStringLiteral(
        "map_dataset_id:\n"
        ".byte 7, 2\n"
        "\n"
        "map_width:\n"
        ".byte 2, 0\n"
        "\n"
        "map_height:\n"
        ".byte 2, 0\n"
        "\n"
        "map_num_cells:\n"
        ".byte 4, 0\n"
        "\n"
        "map_data:\n"
        ".byte 44, 1, 2, 0\n"
        ".byte 3, 0, 4, 0\n"
        "\n");
    QCOMPARE(ScreenExport::text(s, ScreenExport::allCells(s), o), expected);
}

QTEST_GUILESS_MAIN(ScreenExportTest)
#include "tst_screenexport.moc"
