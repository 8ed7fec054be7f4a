// The binary project file: round trips, the exact byte layout, reading the
// older layouts 0.10.x and 0.11.x, rejected versions, malformed files and
// writing real files safely.

#include "model/projectfile.h"
#include "support/core/recordbytes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <functional>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace filetest;

namespace {

// ---------------------------------------------------------------------------
// A small project written field by field in the newest (0.12.0) layout.
// Every value that a test may want to change is a member, so that a single
// field can be set out of range while the rest of the file stays valid.
struct Small {
    // character set record
    qint32 slot = 5, width = 8, height = 8, byteCount = 8;
    qint32 colorSlot = 5;
    qint32 mode = 1, type = 0, gridW = 32, gridH = 8;
    qint32 setW = 8, setH = 8, setSize = 8; // imageWidth, imageHeight, imageSize
    qint32 bgR = 1, bgG = 2, bgB = 3, pxR = 4, pxG = 5, pxB = 6, imR = 7, imG = 8, imB = 9;
    qint32 layer = 2;
    // tile set record
    qint32 tileIndex = 300, tileW = 1, tileH = 1, indexCount = 1, colorCount = 1;
    qint32 setTileW = 1, setTileH = 1, gridX = 4, gridY = 2;
    // screen record
    qint32 cellX = 4, cellY = 6, colorX = 4, colorY = 6, screenW = 10, screenH = 12;

    // "name=value" sets one of the members above.
    bool apply(const QString& change)
    {
        static const QMap<QString, qint32 Small::*> fields {
            {"slot", &Small::slot},         {"width", &Small::width},
            {"height", &Small::height},     {"byteCount", &Small::byteCount},
            {"colorSlot", &Small::colorSlot}, {"mode", &Small::mode},
            {"type", &Small::type},         {"gridW", &Small::gridW},
            {"gridH", &Small::gridH},       {"bgR", &Small::bgR},
            {"setW", &Small::setW},         {"setH", &Small::setH},
            {"setSize", &Small::setSize},
            {"bgG", &Small::bgG},           {"bgB", &Small::bgB},
            {"pxR", &Small::pxR},           {"pxG", &Small::pxG},
            {"pxB", &Small::pxB},           {"imR", &Small::imR},
            {"imG", &Small::imG},           {"imB", &Small::imB},
            {"layer", &Small::layer},       {"tileIndex", &Small::tileIndex},
            {"tileW", &Small::tileW},       {"tileH", &Small::tileH},
            {"indexCount", &Small::indexCount}, {"colorCount", &Small::colorCount},
            {"setTileW", &Small::setTileW}, {"setTileH", &Small::setTileH},
            {"gridX", &Small::gridX},       {"gridY", &Small::gridY},
            {"cellX", &Small::cellX},       {"cellY", &Small::cellY},
            {"colorX", &Small::colorX},     {"colorY", &Small::colorY},
            {"screenW", &Small::screenW},   {"screenH", &Small::screenH},
        };
        const QStringList parts = change.split('=');
        if (parts.size() != 2 || !fields.contains(parts.at(0)))
            return false;
        bool ok = false;
        const qint64 value = parts.at(1).toLongLong(&ok);
        this->*fields.value(parts.at(0)) = qint32(value);
        return ok;
    }
};

// The file of Small, straight from the layout tables.
Bytes smallFile(const Small& s)
{
    Bytes b;
    b.version(0, 12, 0);

    // Character-set section: one image-set record.
    b.count("charset section", 1);
    b.mark("charset record").version(0, 12, 0).i32(0).str("Chars", "charset name length");
    b.count("image count", 1);
    b.i32(s.slot).i32(s.width).i32(s.height);
    b.count("image byte count", s.byteCount).raw(pattern(qMax(0, s.byteCount), 1));
    b.count("image colour count", 1).i32(s.colorSlot).u8(9);
    b.i32(s.mode).i32(s.setW).i32(s.setH).i32(s.setSize); // mode, imageWidth, imageHeight, imageSize
    b.i32(11).i32(12).i32(13).i32(14);         // colors 0-3
    b.i32(s.type);
    b.count("charset block colour count", 0);
    b.f64(2.5).u8(0).i32(s.gridW).i32(s.gridH); // selectorZoom, visible, grid
    b.count("charset multicolour sprite count", 0);
    b.i32(s.bgR).i32(s.bgG).i32(s.bgB).i32(s.pxR).i32(s.pxG).i32(s.pxB).i32(s.imR).i32(s.imG).i32(s.imB);
    b.f64(5.0);                                 // animation zoom
    b.count("animation count", 1).i32(30);     // speed
    b.count("frame count", 1).i32(2).i32(1);   // gridX, gridY
    b.i32(1).i32(-2).i32(3).i32(-4);           // offsetX per layer
    b.i32(-5).i32(6).i32(-7).i32(8);           // offsetY per layer
    b.count("placed image count", 1).i32(1).i32(0).i32(5).i32(s.layer);

    // Sprite-set section: a sprite set with one multicolour sprite, defaults otherwise.
    b.count("spriteset section", 1);
    b.mark("spriteset record").version(0, 12, 0).i32(1).str("Sp", "spriteset name length");
    b.count("sprite image count", 0);
    b.count("sprite colour count", 0);
    b.i32(0).i32(24).i32(21).i32(63).i32(6).i32(1).i32(2).i32(3).i32(1);
    b.count("sprite block colour count", 0);
    b.f64(3.0).u8(1).i32(16).i32(16);
    b.count("multicolour sprite count", 1).i32(3);
    b.i32(0).i32(0).i32(0).i32(160).i32(160).i32(160).i32(255).i32(255).i32(255);
    b.f64(4.0).count("sprite animation count", 0);

    // Block-set section: a multicolour block set with colours for block 4.
    b.count("blockset section", 1);
    b.mark("blockset record").version(0, 12, 0).i32(0).str("Bl", "blockset name length");
    b.count("block image count", 0);
    b.count("block image colour count", 0);
    b.i32(1).i32(8).i32(8).i32(8).i32(6).i32(1).i32(2).i32(3).i32(2);
    b.count("block colour count", 1).i32(4).i32(9).i32(10).i32(11);
    b.f64(3.0).u8(1).i32(32).i32(8);
    b.count("block multicolour sprite count", 0);
    b.i32(0).i32(0).i32(0).i32(160).i32(160).i32(160).i32(255).i32(255).i32(255);
    b.f64(4.0).count("block animation count", 0);

    // Tile-set section.
    b.count("tileset section", 1);
    b.mark("tileset record").version(0, 12, 0).i32(2).str("T", "tileset name length");
    b.i32(0).u8(1);                             // imagesetId, imagesetIsCharset
    b.count("tile count", 1).i32(s.tileIndex).i32(s.tileW).i32(s.tileH);
    b.count("tile index count", s.indexCount);
    for (int i = 0; i < s.indexCount; ++i)
        b.i32(258 + i);
    b.count("tile colour count", s.colorCount);
    for (int i = 0; i < s.colorCount; ++i)
        b.i32(7);
    b.i32(s.setTileW).i32(s.setTileH).f64(1.5).u8(0).u8(1).i32(s.gridX).i32(s.gridY);

    // Screen section.
    b.count("screen section", 1);
    b.mark("screen record").version(0, 12, 0).i32(3).str("S", "screen name length");
    b.i32(0x400002);                            // sourceRef: tile set 2
    b.count("cell count", 1).i32(s.cellX).i32(s.cellY).i32(300);
    b.count("colour cell count", 1).i32(s.colorX).i32(s.colorY).i32(5);
    b.i32(s.screenW).i32(s.screenH).f64(2.0).u8(0).u8(1);
    return b;
}

// The project Small describes with its default values, built from the model.
Project smallProject()
{
    Project project;
    auto chars = QSharedPointer<Imageset>::create(0, QStringLiteral("Chars"), 8, 8, Imageset::Charset);
    ImageData img(8, 8);
    img.bytes = pattern(8, 1);
    chars->images.insert(5, img);
    chars->imageColors.insert(5, 9);
    chars->mode = Imageset::MCM;
    chars->colors = {11, 12, 13, 14};
    chars->selectorZoom = 2.5;
    chars->selectorGridVisible = false;
    chars->backgroundColor = QColor(1, 2, 3);
    chars->pixelsGridColor = QColor(4, 5, 6);
    chars->imagesGridColor = QColor(7, 8, 9);
    chars->animations.zoom = 5.0;
    Animation animation;
    animation.speed = 30;
    animation.frames.append(frame(2, 1, {1, -2, 3, -4}, {-5, 6, -7, 8}, {placed(1, 0, 5, 2)}));
    chars->animations.animations.append(animation);
    project.charsets.append(chars);

    auto sprites = QSharedPointer<Imageset>::create(1, QStringLiteral("Sp"), 24, 21, Imageset::Spriteset);
    sprites->multiColorSprites.insert(3);
    project.spritesets.append(sprites);

    auto blocks = QSharedPointer<Imageset>::create(0, QStringLiteral("Bl"), 8, 8, Imageset::Blockset);
    blocks->mode = Imageset::MCM;
    blocks->blockColors.insert(4, BlockColors {9, 10, 11});
    project.blocksets.append(blocks);

    auto tiles = QSharedPointer<Tileset>::create();
    tiles->id = 2;
    tiles->name = QStringLiteral("T");
    tiles->imagesetId = 0;
    tiles->tiles.insert(300, tile(1, 1, {258}, {7}));
    tiles->zoom = 1.5;
    tiles->tilesGridVisible = false;
    tiles->gridSizeX = 4;
    tiles->gridSizeY = 2;
    project.tilesets.append(tiles);

    auto screen = QSharedPointer<Screen>::create();
    screen->id = 3;
    screen->name = QStringLiteral("S");
    screen->sourceRef = SourceRef::make(SourceRef::tilesetBit, 2);
    screen->cellIndexes.insert({4, 6}, 300);
    screen->cellColors.insert({4, 6}, 5);
    screen->width = 10;
    screen->height = 12;
    screen->zoom = 2.0;
    screen->outerGridVisible = false;
    screen->innerGridVisible = true;
    project.screens.append(screen);
    return project;
}

// Where two byte arrays first differ, for readable failures.
QString firstDifference(const QByteArray& expected, const QByteArray& actual)
{
    const int common = qMin(expected.size(), actual.size());
    for (int i = 0; i < common; ++i) {
        if (expected.at(i) != actual.at(i))
            return QStringLiteral("first difference at offset %1: expected 0x%2, got 0x%3")
                .arg(i)
                .arg(quint8(expected.at(i)), 2, 16, QLatin1Char('0'))
                .arg(quint8(actual.at(i)), 2, 16, QLatin1Char('0'));
    }
    if (expected.size() != actual.size())
        return QStringLiteral("sizes differ: expected %1 bytes, got %2").arg(expected.size()).arg(actual.size());
    return QStringLiteral("equal");
}

// A project that must survive a rejected read unchanged, compared by the
// identity of its items as well as by their contents.
struct Sentinel {
    Project project;
    QSharedPointer<Imageset> charset;
    QSharedPointer<Screen> screen;
    Imageset charsetCopy;
    Screen screenCopy;

    Sentinel()
    {
        charset = QSharedPointer<Imageset>::create(99, QStringLiteral("keep me"), 8, 8, Imageset::Charset);
        charset->images.insert(3, image(8, 8, 42));
        screen = QSharedPointer<Screen>::create(plainScreen());
        project.charsets.append(charset);
        project.screens.append(screen);
        charsetCopy = *charset;
        screenCopy = *screen;
    }

    bool untouched() const
    {
        return project.charsets.size() == 1 && project.charsets.at(0) == charset
            && *charset == charsetCopy && project.spritesets.isEmpty()
            && project.blocksets.isEmpty() && project.tilesets.isEmpty()
            && project.screens.size() == 1 && project.screens.at(0) == screen
            && *screen == screenCopy;
    }
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<cannot open>");
    return file.readAll();
}

bool writeRawFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The image-set record of an empty 8 x 8 character set with default values
// and the given name bytes, in the 0.12.0 layout.
QByteArray defaultCharsetRecord(qint32 id, const QByteArray& nameCount, const QByteArray& nameBytes)
{
    Bytes b;
    b.version(0, 12, 0).i32(id).raw(nameCount).raw(nameBytes);
    b.i32(0).i32(0);                                   // no images, no image colours
    b.i32(0).i32(8).i32(8).i32(8);                     // mode, imageWidth, imageHeight, imageSize
    b.i32(6).i32(1).i32(2).i32(3);                     // colors
    b.i32(0).i32(0);                                   // type, no block colours
    b.f64(3.0).u8(1).i32(32).i32(8).i32(0);           // zoom, visible, grid, no multicolour sprites
    b.i32(0).i32(0).i32(0).i32(160).i32(160).i32(160).i32(255).i32(255).i32(255);
    b.f64(4.0).i32(0);                                 // animation zoom, no animations
    return b.data;
}

QByteArray le32(qint32 value)
{
    Bytes b;
    b.i32(value);
    return b.data;
}

} // namespace

class ProjectFileTest : public QObject {
    Q_OBJECT

private slots:
    // ---------------------------------------------------------------- helpers
    void byteBuilderEncodesLittleEndian()
    {
        // The builder itself is checked against values worked out by hand,
        // so that the layout tests below rest on a known encoding.
        Bytes b;
        b.i32(0x12345678).i32(-1).i32(-2).u8(0xAB).f64(2.5).f64(-1.0);
        const QByteArray expected = QByteArray::fromHex("78563412"
                                                        "ffffffff"
                                                        "feffffff"
                                                        "ab"
                                                        "0000000000000440"  // 2.5 = 0x4004000000000000
                                                        "000000000000f0bf"); // -1.0 = 0xBFF0000000000000
        QCOMPARE(b.data, expected);
    }

    void equalityCoversEveryField()
    {
        // The round trips compare with operator==, so every field has to take
        // part in it: changing any one of them must make the copies differ.
        const Imageset base = richSpriteset();
        const QList<QPair<const char*, std::function<void(Imageset&)>>> imagesetChanges {
            {"id", [](Imageset& s) { s.id++; }},
            {"name", [](Imageset& s) { s.name += 'x'; }},
            {"image bytes", [](Imageset& s) { s.images[0].bytes[5] = char(s.images[0].bytes[5] ^ 1); }},
            {"image slot", [](Imageset& s) { s.images.insert(2, s.images.take(1)); }},
            {"imageColors", [](Imageset& s) { s.imageColors[0] = 3; }},
            {"multiColorSprites", [](Imageset& s) { s.multiColorSprites.remove(17); }},
            {"colors", [](Imageset& s) { s.colors[3] = 9; }},
            {"blockColors", [](Imageset& s) { s.blockColors.insert(1, BlockColors()); }},
            {"mode", [](Imageset& s) { s.mode = Imageset::SCM; }},
            {"imageWidth", [](Imageset& s) { s.imageWidth = 8; }},
            {"imageHeight", [](Imageset& s) { s.imageHeight = 8; }},
            {"imageSize", [](Imageset& s) { s.imageSize = 8; }},
            {"type", [](Imageset& s) { s.type = Imageset::Blockset; }},
            {"selectorZoom", [](Imageset& s) { s.selectorZoom = 3.0; }},
            {"selectorGridWidth", [](Imageset& s) { s.selectorGridWidth = 16; }},
            {"selectorGridHeight", [](Imageset& s) { s.selectorGridHeight = 16; }},
            {"selectorGridVisible", [](Imageset& s) { s.selectorGridVisible = true; }},
            {"backgroundColor", [](Imageset& s) { s.backgroundColor = QColor(0, 0, 0); }},
            {"pixelsGridColor", [](Imageset& s) { s.pixelsGridColor = QColor(0, 0, 0); }},
            {"imagesGridColor", [](Imageset& s) { s.imagesGridColor = QColor(0, 0, 0); }},
            {"animation zoom", [](Imageset& s) { s.animations.zoom = 4.0; }},
            {"animation speed", [](Imageset& s) { s.animations.animations[0].speed = 1; }},
            {"frame gridX", [](Imageset& s) { s.animations.animations[0].frames[0].gridX = 9; }},
            {"frame gridY", [](Imageset& s) { s.animations.animations[0].frames[0].gridY = 9; }},
            {"frame offsetX[3]", [](Imageset& s) { s.animations.animations[0].frames[0].offsetX[3] = 0; }},
            {"frame offsetY[2]", [](Imageset& s) { s.animations.animations[0].frames[0].offsetY[2] = 1; }},
            {"placed x", [](Imageset& s) { s.animations.animations[0].frames[0].placedImages[1].x = 7; }},
            {"placed y", [](Imageset& s) { s.animations.animations[0].frames[0].placedImages[1].y = 7; }},
            {"placed index", [](Imageset& s) { s.animations.animations[0].frames[0].placedImages[1].index = 7; }},
            {"placed layer", [](Imageset& s) { s.animations.animations[0].frames[0].placedImages[1].layer = 0; }},
            {"frame order", [](Imageset& s) { s.animations.animations[0].frames.swapItemsAt(0, 1); }},
        };
        for (const auto& change : imagesetChanges) {
            Imageset changed = base;
            change.second(changed);
            QVERIFY2(!(changed == base), change.first);
        }

        const Tileset tiles = richTileset();
        const QList<QPair<const char*, std::function<void(Tileset&)>>> tilesetChanges {
            {"id", [](Tileset& s) { s.id++; }},
            {"name", [](Tileset& s) { s.name.clear(); }},
            {"imagesetId", [](Tileset& s) { s.imagesetId = 5; }},
            {"imagesetIsCharset", [](Tileset& s) { s.imagesetIsCharset = true; }},
            {"tile index", [](Tileset& s) { s.tiles[0].indexes[4] = 1; }},
            {"tile colour", [](Tileset& s) { s.tiles[0].colors[0] = 0; }},
            {"tile key", [](Tileset& s) { s.tiles.insert(10, s.tiles.take(9)); }},
            {"tileWidth", [](Tileset& s) { s.tileWidth = 3; }},
            {"tileHeight", [](Tileset& s) { s.tileHeight = 2; }},
            {"zoom", [](Tileset& s) { s.zoom = 3.0; }},
            {"tilesGridVisible", [](Tileset& s) { s.tilesGridVisible = true; }},
            {"charsGridVisible", [](Tileset& s) { s.charsGridVisible = true; }},
            {"gridSizeX", [](Tileset& s) { s.gridSizeX = 1; }},
            {"gridSizeY", [](Tileset& s) { s.gridSizeY = 1; }},
        };
        for (const auto& change : tilesetChanges) {
            Tileset changed = tiles;
            change.second(changed);
            QVERIFY2(!(changed == tiles), change.first);
        }

        const Screen screen = richScreen();
        const QList<QPair<const char*, std::function<void(Screen&)>>> screenChanges {
            {"id", [](Screen& s) { s.id = 0; }},
            {"name", [](Screen& s) { s.name = "other"; }},
            {"sourceRef", [](Screen& s) { s.sourceRef = SourceRef::make(SourceRef::charsetBit, 3); }},
            {"cell index", [](Screen& s) { s.cellIndexes[{1, 0}] = 1; }},
            {"cell position", [](Screen& s) { s.cellIndexes.insert({1, 1}, s.cellIndexes.take({1, 0})); }},
            {"cell colour", [](Screen& s) { s.cellColors[{2, 2}] = 14; }},
            {"width", [](Screen& s) { s.width = 40; }},
            {"height", [](Screen& s) { s.height = 25; }},
            {"zoom", [](Screen& s) { s.zoom = 3.0; }},
            {"outerGridVisible", [](Screen& s) { s.outerGridVisible = true; }},
            {"innerGridVisible", [](Screen& s) { s.innerGridVisible = false; }},
        };
        for (const auto& change : screenChanges) {
            Screen changed = screen;
            change.second(changed);
            QVERIFY2(!(changed == screen), change.first);
        }
    }

    // ------------------------------------------------------------- round trip
    void roundTripKeepsEveryFieldAndOrder()
    {
        const Project original = richProject();
        const QByteArray bytes = ProjectFile::serialize(original);
        Project read;
        const ProjectReadResult result = ProjectFile::parse(bytes, read);
        QCOMPARE(result.status, ProjectReadResult::Ok);
        QCOMPARE(result.version, FileVersion::current());
        const QString difference = compareProjects(original, read);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));

        // List order is the project's order (identifiers 7 then 2, 3 then 1,
        // 4 then 0), not an order sorted by identifier or name.
        QCOMPARE(read.charsets.at(0)->id, 7);
        QCOMPARE(read.charsets.at(1)->id, 2);
        QCOMPARE(read.tilesets.at(0)->id, 3);
        QCOMPARE(read.tilesets.at(1)->id, 1);
        QCOMPARE(read.screens.at(0)->id, 4);
        QCOMPARE(read.screens.at(1)->id, 0);

        // A few fields spelled out, so that a failure names the field.
        QCOMPARE(read.charsets.at(0)->name, QStringLiteral("Zeichensätze ÄÖÜ ★"));
        QCOMPARE(read.charsets.at(1)->name, QString());
        QCOMPARE(read.spritesets.at(0)->multiColorSprites, (QSet<int> {1, 17, 399}));
        QCOMPARE(read.spritesets.at(0)->animations.animations.at(0).frames.at(0).offsetX,
                 (std::array<int, 4> {-4, 3, -128, 127}));
        QCOMPARE(read.blocksets.at(0)->blockColors.value(0).c2, 11);
        QCOMPARE(read.tilesets.at(0)->tiles.value(0).indexes,
                 (QVector<int> {0, 1, 256, 511, 65535, 2}));
        QCOMPARE(read.tilesets.at(0)->tiles.value(0).colors, (QVector<int> {-1, 1, 15, -1, 8, 0}));
        QCOMPARE(read.screens.at(0)->cellIndexes.value({16383, 5}), 65535);
        QCOMPARE(read.screens.at(0)->cellColors.value({2, 2}), 15);

        // Writing what was read gives the same bytes again.
        QCOMPARE(ProjectFile::serialize(read), bytes);
    }

    void roundTripOfEmptyProject()
    {
        // Five empty sections after the header: 3 + 5 i32 values.
        const QByteArray bytes = ProjectFile::serialize(Project());
        Bytes expected;
        expected.version(0, 12, 0).i32(0).i32(0).i32(0).i32(0).i32(0);
        QCOMPARE(bytes, expected.data);
        Sentinel target;
        QCOMPARE(ProjectFile::parse(bytes, target.project).status, ProjectReadResult::Ok);
        // A successful read replaces the whole project.
        QVERIFY(target.project.charsets.isEmpty());
        QVERIFY(target.project.screens.isEmpty());
    }

    void successfulReadReplacesProject()
    {
        Sentinel target;
        const Project rich = richProject();
        QCOMPARE(ProjectFile::parse(ProjectFile::serialize(rich), target.project).status, ProjectReadResult::Ok);
        const QString difference = compareProjects(rich, target.project);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void viewColoursGetFullAlpha()
    {
        // Only red, green and blue are stored; a colour read back is opaque.
        Project project;
        auto set = QSharedPointer<Imageset>::create(0, "a", 8, 8, Imageset::Charset);
        set->backgroundColor = QColor(10, 20, 30, 40);
        project.charsets.append(set);
        Project read;
        QCOMPARE(ProjectFile::parse(ProjectFile::serialize(project), read).status, ProjectReadResult::Ok);
        QCOMPARE(read.charsets.at(0)->backgroundColor, QColor(10, 20, 30, 255));
    }

    // ------------------------------------------------------- byte-exact layout
    void smallProjectHasExactLayout()
    {
        const QByteArray expected = smallFile(Small()).data;
        const QByteArray actual = ProjectFile::serialize(smallProject());
        QVERIFY2(actual == expected, qPrintable(firstDifference(expected, actual)));

        // Spot checks worked out by hand from the tables: the header is the
        // triple 0, 12, 0, the character-set count follows, then the first
        // record begins with its own version triple and the identifier 0.
        QCOMPARE(actual.left(28).toHex(), QByteArray("000000000c00000000000000"
                                                     "01000000"
                                                     "000000000c00000000000000"));
        // ... and the name "Chars": count 5, then the five bytes, no terminator.
        QCOMPARE(actual.mid(32, 9), QByteArray("\x05\x00\x00\x00" "Chars", 9));
        // The file ends with the screen's zoom 2.0 and the two grid flags 0, 1.
        QCOMPARE(actual.right(10).toHex(), QByteArray("00000000000000400001"));
    }

    void smallProjectReadsFromExactLayout()
    {
        Project read;
        const ProjectReadResult result = ProjectFile::parse(smallFile(Small()).data, read);
        QCOMPARE(result.status, ProjectReadResult::Ok);
        const QString difference = compareProjects(smallProject(), read);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void recordLayoutOfScreenCellsAscending()
    {
        // Cells are written in ascending (x, y) order, x first, whatever the
        // order they were set in.
        Screen screen;
        screen.id = 1;
        screen.name = "o";
        screen.cellIndexes.insert({2, 0}, 20);
        screen.cellIndexes.insert({1, 5}, 15);
        screen.cellIndexes.insert({1, 2}, 12);
        screen.cellColors.insert({3, 1}, 4);
        screen.cellColors.insert({0, 9}, 2);
        RecordWriter out;
        screen.save(out);

        Bytes expected;
        expected.version(0, 12, 0).i32(1).i32(1).raw("o");
        expected.i32(-1);                                             // sourceRef none
        expected.i32(3).i32(1).i32(2).i32(12).i32(1).i32(5).i32(15).i32(2).i32(0).i32(20);
        expected.i32(2).i32(0).i32(9).i32(2).i32(3).i32(1).i32(4);
        expected.i32(1).i32(1).f64(3.0).u8(1).u8(0);                 // size, zoom, grids
        QVERIFY2(out.bytes() == expected.data, qPrintable(firstDifference(expected.data, out.bytes())));
    }

    void recordLayoutOfTileAndAnimation()
    {
        // A 2 x 1 tile: both counts are width x height, row-major values.
        Tileset tiles;
        tiles.id = 0;
        tiles.name = "";
        tiles.imagesetId = -1;
        tiles.imagesetIsCharset = false;
        tiles.tileWidth = 2;
        tiles.tileHeight = 1;
        tiles.tiles.insert(7, tile(2, 1, {256, 3}, {-1, 15}));
        tiles.tiles.insert(1, tile(2, 1, {0, 0}, {-1, -1}));
        RecordWriter out;
        tiles.save(out);
        Bytes expected;
        expected.version(0, 12, 0).i32(0).i32(0);                    // id, empty name
        expected.i32(-1).u8(0).i32(2);                                // reference, 2 tiles
        expected.i32(1).i32(2).i32(1).i32(2).i32(0).i32(0).i32(2).i32(-1).i32(-1);
        expected.i32(7).i32(2).i32(1).i32(2).i32(256).i32(3).i32(2).i32(-1).i32(15);
        expected.i32(2).i32(1).f64(3.0).u8(1).u8(1).i32(1).i32(1);
        QVERIFY2(out.bytes() == expected.data, qPrintable(firstDifference(expected.data, out.bytes())));

        // An animation set: zoom, count, per animation speed and frames, per
        // frame grid, four offsetX, four offsetY and the placed images.
        Animationset animations;
        animations.zoom = 0.5;
        Animation a;
        a.speed = 3;
        a.frames.append(frame(1, 2, {-1, 2, -3, 4}, {5, -6, 7, -8}, {placed(0, 1, 300, 3), placed(2, 3, 4, 1)}));
        a.frames.append(frame(5, 6, {}, {}, {}));
        animations.animations = {a, Animation()};
        RecordWriter animOut;
        animations.save(animOut);
        Bytes anim;
        anim.f64(0.5).i32(2);
        anim.i32(3).i32(2);
        anim.i32(1).i32(2).i32(-1).i32(2).i32(-3).i32(4).i32(5).i32(-6).i32(7).i32(-8);
        anim.i32(2).i32(0).i32(1).i32(300).i32(3).i32(2).i32(3).i32(4).i32(1);
        anim.i32(5).i32(6).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0);
        anim.i32(50).i32(0);
        QVERIFY2(animOut.bytes() == anim.data, qPrintable(firstDifference(anim.data, animOut.bytes())));
    }

    void nameEncoding_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("countBytes");
        QTest::addColumn<QByteArray>("nameBytes");
        // An empty name is the count 0 and nothing else.
        QTest::newRow("empty") << QString() << QByteArray::fromHex("00000000") << QByteArray();
        QTest::newRow("ascii") << QStringLiteral("Chars") << QByteArray::fromHex("05000000")
                               << QByteArray("Chars");
        // UTF-8: a-umlaut and the three capitals take two bytes each, the
        // star three: 12 + 1 + 1 + 6 + 1 + 3 = 24 bytes, no terminator.
        QTest::newRow("non-ascii") << QStringLiteral("Zeichensätze ÄÖÜ ★")
                                   << QByteArray::fromHex("18000000")
                                   << QByteArray("Zeichens\xC3\xA4tze \xC3\x84\xC3\x96\xC3\x9C \xE2\x98\x85");
    }

    void nameEncoding()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, countBytes);
        QFETCH(QByteArray, nameBytes);
        const Imageset set(6, name, 8, 8, Imageset::Charset);
        RecordWriter out;
        set.save(out);
        const QByteArray expected = defaultCharsetRecord(6, countBytes, nameBytes);
        QVERIFY2(out.bytes() == expected, qPrintable(firstDifference(expected, out.bytes())));

        Imageset read;
        RecordReader in(expected);
        QVERIFY(read.load(in));
        QVERIFY(in.atEnd());
        QCOMPARE(read.name, name);
        QVERIFY(read == set);
    }

    void nameReading_data()
    {
        QTest::addColumn<QByteArray>("countBytes");
        QTest::addColumn<QByteArray>("nameBytes");
        QTest::addColumn<QString>("expected");
        // The text ends at the first zero byte inside it.
        QTest::newRow("embedded zero") << le32(5) << QByteArray("AB\0CD", 5) << QStringLiteral("AB");
        QTest::newRow("leading zero") << le32(3) << QByteArray("\0xy", 3) << QString();
        // A count of zero or less is the empty string, with no bytes after it.
        QTest::newRow("negative count") << le32(-1) << QByteArray() << QString();
        QTest::newRow("most negative count") << le32(qint32(0x80000000u)) << QByteArray() << QString();
    }

    void nameReading()
    {
        QFETCH(QByteArray, countBytes);
        QFETCH(QByteArray, nameBytes);
        QFETCH(QString, expected);
        const QByteArray record = defaultCharsetRecord(6, countBytes, nameBytes);
        Imageset read(1, "before", 8, 8, Imageset::Charset);
        RecordReader in(record);
        QVERIFY(read.load(in));
        QVERIFY(in.atEnd());
        QCOMPARE(read.name, expected);
        QCOMPARE(read.id, 6);
    }

    void nonZeroByteIsTrue()
    {
        // Booleans are 0 or 1 when written; any non-zero byte reads as true.
        Bytes b;
        b.version(0, 12, 0).i32(0).i32(0);
        b.i32(-1).u8(0x80).i32(0).i32(1).i32(1).f64(3.0).u8(0x02).u8(0xFF).i32(1).i32(1);
        Tileset read;
        read.imagesetIsCharset = false;
        read.tilesGridVisible = false;
        read.charsGridVisible = false;
        RecordReader in(b.data);
        QVERIFY(read.load(in));
        QVERIFY(read.imagesetIsCharset);
        QVERIFY(read.tilesGridVisible);
        QVERIFY(read.charsGridVisible);
    }

    void shortImagesAndTilesAreZeroFilled()
    {
        // A stored byte count below the image's storage fills the first bytes
        // of a zero-filled bitmap; fewer stored cells fill the first cells of
        // a tile whose other cells have index 0 and colour -1.
        Small s;
        s.byteCount = 3;
        s.tileW = s.setTileW = 2;
        s.tileH = s.setTileH = 2;
        s.indexCount = 2;
        s.colorCount = 1;
        Project read;
        QCOMPARE(ProjectFile::parse(smallFile(s).data, read).status, ProjectReadResult::Ok);
        const ImageData img = read.charsets.at(0)->images.value(5);
        QCOMPARE(img.width, 8);
        QCOMPARE(img.height, 8);
        QCOMPARE(img.bytesPerRow, 1);
        QCOMPARE(img.bytes, pattern(3, 1) + QByteArray(5, '\0'));
        const Tile t = read.tilesets.at(0)->tiles.value(300);
        QCOMPARE(t.indexes, (QVector<int> {258, 259, 0, 0}));
        QCOMPARE(t.colors, (QVector<int> {7, -1, -1, -1}));
    }

    void repeatedKeysKeepLaterValue()
    {
        // A slot or a cell position that occurs twice keeps the later entry.
        Bytes b;
        b.version(0, 12, 0).i32(0).i32(0);
        b.i32(2).i32(1).i32(8).i32(1).i32(1).u8(0x11).i32(1).i32(8).i32(8).i32(1).u8(0x22);
        b.i32(2).i32(1).u8(3).i32(1).u8(4);
        b.i32(0).i32(8).i32(8).i32(8).i32(6).i32(1).i32(2).i32(3).i32(0);
        b.i32(2).i32(0).i32(1).i32(1).i32(1).i32(0).i32(2).i32(2).i32(2);
        b.f64(3.0).u8(1).i32(32).i32(8).i32(0);
        b.i32(0).i32(0).i32(0).i32(160).i32(160).i32(160).i32(255).i32(255).i32(255);
        b.f64(4.0).i32(0);
        Imageset set;
        RecordReader in(b.data);
        QVERIFY(set.load(in));
        QVERIFY(in.atEnd());
        QCOMPARE(set.images.size(), 1);
        QCOMPARE(set.images.value(1).bytes, QByteArray("\x22\0\0\0\0\0\0\0", 8));
        QCOMPARE(set.imageColors.value(1), 4);
        QCOMPARE(set.blockColors.value(0).c0, 2);

        Bytes s;
        s.version(0, 12, 0).i32(0).i32(0).i32(-1);
        s.i32(2).i32(3).i32(4).i32(10).i32(3).i32(4).i32(11);
        s.i32(2).i32(3).i32(4).i32(1).i32(3).i32(4).i32(2);
        s.i32(5).i32(5).f64(1.0).u8(1).u8(1);
        Screen screen;
        RecordReader screenIn(s.data);
        QVERIFY(screen.load(screenIn));
        QCOMPARE(screen.cellIndexes.size(), 1);
        QCOMPARE(screen.cellIndexes.value({3, 4}), 11);
        QCOMPARE(screen.cellColors.value({3, 4}), 2);
    }

    void negativeCollectionCountIsEmpty_data()
    {
        QTest::addColumn<QString>("label");
        for (const char* label : {"charset block colour count", "charset multicolour sprite count",
                                  "sprite image count", "sprite animation count"})
            QTest::newRow(label) << QString(label);
    }

    void negativeCollectionCountIsEmpty()
    {
        // A count of zero or less is an empty collection; the file is read on.
        QFETCH(QString, label);
        Bytes b = smallFile(Small());
        bool found = false;
        for (const Bytes::CountPos& pos : qAsConst(b.counts)) {
            if (pos.label == label) {
                QCOMPARE(b.data.mid(pos.offset, 4), le32(0));
                putI32(b.data, pos.offset, -7);
                found = true;
            }
        }
        QVERIFY(found);
        Project read;
        QCOMPARE(ProjectFile::parse(b.data, read).status, ProjectReadResult::Ok);
        const QString difference = compareProjects(smallProject(), read);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // ------------------------------------------------------------ old layouts
    void readsVersion_0_10_0()
    {
        Bytes b;
        b.version(0, 10, 0);

        // Character set: kind flag 1, no type, no block colours, no grid size.
        b.i32(1);
        b.version(0, 10, 0).i32(4).str("Alt");
        b.i32(1).i32(65).i32(8).i32(8).i32(8).raw(pattern(8, 3)); // one image in slot 65
        b.i32(1).i32(65).u8(12);                                  // its colour
        b.i32(1).i32(8).i32(8).i32(8);                            // mode, width, height, size
        b.i32(0).i32(5).i32(10).i32(15);                          // colors
        b.u8(1);                                                  // kind flag: character set
        b.f64(2.0).u8(1);                                         // selector zoom and grid
        b.i32(0);                                                 // multicolour sprites
        b.i32(1).i32(2).i32(3).i32(4).i32(5).i32(6).i32(7).i32(8).i32(9);
        b.f64(3.0).i32(1).i32(25).i32(1);                         // one animation, one frame
        b.i32(2).i32(1).i32(5).i32(7);                            // grid, one offset pair
        b.i32(1).i32(1).i32(0).i32(65).i32(0);                    // one placed image

        // Sprite set: kind flag 0.
        b.i32(1);
        b.version(0, 10, 0).i32(1).str("Sp");
        b.i32(1).i32(3).i32(24).i32(21).i32(63).raw(pattern(63, 4));
        b.i32(0);
        b.i32(0).i32(24).i32(21).i32(63).i32(6).i32(1).i32(2).i32(3);
        b.u8(0);                                                  // kind flag: sprite set
        b.f64(3.0).u8(0);
        b.i32(1).i32(3);                                          // sprite 3 is multicolour
        b.i32(0).i32(0).i32(0).i32(160).i32(160).i32(160).i32(255).i32(255).i32(255);
        b.f64(4.0).i32(0);

        // No block-set section: the tile-set section follows directly.
        b.i32(1);
        b.version(0, 10, 0).i32(0).str("Kacheln");
        b.i32(4);                                                 // imagesetId, no charset flag
        b.i32(1).i32(2).i32(2).i32(2);                            // tile 2, 2 x 2
        b.i32(4).u8(1).u8(200).u8(255).u8(0);                     // indexes as bytes
        b.i32(4).u8(255).u8(254).u8(0).u8(7);                     // colours as bytes
        b.i32(2).i32(2).i32(99);                                  // tile size, obsolete value
        b.f64(2.0).u8(0).u8(1).i32(8).i32(4);

        // Screen: a plain tile-set identifier, no colour cells.
        b.i32(1);
        b.version(0, 10, 0).i32(0).str("Level");
        b.i32(3);
        b.i32(2).i32(0).i32(0).i32(2).i32(1).i32(0).i32(2);
        b.i32(40).i32(25).f64(2.0).u8(1).u8(0);

        Sentinel target;
        const ProjectReadResult result = ProjectFile::parse(b.data, target.project);
        QCOMPARE(result.status, ProjectReadResult::Ok);
        QCOMPARE(result.version, (FileVersion {0, 10, 0}));
        const Project& p = target.project;
        QCOMPARE(p.charsets.size(), 1);
        QCOMPARE(p.spritesets.size(), 1);
        QCOMPARE(p.blocksets.size(), 0);
        QCOMPARE(p.tilesets.size(), 1);
        QCOMPARE(p.screens.size(), 1);

        Imageset chars(4, "Alt", 8, 8, Imageset::Charset);
        ImageData img(8, 8);
        img.bytes = pattern(8, 3);
        chars.images.insert(65, img);
        chars.imageColors.insert(65, 12);
        chars.mode = Imageset::MCM;
        chars.colors = {0, 5, 10, 15};
        chars.selectorZoom = 2.0;
        chars.backgroundColor = QColor(1, 2, 3);
        chars.pixelsGridColor = QColor(4, 5, 6);
        chars.imagesGridColor = QColor(7, 8, 9);
        chars.animations.zoom = 3.0;
        Animation anim;
        anim.speed = 25;
        anim.frames.append(frame(2, 1, {5, 5, 5, 5}, {7, 7, 7, 7}, {placed(1, 0, 65, 0)}));
        chars.animations.animations.append(anim);
        const Imageset& readChars = *p.charsets.at(0);
        QCOMPARE(readChars.type, Imageset::Charset);
        QCOMPARE(readChars.selectorGridWidth, 32);
        QCOMPARE(readChars.selectorGridHeight, 8);
        QVERIFY(readChars.blockColors.isEmpty());
        QCOMPARE(readChars.animations.animations.at(0).frames.at(0).offsetX, (std::array<int, 4> {5, 5, 5, 5}));
        QCOMPARE(readChars.animations.animations.at(0).frames.at(0).offsetY, (std::array<int, 4> {7, 7, 7, 7}));
        QVERIFY(readChars == chars);

        Imageset sprites(1, "Sp", 24, 21, Imageset::Spriteset);
        ImageData sprite(24, 21);
        sprite.bytes = pattern(63, 4);
        sprites.images.insert(3, sprite);
        sprites.selectorGridVisible = false;
        sprites.multiColorSprites.insert(3);
        const Imageset& readSprites = *p.spritesets.at(0);
        QCOMPARE(readSprites.type, Imageset::Spriteset);
        QCOMPARE(readSprites.selectorGridWidth, 16);
        QCOMPARE(readSprites.selectorGridHeight, 16);
        QVERIFY(readSprites == sprites);

        const Tileset& tiles = *p.tilesets.at(0);
        QCOMPARE(tiles.imagesetId, 4);
        QVERIFY(tiles.imagesetIsCharset);
        // Index bytes widen unchanged (255 too); colour byte 255 is an empty
        // cell (-1), 254 stays 254.
        QCOMPARE(tiles.tiles.value(2).indexes, (QVector<int> {1, 200, 255, 0}));
        QCOMPARE(tiles.tiles.value(2).colors, (QVector<int> {-1, 254, 0, 7}));
        QCOMPARE(tiles.tileWidth, 2);
        QCOMPARE(tiles.tileHeight, 2);
        QCOMPARE(tiles.zoom, 2.0);
        QVERIFY(!tiles.tilesGridVisible);
        QVERIFY(tiles.charsGridVisible);
        QCOMPARE(tiles.gridSizeX, 8);
        QCOMPARE(tiles.gridSizeY, 4);

        const Screen& screen = *p.screens.at(0);
        QCOMPARE(screen.sourceRef, 3 | 0x400000);
        QCOMPARE(screen.cellIndexes.size(), 2);
        QCOMPARE(screen.cellIndexes.value({1, 0}), 2);
        QVERIFY(screen.cellColors.isEmpty());
        QCOMPARE(screen.width, 40);
        QCOMPARE(screen.height, 25);
        QVERIFY(screen.outerGridVisible);
        QVERIFY(!screen.innerGridVisible);
    }

    void readsVersion_0_11_5()
    {
        Bytes b;
        b.version(0, 11, 5);
        b.i32(0);                                                 // no character sets

        // Sprite set: type and block colours present, no grid size, one
        // offset pair per frame.
        b.i32(1);
        b.version(0, 11, 5).i32(0).str("Figuren");
        b.i32(0).i32(0);
        b.i32(0).i32(24).i32(21).i32(63).i32(6).i32(1).i32(2).i32(3);
        b.i32(1).i32(0);                                          // type 1, no block colours
        b.f64(3.0).u8(1);
        b.i32(0);
        b.i32(0).i32(0).i32(0).i32(160).i32(160).i32(160).i32(255).i32(255).i32(255);
        b.f64(4.5).i32(1).i32(12).i32(2);                         // one animation of two frames
        b.i32(1).i32(1).i32(5).i32(7);
        b.i32(2).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(1).i32(1);
        b.i32(2).i32(2).i32(-3).i32(0);
        b.i32(0);

        // Block set section exists from 0.11.0 on.
        b.i32(1);
        b.version(0, 11, 5).i32(2).str("Blöcke");
        b.i32(1).i32(0).i32(8).i32(8).i32(8).raw(pattern(8, 5));
        b.i32(0);
        b.i32(1).i32(8).i32(8).i32(8).i32(6).i32(1).i32(2).i32(3);
        b.i32(2).i32(1).i32(0).i32(9).i32(10).i32(11);            // type 2, block colours of 0
        b.f64(3.0).u8(1);
        b.i32(0);
        b.i32(0).i32(0).i32(0).i32(160).i32(160).i32(160).i32(255).i32(255).i32(255);
        b.f64(4.0).i32(0);

        // Tile set: charset flag present, cells as i32, no obsolete value.
        b.i32(1);
        b.version(0, 11, 5).i32(1).str("");
        b.i32(2).u8(0);
        b.i32(1).i32(0).i32(1).i32(1).i32(1).i32(513).i32(1).i32(-1);
        b.i32(1).i32(1).f64(3.0).u8(1).u8(1).i32(16).i32(16);

        // Screen: plain tile-set identifier 3, no colour cells.
        b.i32(2);
        b.version(0, 11, 5).i32(5).str("S");
        b.i32(3);
        b.i32(1).i32(2).i32(3).i32(7);
        b.i32(20).i32(10).f64(1.0).u8(0).u8(1);
        // A screen without a tile set stored -1, which stays "none".
        b.version(0, 11, 5).i32(6).str("N");
        b.i32(-1).i32(0).i32(1).i32(1).f64(1.0).u8(1).u8(0);

        Project p;
        const ProjectReadResult result = ProjectFile::parse(b.data, p);
        QCOMPARE(result.status, ProjectReadResult::Ok);
        QCOMPARE(result.version, (FileVersion {0, 11, 5}));
        QCOMPARE(p.charsets.size(), 0);
        QCOMPARE(p.spritesets.size(), 1);
        QCOMPARE(p.blocksets.size(), 1);
        QCOMPARE(p.tilesets.size(), 1);
        QCOMPARE(p.screens.size(), 2);

        const Imageset& sprites = *p.spritesets.at(0);
        QCOMPARE(sprites.type, Imageset::Spriteset);
        QCOMPARE(sprites.selectorGridWidth, 16);
        QCOMPARE(sprites.selectorGridHeight, 16);
        QCOMPARE(sprites.animations.zoom, 4.5);
        QCOMPARE(sprites.animations.animations.size(), 1);
        const Animation& anim = sprites.animations.animations.at(0);
        QCOMPARE(anim.speed, 12);
        QCOMPARE(anim.frames.size(), 2);
        QCOMPARE(anim.frames.at(0).offsetX, (std::array<int, 4> {5, 5, 5, 5}));
        QCOMPARE(anim.frames.at(0).offsetY, (std::array<int, 4> {7, 7, 7, 7}));
        QCOMPARE(anim.frames.at(0).placedImages,
                 (QList<PlacedImage> {placed(0, 0, 0, 0), placed(0, 0, 1, 1)}));
        QCOMPARE(anim.frames.at(1).gridX, 2);
        QCOMPARE(anim.frames.at(1).offsetX, (std::array<int, 4> {-3, -3, -3, -3}));
        QCOMPARE(anim.frames.at(1).offsetY, (std::array<int, 4> {0, 0, 0, 0}));
        QVERIFY(anim.frames.at(1).placedImages.isEmpty());

        const Imageset& blocks = *p.blocksets.at(0);
        QCOMPARE(blocks.type, Imageset::Blockset);
        QCOMPARE(blocks.name, QStringLiteral("Blöcke"));
        QCOMPARE(blocks.selectorGridWidth, 32);
        QCOMPARE(blocks.selectorGridHeight, 8);
        QCOMPARE(blocks.blockColors.size(), 1);
        QVERIFY(blocks.blockColors.value(0) == (BlockColors {9, 10, 11}));
        QCOMPARE(blocks.images.value(0).bytes, pattern(8, 5));

        const Tileset& tiles = *p.tilesets.at(0);
        QCOMPARE(tiles.name, QString());
        QCOMPARE(tiles.imagesetId, 2);
        QVERIFY(!tiles.imagesetIsCharset);
        QCOMPARE(tiles.tiles.value(0).indexes, (QVector<int> {513}));
        QCOMPARE(tiles.tiles.value(0).colors, (QVector<int> {-1}));
        QCOMPARE(tiles.gridSizeX, 16);

        const Screen& screen = *p.screens.at(0);
        QCOMPARE(screen.sourceRef, 3 | 0x400000);
        QCOMPARE(screen.cellIndexes.value({2, 3}), 7);
        QVERIFY(screen.cellColors.isEmpty());
        QCOMPARE(screen.width, 20);
        QCOMPARE(screen.height, 10);
        QCOMPARE(p.screens.at(1)->sourceRef, -1);
    }

    void readsVersion_0_12_0()
    {
        // The newest layout, built by hand above, with a 0.12.0 header.
        Sentinel target;
        const ProjectReadResult result = ProjectFile::parse(smallFile(Small()).data, target.project);
        QCOMPARE(result.status, ProjectReadResult::Ok);
        QCOMPARE(result.version, (FileVersion {0, 12, 0}));
        QCOMPARE(target.project.screens.at(0)->sourceRef, 0x400002);
        QCOMPARE(target.project.screens.at(0)->cellColors.value({4, 6}), 5);
    }

    void imagesetLayoutFollowsRecordVersion_data()
    {
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("patch");
        QTest::addColumn<int>("flagOrType"); // kind flag byte before 0.11.0, type after
        QTest::addColumn<Imageset::Type>("expectedType");
        QTest::addColumn<int>("expectedGridWidth");
        QTest::addColumn<int>("expectedGridHeight");
        // Before 0.11.0: a non-zero kind flag is a character set (32 x 8),
        // zero a sprite set (16 x 16).
        QTest::newRow("0.10.0 flag 0") << 10 << 0 << 0 << Imageset::Spriteset << 16 << 16;
        QTest::newRow("0.10.0 flag 1") << 10 << 0 << 1 << Imageset::Charset << 32 << 8;
        QTest::newRow("0.10.9 flag 7") << 10 << 9 << 7 << Imageset::Charset << 32 << 8;
        // 0.11.x: a type field, still no grid size stored.
        QTest::newRow("0.11.0 charset") << 11 << 0 << 0 << Imageset::Charset << 32 << 8;
        QTest::newRow("0.11.0 spriteset") << 11 << 0 << 1 << Imageset::Spriteset << 16 << 16;
        QTest::newRow("0.11.7 blockset") << 11 << 7 << 2 << Imageset::Blockset << 32 << 8;
        // 0.12.0: the stored grid size (5 x 9 here) is used.
        QTest::newRow("0.12.0 spriteset") << 12 << 0 << 1 << Imageset::Spriteset << 5 << 9;
    }

    void imagesetLayoutFollowsRecordVersion()
    {
        QFETCH(int, minor);
        QFETCH(int, patch);
        QFETCH(int, flagOrType);
        QFETCH(Imageset::Type, expectedType);
        QFETCH(int, expectedGridWidth);
        QFETCH(int, expectedGridHeight);
        Bytes b;
        b.version(0, minor, patch).i32(1).str("x");
        // Sprites are 24 x 21 pixels in 63 bytes, the others 8 x 8 in 8.
        const bool sprites = expectedType == Imageset::Spriteset;
        b.i32(0).i32(0).i32(0).i32(sprites ? 24 : 8).i32(sprites ? 21 : 8).i32(sprites ? 63 : 8);
        b.i32(6).i32(1).i32(2).i32(3);
        if (minor < 11)
            b.u8(quint8(flagOrType));
        else
            b.i32(flagOrType).i32(0);
        b.f64(3.0).u8(1);
        if (minor >= 12)
            b.i32(5).i32(9);
        b.i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0);
        b.f64(4.0).i32(1).i32(50).i32(1).i32(1).i32(1);
        if (minor >= 12)
            b.i32(1).i32(2).i32(3).i32(4).i32(5).i32(6).i32(7).i32(8);
        else
            b.i32(-2).i32(6);
        b.i32(0);

        Imageset set;
        RecordReader in(b.data);
        QVERIFY(set.load(in));
        QVERIFY(in.atEnd());
        QCOMPARE(set.type, expectedType);
        QCOMPARE(set.selectorGridWidth, expectedGridWidth);
        QCOMPARE(set.selectorGridHeight, expectedGridHeight);
        const AnimationFrame& f = set.animations.animations.at(0).frames.at(0);
        if (minor >= 12) {
            QCOMPARE(f.offsetX, (std::array<int, 4> {1, 2, 3, 4}));
            QCOMPARE(f.offsetY, (std::array<int, 4> {5, 6, 7, 8}));
        } else {
            QCOMPARE(f.offsetX, (std::array<int, 4> {-2, -2, -2, -2}));
            QCOMPARE(f.offsetY, (std::array<int, 4> {6, 6, 6, 6}));
        }
    }

    void oldRecordInsideNewFile()
    {
        // The header decides the sections, each record's own version its
        // layout: a 0.12.0 file may carry a 0.10.0 tile-set record.
        Bytes b;
        b.version(0, 12, 0).i32(0).i32(0).i32(0).i32(1);
        b.version(0, 10, 0).i32(8).str("old");
        b.i32(-1).i32(1).i32(0).i32(1).i32(1).i32(1).u8(44).i32(1).u8(255);
        b.i32(1).i32(1).i32(0).f64(3.0).u8(1).u8(1).i32(1).i32(1);
        b.i32(0);
        Project p;
        QCOMPARE(ProjectFile::parse(b.data, p).status, ProjectReadResult::Ok);
        QCOMPARE(p.tilesets.size(), 1);
        QCOMPARE(p.tilesets.at(0)->tiles.value(0).indexes, (QVector<int> {44}));
        QCOMPARE(p.tilesets.at(0)->tiles.value(0).colors, (QVector<int> {-1}));
        QVERIFY(p.tilesets.at(0)->imagesetIsCharset);
    }

    // ------------------------------------------------------- rejected versions
    void rejectsUnknownHeaderVersion_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("patch");
        QTest::newRow("0.12.1") << 0 << 12 << 1;
        QTest::newRow("0.13.0") << 0 << 13 << 0;
        QTest::newRow("1.0.0") << 1 << 0 << 0;
        QTest::newRow("0.9.9") << 0 << 9 << 9;
        QTest::newRow("-1.0.0") << -1 << 0 << 0;
        QTest::newRow("0.10.-1") << 0 << 10 << -1;
        QTest::newRow("0.-1.0") << 0 << -1 << 0;
    }

    void rejectsUnknownHeaderVersion()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, patch);
        // Otherwise a valid file: only the header version is wrong.
        QByteArray bytes = smallFile(Small()).data;
        putI32(bytes, 0, major);
        putI32(bytes, 4, minor);
        putI32(bytes, 8, patch);
        Sentinel target;
        const ProjectReadResult result = ProjectFile::parse(bytes, target.project);
        QCOMPARE(result.status, ProjectReadResult::UnknownVersion);
        QCOMPARE(result.version, (FileVersion {major, minor, patch}));
        QVERIFY(!result.ok());
        QVERIFY(target.untouched());
    }

    void acceptsVersionBounds()
    {
        // 0.12.0 is the newest accepted; 0.10.0 the oldest (shown above with a
        // whole file). An empty 0.10.0 file has four sections, no block sets.
        Bytes b;
        b.version(0, 10, 0).i32(0).i32(0).i32(0).i32(0);
        Project p;
        QCOMPARE(ProjectFile::parse(b.data, p).status, ProjectReadResult::Ok);
        // The same four sections under a 0.11.0 header lack the fifth.
        putI32(b.data, 4, 11);
        QCOMPARE(ProjectFile::parse(b.data, p).status, ProjectReadResult::Malformed);
        b.i32(0);
        QCOMPARE(ProjectFile::parse(b.data, p).status, ProjectReadResult::Ok);
    }

    // ---------------------------------------------------------- malformed files
    void rejectsEveryTruncation()
    {
        const QByteArray bytes = ProjectFile::serialize(richProject());
        QVERIFY(bytes.size() > 1000);
        for (int length = 0; length < bytes.size(); ++length) {
            Sentinel target;
            const ProjectReadResult result = ProjectFile::parse(bytes.left(length), target.project);
            if (result.status != ProjectReadResult::Malformed || !target.untouched())
                QFAIL(qPrintable(QStringLiteral("prefix of %1 of %2 bytes: status %3, project %4")
                                     .arg(length)
                                     .arg(bytes.size())
                                     .arg(int(result.status))
                                     .arg(target.untouched() ? "untouched" : "changed")));
        }
        // The whole file still reads.
        Project p;
        QCOMPARE(ProjectFile::parse(bytes, p).status, ProjectReadResult::Ok);
    }

    void rejectsHostileCounts_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<qint32>("value");
        const Bytes b = smallFile(Small());
        QVERIFY(b.counts.size() >= 30);
        for (const Bytes::CountPos& pos : b.counts) {
            // Larger than any file: must be refused before anything is built.
            QTest::newRow(qPrintable(pos.label + " = 0x7FFFFFFF")) << pos.offset << qint32(0x7FFFFFFF);
            QTest::newRow(qPrintable(pos.label + " = 0x7FFFFFF0")) << pos.offset << qint32(0x7FFFFFF0);
            // The most negative value is an empty collection; where entries
            // follow, they are then misread, and the file cannot end where it does.
            const qint32 stored = qFromLittleEndian<qint32>(b.data.constData() + pos.offset);
            if (stored > 0)
                QTest::newRow(qPrintable(pos.label + " = 0x80000000")) << pos.offset << qint32(0x80000000u);
            // One more entry than the file holds.
            QTest::newRow(qPrintable(pos.label + " + 1")) << pos.offset << qint32(stored + 1);
        }
    }

    void rejectsHostileCounts()
    {
        QFETCH(int, offset);
        QFETCH(qint32, value);
        QByteArray bytes = smallFile(Small()).data;
        putI32(bytes, offset, value);
        Sentinel target;
        QElapsedTimer timer;
        timer.start();
        const ProjectReadResult result = ProjectFile::parse(bytes, target.project);
        QCOMPARE(result.status, ProjectReadResult::Malformed);
        QVERIFY(target.untouched());
        // Refused at once, without building or scanning 2^31 entries.
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    }

    void rejectsStringPastEnd_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("extra"); // bytes beyond what is left after the count
        QTest::newRow("last name, one byte too long") << "screen name length" << 1;
        QTest::newRow("last name, far too long") << "screen name length" << 1000000;
        QTest::newRow("first name past the end") << "charset name length" << 1;
        QTest::newRow("tile-set name past the end") << "tileset name length" << 5;
    }

    void rejectsStringPastEnd()
    {
        QFETCH(QString, label);
        QFETCH(int, extra);
        Bytes b = smallFile(Small());
        int offset = -1;
        for (const Bytes::CountPos& pos : qAsConst(b.counts)) {
            if (pos.label == label)
                offset = pos.offset;
        }
        QVERIFY(offset >= 0);
        const int left = b.size() - offset - 4;
        putI32(b.data, offset, left + extra);
        Sentinel target;
        QCOMPARE(ProjectFile::parse(b.data, target.project).status, ProjectReadResult::Malformed);
        QVERIFY(target.untouched());
    }

    void rejectsUnknownRecordVersion_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("patch");
        for (const char* record : {"charset record", "spriteset record", "blockset record",
                                   "tileset record", "screen record"}) {
            QTest::newRow(qPrintable(QString(record) + " 0.13.0")) << QString(record) << 0 << 13 << 0;
            QTest::newRow(qPrintable(QString(record) + " 0.12.1")) << QString(record) << 0 << 12 << 1;
            QTest::newRow(qPrintable(QString(record) + " 0.9.9")) << QString(record) << 0 << 9 << 9;
        }
    }

    void rejectsUnknownRecordVersion()
    {
        QFETCH(QString, record);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, patch);
        Bytes b = smallFile(Small());
        QVERIFY(b.marks.contains(record));
        const int offset = b.marks.value(record);
        // The record starts with the version the writer always uses.
        QCOMPARE(b.data.mid(offset, 12), QByteArray::fromHex("000000000c00000000000000"));
        putI32(b.data, offset, major);
        putI32(b.data, offset + 4, minor);
        putI32(b.data, offset + 8, patch);
        Sentinel target;
        const ProjectReadResult result = ProjectFile::parse(b.data, target.project);
        QCOMPARE(result.status, ProjectReadResult::Malformed);
        QCOMPARE(result.version, FileVersion::current()); // the header's version
        QVERIFY(target.untouched());
    }

    void rejectsTrailingBytes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("tail");
        const QByteArray small = smallFile(Small()).data;
        const QByteArray rich = ProjectFile::serialize(richProject());
        const QByteArray empty = ProjectFile::serialize(Project());
        QTest::newRow("one zero byte") << small << QByteArray(1, '\0');
        QTest::newRow("an i32 zero") << small << QByteArray(4, '\0');
        QTest::newRow("text") << rich << QByteArray("garbage");
        QTest::newRow("a second project") << empty << empty;
    }

    void rejectsTrailingBytes()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, tail);
        Project p;
        QCOMPARE(ProjectFile::parse(file, p).status, ProjectReadResult::Ok);
        Sentinel target;
        QCOMPARE(ProjectFile::parse(file + tail, target.project).status, ProjectReadResult::Malformed);
        QVERIFY(target.untouched());
    }

    void rangeRules_data()
    {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<bool>("accepted");

        auto row = [](const char* name, QStringList changes, bool accepted) {
            QTest::newRow(name) << changes << accepted;
        };
        row("unchanged", {}, true);

        // Image width: a whole number of bytes per row, 8 to 64 pixels.
        row("width 0", {"width=0"}, false);
        row("width -8", {"width=-8"}, false);
        row("width 7", {"width=7"}, false);
        row("width 12", {"width=12"}, false);
        row("width 72", {"width=72"}, false);
        // Every image has the size of its set's images.
        row("width 16", {"width=16"}, false);
        row("width 64", {"width=64"}, false);
        // Image height: 1 to 64 rows.
        row("height 0", {"height=0"}, false);
        row("height -1", {"height=-1"}, false);
        row("height 65", {"height=65"}, false);
        row("height 1", {"height=1", "byteCount=1"}, false);
        row("height 64", {"height=64"}, false);
        // Stored byte count: 0 up to bytesPerRow x height.
        row("byte count 9 for 8 bytes", {"byteCount=9"}, false);
        row("byte count 65 for 64", {"width=64", "height=8", "byteCount=65"}, false);
        row("byte count -1", {"byteCount=-1"}, false);
        row("byte count 0", {"byteCount=0"}, true);
        row("byte count 64 of 64 in a wrong-sized image", {"width=64", "height=8", "byteCount=64"}, false);
        // Slot index 0 to 65535.
        row("slot -1", {"slot=-1"}, false);
        row("slot 65536", {"slot=65536"}, false);
        row("slot 65535", {"slot=65535"}, true);
        row("slot 0", {"slot=0"}, true);
        // Mode and type 0 to 2.
        row("mode -1", {"mode=-1"}, false);
        row("mode 3", {"mode=3"}, false);
        row("mode 2", {"mode=2"}, true);
        row("type -1", {"type=-1"}, false);
        row("type 3", {"type=3"}, false);
        row("type 2", {"type=2"}, true);
        // The image size, byte size and mode fit the kind of set.
        row("sprite set of 8 x 8 images", {"type=1"}, false);
        row("extended colour mode in a block set", {"type=2", "mode=2"}, false);
        row("character set of 16 x 8", {"setW=16", "width=16", "byteCount=16"}, false);
        row("character set of 8 x 16", {"setH=16", "height=16", "byteCount=16"}, false);
        row("image size 9", {"setSize=9"}, false);
        row("image size 0", {"setSize=0"}, false);
        // Selector grid 1 to 256 each way.
        row("grid width 0", {"gridW=0"}, false);
        row("grid width 257", {"gridW=257"}, false);
        row("grid width -1", {"gridW=-1"}, false);
        row("grid width 1", {"gridW=1"}, true);
        row("grid width 256", {"gridW=256"}, true);
        row("grid height 0", {"gridH=0"}, false);
        row("grid height 257", {"gridH=257"}, false);
        row("grid height 256", {"gridH=256"}, true);
        // Colour components 0 to 255, each of the nine.
        for (const char* c : {"bgR", "bgG", "bgB", "pxR", "pxG", "pxB", "imR", "imG", "imB"}) {
            QTest::newRow(qPrintable(QString("%1 256").arg(c))) << QStringList {QString("%1=256").arg(c)} << false;
            QTest::newRow(qPrintable(QString("%1 -1").arg(c))) << QStringList {QString("%1=-1").arg(c)} << false;
            QTest::newRow(qPrintable(QString("%1 255").arg(c))) << QStringList {QString("%1=255").arg(c)} << true;
            QTest::newRow(qPrintable(QString("%1 0").arg(c))) << QStringList {QString("%1=0").arg(c)} << true;
        }
        // Animation layer 0 to 3.
        row("layer -1", {"layer=-1"}, false);
        row("layer 4", {"layer=4"}, false);
        row("layer 0", {"layer=0"}, true);
        row("layer 3", {"layer=3"}, true);
        // Tile and tile-set size 1 to 256, equal to each other.
        row("tile width 0", {"tileW=0", "setTileW=0"}, false);
        row("tile width 257", {"tileW=257", "setTileW=257"}, false);
        row("tile width -1", {"tileW=-1", "setTileW=-1"}, false);
        row("tile width 256", {"tileW=256", "setTileW=256"}, true);
        row("tile height 0", {"tileH=0", "setTileH=0"}, false);
        row("tile height 257", {"tileH=257", "setTileH=257"}, false);
        row("tile height 256", {"tileH=256", "setTileH=256"}, true);
        row("set tile width 0", {"setTileW=0"}, false);
        row("tile wider than the set", {"tileW=2"}, false);
        row("tile taller than the set", {"tileH=2"}, false);
        row("set wider than its tile", {"setTileW=2"}, false);
        row("set taller than its tile", {"setTileH=3"}, false);
        // Stored cells: at most width x height of the tile.
        row("two indexes in a 1x1 tile", {"indexCount=2"}, false);
        row("two colours in a 1x1 tile", {"colorCount=2"}, false);
        row("two indexes in a 2x1 tile", {"indexCount=2", "tileW=2", "setTileW=2"}, true);
        row("no stored cells", {"indexCount=0", "colorCount=0"}, true);
        row("negative tile index", {"tileIndex=-1"}, false);
        row("tile index 0", {"tileIndex=0"}, true);
        // Tile-set grid 1 to 4096 each way.
        row("gridSizeX 0", {"gridX=0"}, false);
        row("gridSizeX 4097", {"gridX=4097"}, false);
        row("gridSizeX -1", {"gridX=-1"}, false);
        row("gridSizeX 4096", {"gridX=4096"}, true);
        row("gridSizeY 0", {"gridY=0"}, false);
        row("gridSizeY 4097", {"gridY=4097"}, false);
        row("gridSizeY 4096", {"gridY=4096"}, true);
        row("gridSizeY 1", {"gridY=1"}, true);
        // Screen size 1 to 16384 each way.
        row("screen width 0", {"screenW=0"}, false);
        row("screen width 16385", {"screenW=16385"}, false);
        row("screen width -1", {"screenW=-1"}, false);
        row("screen width 16384", {"screenW=16384"}, true);
        row("screen height 0", {"screenH=0"}, false);
        row("screen height 16385", {"screenH=16385"}, false);
        row("screen height 16384", {"screenH=16384"}, true);
        // Cell coordinates are never negative.
        row("cell x -1", {"cellX=-1"}, false);
        row("cell y -1", {"cellY=-1"}, false);
        row("colour cell x -1", {"colorX=-1"}, false);
        row("colour cell y -1", {"colorY=-1"}, false);
        row("cell x 0", {"cellX=0", "cellY=0"}, true);
    }

    void rangeRules()
    {
        QFETCH(QStringList, changes);
        QFETCH(bool, accepted);
        Small s;
        for (const QString& change : qAsConst(changes))
            QVERIFY2(s.apply(change), qPrintable(change));
        Sentinel target;
        const ProjectReadResult result = ProjectFile::parse(smallFile(s).data, target.project);
        if (accepted) {
            QCOMPARE(result.status, ProjectReadResult::Ok);
            QVERIFY(!target.untouched());
        } else {
            QCOMPARE(result.status, ProjectReadResult::Malformed);
            QVERIFY(target.untouched());
        }
    }

    void oversizedStorageIsRefused()
    {
        // Many maximal tiles stored with no cells would make the reader
        // create far more storage than the file holds; it gives up instead.
        Bytes b;
        b.version(0, 12, 0).i32(0).i32(0).i32(0).i32(1);
        b.version(0, 12, 0).i32(0).i32(0).i32(-1).u8(1);
        const int tiles = 20000;
        b.i32(tiles);
        for (int t = 0; t < tiles; ++t)
            b.i32(t).i32(256).i32(256).i32(0).i32(0);
        b.i32(256).i32(256).f64(3.0).u8(1).u8(1).i32(1).i32(1);
        b.i32(0);
        Sentinel target;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(ProjectFile::parse(b.data, target.project).status, ProjectReadResult::Malformed);
        QVERIFY(target.untouched());
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));

        // A few such tiles are a legitimate file.
        Bytes few;
        few.version(0, 12, 0).i32(0).i32(0).i32(0).i32(1);
        few.version(0, 12, 0).i32(0).i32(0).i32(-1).u8(1).i32(2);
        few.i32(0).i32(256).i32(256).i32(0).i32(0).i32(1).i32(256).i32(256).i32(0).i32(0);
        few.i32(256).i32(256).f64(3.0).u8(1).u8(1).i32(1).i32(1);
        few.i32(0);
        Project p;
        QCOMPARE(ProjectFile::parse(few.data, p).status, ProjectReadResult::Ok);
        QCOMPARE(p.tilesets.at(0)->tiles.value(1).colors.size(), 256 * 256);
        QCOMPARE(p.tilesets.at(0)->tiles.value(1).colors.at(65535), -1);
    }

    void shortHeader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("major only") << QByteArray::fromHex("00000000");
        QTest::newRow("11 bytes") << QByteArray::fromHex("000000000c000000000000");
        QTest::newRow("header only") << QByteArray::fromHex("000000000c00000000000000");
    }

    void shortHeader()
    {
        QFETCH(QByteArray, bytes);
        Sentinel target;
        QCOMPARE(ProjectFile::parse(bytes, target.project).status, ProjectReadResult::Malformed);
        QVERIFY(target.untouched());
    }

    // ------------------------------------------------------------- real files
    void writeAndReadFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("game.mzprj");
        const Project rich = richProject();
        QVERIFY(ProjectFile::write(path, rich));
        QCOMPARE(readFile(path), ProjectFile::serialize(rich));
        Sentinel target;
        const ProjectReadResult result = ProjectFile::read(path, target.project);
        QCOMPARE(result.status, ProjectReadResult::Ok);
        const QString difference = compareProjects(rich, target.project);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void readMissingFile()
    {
        QTemporaryDir dir;
        Sentinel target;
        const ProjectReadResult result = ProjectFile::read(dir.filePath("none.mzprj"), target.project);
        QCOMPARE(result.status, ProjectReadResult::CannotOpen);
        QVERIFY(target.untouched());
        // A directory is not a readable project file either.
        Sentinel again;
        QVERIFY(ProjectFile::read(dir.path(), again.project).status != ProjectReadResult::Ok);
        QVERIFY(again.untouched());
    }

    void readDamagedFileLeavesProject()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.mzprj");
        QVERIFY(writeRawFile(path, ProjectFile::serialize(richProject()).left(100)));
        Sentinel target;
        QCOMPARE(ProjectFile::read(path, target.project).status, ProjectReadResult::Malformed);
        QVERIFY(target.untouched());
        QByteArray newer = smallFile(Small()).data;
        putI32(newer, 4, 13);
        QVERIFY(writeRawFile(path, newer));
        const ProjectReadResult result = ProjectFile::read(path, target.project);
        QCOMPARE(result.status, ProjectReadResult::UnknownVersion);
        QCOMPARE(result.version, (FileVersion {0, 13, 0}));
        QVERIFY(target.untouched());
    }

    void writeIntoMissingDirectoryFails()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("missing/sub/game.mzprj");
        QVERIFY(!ProjectFile::write(path, richProject()));
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(!QFileInfo::exists(dir.filePath("missing")));
    }

    void writeReplacesExistingFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("game.mzprj");
        // The old file is longer than the new content: nothing of it may stay.
        QVERIFY(writeRawFile(path, QByteArray(100000, 'x')));
        const Project small = smallProject();
        QVERIFY(ProjectFile::write(path, small));
        QCOMPARE(readFile(path), smallFile(Small()).data);
        // No temporary file is left beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"game.mzprj"});
    }

    void failedWriteLeavesPreviousFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("target is a directory") << "directory";
        QTest::newRow("file size limit reached") << "size limit";
        QTest::newRow("read-only directory") << "read-only";
    }

    void failedWriteLeavesPreviousFile()
    {
        QFETCH(QString, how);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray previous = smallFile(Small()).data;
        Project big = richProject();
        // Enough data that the new file is far larger than the old one.
        for (int i = 0; i < 20; ++i)
            big.spritesets.append(QSharedPointer<Imageset>::create(richSpriteset()));
        const QByteArray bigBytes = ProjectFile::serialize(big);
        QVERIFY(bigBytes.size() > 16 * previous.size());
        bool written = true;

        if (how == "directory") {
            // The path names a directory holding a file; both stay.
            const QString path = dir.filePath("game.mzprj");
            QVERIFY(QDir(dir.path()).mkdir("game.mzprj"));
            QVERIFY(writeRawFile(path + "/inside", previous));
            written = ProjectFile::write(path, big);
            QVERIFY(QFileInfo(path).isDir());
            QCOMPARE(readFile(path + "/inside"), previous);
        } else if (how == "size limit") {
            // The process may not write beyond 4096 bytes into any file, as on
            // a full disk; this holds for every user, root included.
            const QString path = dir.filePath("game.mzprj");
            QVERIFY(writeRawFile(path, previous));
            QVERIFY(previous.size() < 4096 && bigBytes.size() > 4096);
            rlimit old;
            QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
            rlimit limited = old;
            limited.rlim_cur = 4096;
            void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
            written = ProjectFile::write(path, big);
            setrlimit(RLIMIT_FSIZE, &old);
            std::signal(SIGXFSZ, oldHandler);
            QCOMPARE(readFile(path), previous);
        } else {
            if (geteuid() == 0)
                QSKIP("permissions do not restrict the superuser; the size-limit row covers this");
            const QString sub = dir.filePath("locked");
            QVERIFY(QDir(dir.path()).mkdir("locked"));
            const QString path = sub + "/game.mzprj";
            QVERIFY(writeRawFile(path, previous));
            QVERIFY(QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner));
            written = ProjectFile::write(path, big);
            QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QCOMPARE(readFile(path), previous);
        }
        QVERIFY(!written);
        // No temporary file is left behind.
        QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        left.removeAll("game.mzprj");
        QVERIFY2(left.isEmpty(), qPrintable(left.join(", ")));
    }
};

QTEST_GUILESS_MAIN(ProjectFileTest)
#include "tst_projectfile.moc"
