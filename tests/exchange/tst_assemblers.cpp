// Exported text through the real assemblers ACME ("!byte") and 64tass
// (".byte"): the bytes they produce must be the bytes the export rules give
// for the model, section after section. Run-length coded sections are decoded
// here and must give the uncompressed section.
//
// The expected bytes are worked out in this file straight from the models:
//  - image sets: bitmap bytes per slot (64 per sprite, the last one zero;
//    in extended background colour mode slot AND 63, each pattern once),
//    set colours, per-slot colours (plus the quarter times 16 in that mode),
//    sprite multicolour flags, the slot list as words;
//  - tile sets: reference, count word, size, wide flag, cell indexes (two
//    bytes each when one exceeds 255), colours (255 for an empty cell);
//  - screens: reference and kind, size and count words, entries of 8 or 16
//    bits with 255 or 65535 for no cell, colours of character and block cells;
//  - animations: frame count, per frame its layers, offsets, image counts and
//    x, y, index triples.

#include "assembler.h"

#include "exchange/animationexport.h"
#include "exchange/exportoptions.h"
#include "exchange/imagesetexchange.h"
#include "exchange/rle.h"
#include "exchange/screenexport.h"
#include "exchange/textformat.h"
#include "exchange/tilesetexchange.h"
#include "model/animationset.h"
#include "model/imageset.h"
#include "model/screen.h"
#include "model/sourceref.h"
#include "model/tileset.h"

#include <QSet>
#include <QtTest>

namespace {

// One section as the assembler must produce it: its uncompressed bytes and
// how it is coded (0 plain, 8 bytes, 16 words).
struct Part {
    QString name;
    QByteArray raw;
    int code = 0;
};
using Layout = QList<Part>;

}

Q_DECLARE_METATYPE(Part)

namespace {

QByteArray word(int value)
{
    QByteArray result;
    result.append(char(value & 0xFF));
    result.append(char((value >> 8) & 0xFF));
    return result;
}

QByteArray one(int value)
{
    return QByteArray(1, char(value & 0xFF));
}

// Bytes with short runs, so that run-length coding has something to do.
QByteArray runs(int seed, int count)
{
    QByteArray result;
    for (int i = 0; i < count; ++i)
        result.append(char(((seed + i / 3) * 29 + 3) & 0xFF));
    return result;
}

void putImage(Imageset& set, int slot, const QByteArray& data)
{
    ImageData image(set.imageWidth, set.imageHeight);
    image.bytes = data;
    set.images.insert(slot, image);
}

// ---- expected sections, from the rules ----

Layout imagesetLayout(const Imageset& set, const QList<int>& slotList, const ExportDataOptions& options)
{
    Layout layout;
    const int counted = options.compressRLE ? 8 : 0;
    const bool ecm = set.type == Imageset::Charset && set.mode == Imageset::ECM;
    const bool sprites = set.type == Imageset::Spriteset;
    const auto pattern = [&](int slot) { return ecm ? slot % 64 : slot; };

    if (options.includeData) {
        QByteArray data;
        QSet<int> seen;
        for (int listed : slotList) {
            const int slot = pattern(listed);
            if (seen.contains(slot))
                continue;
            seen.insert(slot);
            if (set.images.contains(slot))
                data += set.images.value(slot).bytes;
            else if (options.includeEmptySlots)
                data += QByteArray(set.imageWidth * set.imageHeight / 8, '\0');
            else
                continue;
            if (sprites)
                data += '\0';
        }
        layout.append({QStringLiteral("data"), data, counted});
    }

    QList<int> listed;
    for (int slot : slotList) {
        if (options.includeEmptySlots || set.images.contains(pattern(slot)))
            listed.append(slot);
    }

    if (options.includeColors) {
        if (set.type == Imageset::Blockset) {
            QByteArray screen;
            for (int slot : slotList) {
                const bool own = set.blockColors.contains(slot);
                const BlockColors block = set.blockColors.value(slot);
                if (set.mode == Imageset::MCM)
                    screen += one((own ? block.c1 : set.colors[1]) * 16 + (own ? block.c2 : set.colors[2]));
                else
                    screen += one(own ? block.c0 : set.colors[0]);
            }
            if (set.mode == Imageset::MCM)
                layout.append({QStringLiteral("bckgndColor"), one(set.colors[0]), 0});
            layout.append({QStringLiteral("screenColors"), screen, counted});
        } else {
            QByteArray background = one(set.colors[0]);
            if (sprites || set.mode != Imageset::SCM)
                background += one(set.colors[1]) + one(set.colors[2]);
            if (ecm)
                background += one(set.colors[3]);
            layout.append({QStringLiteral("bckgndColors"), background, 0});
        }
        QByteArray colors;
        for (int slot : listed)
            colors += one(set.imageColors.value(slot, 15) + (ecm ? (slot / 64) * 16 : 0));
        layout.append({QStringLiteral("colors"), colors, counted});
        if (sprites) {
            QByteArray multi;
            for (int slot : listed)
                multi += one(set.multiColorSprites.contains(slot) ? 1 : 0);
            layout.append({QStringLiteral("isMulti"), multi, 0});
        }
    }

    if (options.includeSelection) {
        QByteArray selection;
        for (int slot : listed)
            selection += word(slot);
        layout.append({QStringLiteral("selection"), selection, 0});
    }
    return layout;
}

Layout tilesetLayout(const Tileset& tileset, const QList<int>& tiles, const ExportDataOptions& options)
{
    Layout layout;
    layout.append({QStringLiteral("imageset_id"), one(tileset.imagesetId) + one(tileset.imagesetIsCharset), 0});
    if (!options.includeData && !options.includeColors)
        return layout;
    layout.append({QStringLiteral("num_tiles"), word(tiles.size()), 0});
    layout.append({QStringLiteral("size"), one(tileset.tileWidth) + one(tileset.tileHeight), 0});
    const int cells = tileset.tileWidth * tileset.tileHeight;
    if (options.includeData) {
        bool wide = false;
        for (int t : tiles) {
            for (int index : tileset.tiles.value(t).indexes)
                wide = wide || index > 255;
        }
        layout.append({QStringLiteral("is_16bit"), one(wide), 0});
        QByteArray data;
        for (int t : tiles) {
            for (int i = 0; i < cells; ++i) {
                const int index = tileset.tiles.contains(t) ? tileset.tiles.value(t).indexes.at(i) : 0;
                data += wide ? word(index) : one(index);
            }
        }
        layout.append({QStringLiteral("data"), data, 0});
    }
    if (options.includeColors) {
        QByteArray colors;
        for (int t : tiles) {
            for (int i = 0; i < cells; ++i) {
                const int color = tileset.tiles.contains(t) ? tileset.tiles.value(t).colors.at(i) : -1;
                colors += one(color < 0 ? 255 : color);
            }
        }
        layout.append({QStringLiteral("colors"), colors, 0});
    }
    return layout;
}

Layout screenLayout(const Screen& screen, const QList<CellPos>& cells, const ExportDataOptions& options)
{
    Layout layout;
    int kind = 2;
    if (screen.sourceRef != -1 && (screen.sourceRef & 0x100000))
        kind = 0;
    else if (screen.sourceRef != -1 && (screen.sourceRef & 0x200000))
        kind = 1;
    layout.append({QStringLiteral("dataset_id"), one(screen.sourceRef) + one(kind), 0});
    layout.append({QStringLiteral("width"), word(screen.width), 0});
    layout.append({QStringLiteral("height"), word(screen.height), 0});
    layout.append({QStringLiteral("num_cells"), word(cells.size()), 0});

    bool missing = screen.cellIndexes.isEmpty();
    int largest = -1;
    for (const CellPos& cell : cells) {
        if (screen.cellIndexes.contains(cell))
            largest = qMax(largest, screen.cellIndexes.value(cell));
        else
            missing = true;
    }
    const bool wide = !screen.cellIndexes.isEmpty() && largest > (missing ? 254 : 255);
    QByteArray data;
    for (const CellPos& cell : cells) {
        const int index = screen.cellIndexes.value(cell, wide ? 65535 : 255);
        data += wide ? word(index) : one(index);
    }
    layout.append({QStringLiteral("data"), data, options.compressRLE ? (wide ? 16 : 8) : 0});

    if (kind == 2)
        return layout;
    QByteArray colors;
    for (const CellPos& cell : cells)
        colors += one(screen.cellColors.value(cell, 255));
    layout.append({QStringLiteral("color"), colors, options.compressRLE ? 8 : 0});
    return layout;
}

Layout animationLayout(const Animation& animation, QSize scale)
{
    Layout layout;
    layout.append({QStringLiteral("numFrames"), one(animation.frames.size()), 0});
    for (const AnimationFrame& frame : animation.frames) {
        QList<int> layers;
        for (const PlacedImage& image : frame.placedImages) {
            if (!layers.contains(image.layer))
                layers.append(image.layer);
        }
        layout.append({QStringLiteral("nlayers"), one(layers.size()), 0});
        for (int layer : layers)
            layout.append({QStringLiteral("offset"),
                           one(frame.offsetX[size_t(layer)]) + one(frame.offsetY[size_t(layer)]), 0});
        for (int layer : layers) {
            QByteArray images;
            int count = 0;
            for (const PlacedImage& image : frame.placedImages) {
                if (image.layer != layer)
                    continue;
                ++count;
                images += one(image.x * scale.width()) + one(image.y * scale.height()) + one(image.index);
            }
            layout.append({QStringLiteral("numImages"), one(count), 0});
            layout.append({QStringLiteral("x_y_index"), images, 0});
        }
    }
    return layout;
}

// ---- checking assembled bytes ----

// Reads one run-length coded section starting at position, until it has
// given the expected number of bytes (a byte code: bit 7 marks a single
// value, otherwise a count and a value; a word code likewise with bit 15 over
// little-endian words). Returns false with a reason when the code is broken.
bool decodeAt(const QByteArray& code, int& position, int wordSize, int wanted, QByteArray& out, QString& why)
{
    const auto read = [&](quint32& value) {
        if (position + wordSize > code.size())
            return false;
        value = quint8(code.at(position));
        if (wordSize == 2)
            value |= quint32(quint8(code.at(position + 1))) << 8;
        position += wordSize;
        return true;
    };
    const quint32 marker = wordSize == 2 ? 0x8000 : 0x80;
    out.clear();
    while (out.size() < wanted) {
        quint32 symbol = 0;
        if (!read(symbol)) {
            why = QStringLiteral("code ends after %1 of %2 bytes").arg(out.size()).arg(wanted);
            return false;
        }
        quint32 count = 1;
        quint32 value = symbol & ~marker;
        if (!(symbol & marker)) {
            count = symbol;
            if (!read(value)) {
                why = QStringLiteral("a count without value");
                return false;
            }
            if (count == 0 || count >= marker) {
                why = QStringLiteral("run of %1").arg(count);
                return false;
            }
        }
        for (quint32 i = 0; i < count; ++i) {
            out.append(char(value & 0xFF));
            if (wordSize == 2)
                out.append(char((value >> 8) & 0xFF));
        }
    }
    if (out.size() != wanted) {
        why = QStringLiteral("a run goes past the end of the section: %1 bytes instead of %2").arg(out.size()).arg(wanted);
        return false;
    }
    return true;
}

QString hex(const QByteArray& data)
{
    return QString::fromLatin1(data.toHex(' '));
}

}

class AssemblersTest : public QObject {
    Q_OBJECT

private slots:
    void missingAssemblerFails();
    void assemblesPlainBytes_data();
    void assemblesPlainBytes();
    void exports_data();
    void exports();
};

void AssemblersTest::missingAssemblerFails()
{
    QByteArray bytes;
    QString error;
    QVERIFY(!assemble(QStringLiteral("no-such-assembler"), QStringLiteral("!byte 1\n"), bytes, error));
    QVERIFY(!error.isEmpty());

    // With an empty search path neither assembler is found; the message
    // names the program and how to install it.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray("/nonexistent-directory"));
    const bool acme = assemble(QStringLiteral("acme"), QStringLiteral("!byte 1\n"), bytes, error);
    const QString acmeError = error;
    const bool tass = assemble(QStringLiteral("64tass"), QStringLiteral(".byte 1\n"), bytes, error);
    const QString tassError = error;
    qputenv("PATH", path);
    QVERIFY(!acme);
    QCOMPARE(acmeError, QStringLiteral("acme is not installed; scripts/test.sh installs it"));
    QVERIFY(!tass);
    QCOMPARE(tassError, QStringLiteral("64tass is not installed; scripts/test.sh installs it"));
}

void AssemblersTest::assemblesPlainBytes_data()
{
    QTest::addColumn<QString>("assembler");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");

    QTest::newRow("acme") << "acme" << "; x\nl_data:\n!byte $01, 2, $FF\n    !byte 0x10\n"
                          << QByteArray("\x01\x02\xFF\x10", 4) << true;
    QTest::newRow("64tass") << "64tass" << "; x\nl_data:\n.byte $01, 2, $FF\n    .byte $10\n"
                            << QByteArray("\x01\x02\xFF\x10", 4) << true;
    QTest::newRow("acme error") << "acme" << "!byte 1 2\n" << QByteArray() << false;
    QTest::newRow("64tass error") << "64tass" << ".byte 1 2\n" << QByteArray() << false;
    QTest::newRow("64tass value too large") << "64tass" << ".byte 256\n" << QByteArray() << false;
}

void AssemblersTest::assemblesPlainBytes()
{
    QFETCH(QString, assembler);
    QFETCH(QString, source);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);

    QByteArray output;
    QString error;
    const bool done = assemble(assembler, source, output, error);
    QVERIFY2(!error.contains(QLatin1String("is not installed")), qPrintable(error));
    QVERIFY2(done == ok, qPrintable(error));
    if (ok)
        QCOMPARE(output, bytes);
    else
        QVERIFY(!error.isEmpty());
}

void AssemblersTest::exports_data()
{
    QTest::addColumn<QString>("assembler");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("sectionBytes");
    QTest::addColumn<QList<Part>>("layout");

    // ---- models ----
    Imageset font(1, QStringLiteral("font"), 8, 8, Imageset::Charset);
    for (int slot : {0, 1, 2, 3, 9, 40, 255})
        putImage(font, slot, runs(slot, 8));
    font.imageColors = {{0, 1}, {9, 14}, {255, 0}};
    font.colors = {6, 14, 2, 3};

    Imageset multiFont = font;
    multiFont.name = QStringLiteral("multi font");
    multiFont.mode = Imageset::MCM;
    multiFont.imageColors.insert(2, 11);

    Imageset ecmFont(4, QStringLiteral("ecm font"), 8, 8, Imageset::Charset);
    ecmFont.mode = Imageset::ECM;
    for (int slot = 0; slot < 6; ++slot)
        putImage(ecmFont, slot, runs(slot + 7, 8));
    ecmFont.imageColors = {{0, 1}, {70, 2}, {130, 3}, {200, 4}, {5, 9}};
    ecmFont.colors = {0, 11, 12, 15};

    Imageset sprites(2, QStringLiteral("sprites"), 24, 21, Imageset::Spriteset);
    putImage(sprites, 0, runs(1, 63));
    putImage(sprites, 2, QByteArray(63, char(0xFF)));
    putImage(sprites, 3, runs(5, 63));
    sprites.multiColorSprites = {2, 3};
    sprites.imageColors = {{0, 7}, {3, 10}};
    sprites.colors = {0, 11, 12, 3};

    Imageset blocks(3, QStringLiteral("blocks"), 8, 8, Imageset::Blockset);
    blocks.mode = Imageset::MCM;
    for (int slot : {0, 1, 4})
        putImage(blocks, slot, runs(slot + 20, 8));
    blocks.blockColors = {{1, BlockColors {6, 8, 9}}, {4, BlockColors {6, 15, 0}}};
    blocks.imageColors = {{0, 12}};
    blocks.colors = {11, 4, 5, 3};

    Tileset narrowTiles;
    narrowTiles.name = QStringLiteral("level tiles");
    narrowTiles.imagesetId = 1;
    narrowTiles.tileWidth = 2;
    narrowTiles.tileHeight = 2;
    narrowTiles.tiles.insert(0, Tile(2, 2));
    narrowTiles.tiles[0].indexes = {1, 2, 3, 255};
    narrowTiles.tiles[0].colors = {1, -1, 14, 7};
    narrowTiles.tiles.insert(2, Tile(2, 2));
    narrowTiles.tiles[2].indexes = {9, 9, 9, 9};

    Tileset wideTiles = narrowTiles;
    wideTiles.name = QStringLiteral("big tiles");
    wideTiles.imagesetId = 3;
    wideTiles.imagesetIsCharset = false;
    wideTiles.tiles[2].indexes = {300, 1023, 256, 0};

    Screen charScreen;
    charScreen.name = QStringLiteral("title");
    charScreen.sourceRef = SourceRef::make(SourceRef::charsetBit, 1);
    charScreen.width = 40;
    charScreen.height = 3;
    for (int x = 0; x < 40; ++x) {
        charScreen.cellIndexes.insert(CellPos {x, 0}, 32);
        charScreen.cellIndexes.insert(CellPos {x, 1}, x < 20 ? 65 + x : 160);
        charScreen.cellColors.insert(CellPos {x, 1}, x % 3 == 0 ? 14 : 1);
    }
    charScreen.cellIndexes.insert(CellPos {5, 2}, 254);

    Screen wideScreen = charScreen;
    wideScreen.name = QStringLiteral("wide");
    wideScreen.sourceRef = SourceRef::make(SourceRef::blocksetBit, 3);
    wideScreen.cellIndexes.insert(CellPos {7, 2}, 255); // with cells missing: 16 bits

    Screen tileScreen;
    tileScreen.name = QStringLiteral("map");
    tileScreen.sourceRef = SourceRef::make(SourceRef::tilesetBit, 2);
    tileScreen.width = 300;
    tileScreen.height = 1;
    for (int x = 0; x < 300; ++x)
        tileScreen.cellIndexes.insert(CellPos {x, 0}, x < 150 ? 1 : x);

    Animation walk;
    {
        AnimationFrame first;
        first.placedImages = {{0, 0, 4, 1}, {1, 0, 5, 0}, {1, 1, 300, 1}};
        first.offsetX = {-4, 3, 0, 0};
        first.offsetY = {2, -128, 0, 0};
        AnimationFrame empty;
        AnimationFrame last;
        last.placedImages = {{2, 1, 7, 3}, {11, 13, 8, 3}};
        last.offsetX = {0, 0, 0, 127};
        walk.frames = {first, empty, last};
    }

    // ---- rows ----
    for (const QString& assembler : {QStringLiteral("acme"), QStringLiteral("64tass")}) {
        for (const auto base : {ExportDataOptions::NumberBase::Hex, ExportDataOptions::NumberBase::Dec}) {
            const bool inHex = base == ExportDataOptions::NumberBase::Hex;
            ExportDataOptions options;
            options.dataPrefix = assembler == QLatin1String("acme") ? QStringLiteral("!byte") : QStringLiteral(".byte");
            options.base = base;
            options.hexPrefix = QStringLiteral("$");
            options.indentSpaces = assembler == QLatin1String("acme") ? 0 : 4;
            options.dataPerLine = inHex ? 8 : 13;
            const QString tag = assembler + (inHex ? QStringLiteral(" Hex") : QStringLiteral(" Dec"));

            for (const bool rle : {false, true}) {
                ExportDataOptions o = options;
                o.includeData = true;
                o.includeColors = true;
                o.includeSelection = true;
                o.includeComments = true;
                o.compressRLE = rle;
                const QString mode = tag + (rle ? QStringLiteral(" RLE") : QString());

                struct ImagesetCase {
                    const char* name;
                    const Imageset* set;
                    QList<int> slotList;
                    bool empty;
                };
                const QList<ImagesetCase> imagesetCases {
                    {"charset SCM", &font, ImagesetExchange::allSlots(font), true},
                    {"charset MCM", &multiFont, ImagesetExchange::allSlots(multiFont), false},
                    {"charset ECM", &ecmFont, ImagesetExchange::allSlots(ecmFont), true},
                    {"charset ECM high slots", &ecmFont, {0, 64, 1, 130, 200, 7, 69}, true},
                    {"sprites", &sprites, ImagesetExchange::allSlots(sprites), true},
                    {"sprites no empty", &sprites, ImagesetExchange::allSlots(sprites), false},
                    {"blocks MCM", &blocks, ImagesetExchange::allSlots(blocks), true},
                };
                for (const ImagesetCase& c : imagesetCases) {
                    o.includeEmptySlots = c.empty;
                    QByteArray sectionBytes;
                    for (const ExportSection& s : ImagesetExchange::sections(*c.set, c.slotList, o))
                        sectionBytes += s.bytes;
                    QTest::addRow("%s: %s", qPrintable(mode), c.name)
                        << assembler << ImagesetExchange::text(*c.set, c.slotList, o) << sectionBytes
                        << imagesetLayout(*c.set, c.slotList, o);
                }

                struct ScreenCase {
                    const char* name;
                    const Screen* screen;
                };
                for (const ScreenCase& c : QList<ScreenCase> {{"screen 8-bit with colours", &charScreen},
                                                              {"screen 16-bit with colours", &wideScreen},
                                                              {"tile screen", &tileScreen}}) {
                    const QList<CellPos> cells = ScreenExport::allCells(*c.screen);
                    QByteArray sectionBytes;
                    for (const ExportSection& s : ScreenExport::sections(*c.screen, cells, o))
                        sectionBytes += s.bytes;
                    QTest::addRow("%s: %s", qPrintable(mode), c.name)
                        << assembler << ScreenExport::text(*c.screen, cells, o) << sectionBytes
                        << screenLayout(*c.screen, cells, o);
                }
            }

            const QList<int> tiles {0, 1, 2};
            for (const Tileset* tileset : {&narrowTiles, &wideTiles}) {
                const ExportDataOptions o = options;
                QByteArray sectionBytes;
                for (const ExportSection& s : TilesetExchange::sections(*tileset, tiles, o))
                    sectionBytes += s.bytes;
                QTest::addRow("%s: %s", qPrintable(tag), qPrintable(tileset->name))
                    << assembler << TilesetExchange::text(*tileset, tiles, o) << sectionBytes
                    << tilesetLayout(*tileset, tiles, o);
            }

            QByteArray sectionBytes;
            for (const ExportSection& s : AnimationExport::sections(QStringLiteral("sprites"), walk, 0, -1, QSize(24, 21)))
                sectionBytes += s.bytes;
            QTest::addRow("%s: animation", qPrintable(tag))
                << assembler << AnimationExport::text(QStringLiteral("sprites"), walk, 0, -1, QSize(24, 21), options)
                << sectionBytes << animationLayout(walk, QSize(24, 21));
        }
    }
}

void AssemblersTest::exports()
{
    QFETCH(QString, assembler);
    QFETCH(QString, text);
    QFETCH(QByteArray, sectionBytes);
    QFETCH(QList<Part>, layout);

    QByteArray output;
    QString error;
    QVERIFY2(assemble(assembler, text, output, error), qPrintable(error + QStringLiteral("\n---\n") + text));

    // The assembler reads back exactly the bytes of the sections...
    QCOMPARE(hex(output), hex(sectionBytes));

    // ...and these are the bytes of the rules, coded sections decoded.
    int position = 0;
    for (const Part& part : layout) {
        if (part.code == 0) {
            const QByteArray written = output.mid(position, part.raw.size());
            QVERIFY2(written == part.raw, qPrintable(QStringLiteral("section %1 at %2: %3 instead of %4")
                                                         .arg(part.name)
                                                         .arg(position)
                                                         .arg(hex(written), hex(part.raw))));
            position += part.raw.size();
            continue;
        }
        const int start = position;
        QByteArray decoded;
        QString why;
        QVERIFY2(decodeAt(output, position, part.code / 8, part.raw.size(), decoded, why),
                 qPrintable(QStringLiteral("section %1 at %2: %3").arg(part.name).arg(start).arg(why)));
        QVERIFY2(decoded == part.raw, qPrintable(QStringLiteral("section %1 decodes to %2 instead of %3")
                                                     .arg(part.name, hex(decoded), hex(part.raw))));
        // The program's own decoder agrees.
        const QByteArray code = output.mid(start, position - start);
        bool ok = false;
        QCOMPARE(part.code == 16 ? Rle::decode16(code, &ok) : Rle::decode8(code, &ok), part.raw);
        QVERIFY(ok);
    }
    QCOMPARE(position, output.size());
}

QTEST_GUILESS_MAIN(AssemblersTest)
#include "tst_assemblers.moc"
