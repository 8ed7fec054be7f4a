// mosaikon-cli run as a separate program on projects this test writes. Its
// output is checked against values worked out by hand (pixel colours,
// converted old files) and against the core functions it is built on
// (assembler text, JSON dump), and its binary sections against what the ACME
// assembler makes of the exported text (tests/exchange/assembler.h).

#include "cli/documentedoptions.h"
#include "exchange/animationexport.h"
#include "exchange/assembler.h"
#include "exchange/imagesetexchange.h"
#include "exchange/projectjson.h"
#include "exchange/screenexport.h"
#include "exchange/textformat.h"
#include "exchange/tilesetexchange.h"
#include "model/palette.h"
#include "model/project.h"
#include "model/projectfile.h"
#include "model/sourceref.h"
#include "model/version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <functional>

namespace {

// ---------------------------------------------------------------------------
// Running the program

struct CliRun {
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QString describe() const
    {
        return QStringLiteral("exit code %1, stderr: %2").arg(exitCode).arg(QString::fromUtf8(err));
    }
};

CliRun runCli(const QStringList& arguments, const QString& workingDirectory = QString())
{
    QProcess process;
    process.setProgram(QStringLiteral(MOSAIKON_CLI));
    process.setArguments(arguments);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    CliRun run;
    process.start();
    if (!process.waitForStarted(30000)) {
        run.err = "the program could not be started: " + process.errorString().toUtf8();
        return run;
    }
    process.closeWriteChannel();
    run.finished = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    if (!run.finished)
        process.kill();
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError() + run.err;
    return run;
}

#define RUN_CLI(run, ...)                                                                                         \
    const CliRun run = runCli(__VA_ARGS__);                                                                     \
    QVERIFY2(run.finished, qPrintable(QStringLiteral("mosaikon-cli did not finish normally: ") + run.describe()))

#define EXPECT_SUCCESS(run)                                                                                       \
    do {                                                                                                        \
        QVERIFY2((run).exitCode == 0, qPrintable((run).describe()));                                            \
        QVERIFY2((run).err.isEmpty(), qPrintable((run).describe()));                                            \
    } while (false)

// A failed command: the exit code, nothing on standard output, and exactly
// one line on standard error that starts with the program's name and
// contains each of the mentioned texts.
void checkFailure(const CliRun& run, int exitCode, const QStringList& mentions)
{
    QVERIFY2(run.exitCode == exitCode, qPrintable(QStringLiteral("expected exit code %1; ").arg(exitCode) + run.describe()));
    QVERIFY2(run.out.isEmpty(), qPrintable(QStringLiteral("standard output not empty: ") + QString::fromUtf8(run.out)));
    const QString message = QString::fromUtf8(run.err);
    QVERIFY2(message.startsWith(QLatin1String("mosaikon-cli: ")), qPrintable(message));
    QVERIFY2(message.endsWith(QLatin1Char('\n')) && message.count(QLatin1Char('\n')) == 1,
             qPrintable(QStringLiteral("not one line: ") + message));
    for (const QString& mention : mentions)
        QVERIFY2(message.contains(mention), qPrintable(QStringLiteral("'%1' not in: %2").arg(mention, message)));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<cannot read ") + path.toUtf8() + '>';
    return file.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QStringList filesIn(const QString& directory)
{
    QStringList names = QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    names.sort();
    return names;
}

// ---------------------------------------------------------------------------
// Little-endian file bytes, written by hand for the old file layouts

class LeBytes {
public:
    LeBytes& i32(qint32 value)
    {
        const quint32 bits = quint32(value);
        for (int shift = 0; shift < 32; shift += 8)
            data.append(char((bits >> shift) & 0xFF));
        return *this;
    }
    LeBytes& u8(int value)
    {
        data.append(char(value));
        return *this;
    }
    LeBytes& f64(double value)
    {
        quint64 bits;
        std::memcpy(&bits, &value, sizeof bits);
        for (int shift = 0; shift < 64; shift += 8)
            data.append(char((bits >> shift) & 0xFF));
        return *this;
    }
    LeBytes& str(const QString& text)
    {
        const QByteArray utf8 = text.toUtf8();
        i32(utf8.size());
        data.append(utf8);
        return *this;
    }
    LeBytes& version(const FileVersion& v) { return i32(v.major).i32(v.minor).i32(v.patch); }
    LeBytes& raw(const QByteArray& bytes)
    {
        data.append(bytes);
        return *this;
    }
    LeBytes& rgb(int r, int g, int b) { return i32(r).i32(g).i32(b); }

    QByteArray data;
};

QByteArray versionBytes(qint32 major, qint32 minor, qint32 patch)
{
    return LeBytes().i32(major).i32(minor).i32(patch).data;
}

// ---------------------------------------------------------------------------
// Projects

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(char(value));
    return bytes;
}

// An image whose first bytes are given and whose other bytes follow a
// pattern that differs from image to image.
ImageData patterned(int width, int height, int seed, const QByteArray& firstBytes)
{
    ImageData image(width, height);
    for (int i = 0; i < image.bytes.size(); ++i)
        image.bytes[i] = char((seed * 53 + i * 29 + 7) & 0xFF);
    image.bytes.replace(0, firstBytes.size(), firstBytes);
    return image;
}

AnimationFrame frame(int gridX, int gridY, std::array<int, 4> offsetX, std::array<int, 4> offsetY,
                     const QList<PlacedImage>& placed)
{
    AnimationFrame result;
    result.gridX = gridX;
    result.gridY = gridY;
    result.offsetX = offsetX;
    result.offsetY = offsetY;
    result.placedImages = placed;
    return result;
}

Tile tile(int width, int height, const QVector<int>& indexes, const QVector<int>& colors)
{
    Tile result(width, height);
    result.indexes = indexes;
    result.colors = colors;
    return result;
}

const QString fontName = QString::fromUtf8("Zeichensatz \xC3\x84\xC3\x96\xC3\x9C \xE2\x9C\x93 \xF0\x9F\x8E\xAE \"q\" \\");

// A project with items of every kind and every field set away from its
// default. The pixel checks of the pictures rely on the first bytes of the
// images and on the colours chosen here.
Project richProject()
{
    Project project;

    // Multicolour character set: colours 0-7 keep a character hi-res, 8-15
    // make it multicolour with code 11 in the colour's low three bits.
    auto font = QSharedPointer<Imageset>::create(0, fontName, 8, 8, Imageset::Charset);
    font->mode = Imageset::MCM;
    font->colors = {6, 13, 8, 11};
    font->images.insert(1, patterned(8, 8, 1, bytesOf({0x80})));
    font->images.insert(5, patterned(8, 8, 5, bytesOf({0x1B})));
    font->images.insert(65, patterned(8, 8, 65, bytesOf({0x80})));
    font->images.insert(255, patterned(8, 8, 255, bytesOf({0xFF})));
    font->imageColors = {{1, 5}, {3, 9}, {5, 10}, {65, 7}, {255, 15}};
    font->selectorZoom = 1.0 / 3.0;
    font->selectorGridWidth = 16;
    font->selectorGridHeight = 16;
    font->selectorGridVisible = false;
    font->backgroundColor = QColor(10, 20, 30);
    font->pixelsGridColor = QColor(1, 2, 3);
    font->imagesGridColor = QColor(250, 251, 252);
    font->animations.zoom = 5.5;
    Animation walk;
    walk.speed = 12;
    walk.frames.append(frame(3, 2, {1, -2, 3, 4}, {5, 6, -7, 8}, {{0, 0, 1, 0}, {2, 1, 5, 2}, {1, 1, 65, 0}}));
    walk.frames.append(frame(1, 1, {0, 0, 0, 0}, {9, 9, 9, 9}, {{0, 0, 255, 3}}));
    Animation still;
    still.speed = 50;
    still.frames.append(frame(1, 1, {}, {}, {}));
    font->animations.animations = {walk, still};

    auto ecm = QSharedPointer<Imageset>::create(3, QStringLiteral("Ecm Font"), 8, 8, Imageset::Charset);
    ecm->mode = Imageset::ECM;
    ecm->colors = {0, 2, 5, 6};
    ecm->images.insert(0, patterned(8, 8, 100, bytesOf({0x80})));
    ecm->images.insert(7, patterned(8, 8, 107, {}));
    ecm->images.insert(63, patterned(8, 8, 163, {}));
    ecm->imageColors = {{0, 1}, {64, 3}, {135, 4}};
    ecm->selectorZoom = 4.0;

    auto sprites = QSharedPointer<Imageset>::create(1, QStringLiteral("Sprites (1)"), 24, 21, Imageset::Spriteset);
    sprites->mode = Imageset::MCM;
    sprites->colors = {0, 11, 12, 4};
    sprites->images.insert(0, patterned(24, 21, 200, bytesOf({0x80, 0x00, 0x01})));
    sprites->images.insert(2, patterned(24, 21, 202, bytesOf({0x9C, 0x00, 0x00})));
    sprites->imageColors = {{0, 1}, {2, 7}};
    sprites->multiColorSprites = {9, 2, 4};
    sprites->selectorZoom = 0.1;
    sprites->selectorGridWidth = 4;
    sprites->selectorGridHeight = 5;
    sprites->backgroundColor = QColor(255, 0, 128);
    sprites->pixelsGridColor = QColor(0, 255, 0);
    sprites->imagesGridColor = QColor(7, 7, 7);
    sprites->animations.zoom = 2.0;
    Animation fly;
    fly.speed = 25;
    fly.frames.append(frame(2, 1, {3, 3, 0, 0}, {0, 1, 2, 3}, {{1, 0, 2, 1}, {0, 0, 0, 0}, {1, 1, 2, 1}}));
    fly.frames.append(frame(1, 2, {}, {}, {{0, 1, 0, 2}}));
    sprites->animations.animations = {fly};

    auto blocks = QSharedPointer<Imageset>::create(2, QStringLiteral("Blocks"), 8, 8, Imageset::Blockset);
    blocks->mode = Imageset::MCM;
    blocks->colors = {0, 3, 4, 0};
    blocks->images.insert(0, patterned(8, 8, 300, bytesOf({0x1B})));
    blocks->images.insert(1, patterned(8, 8, 301, bytesOf({0xE4})));
    blocks->images.insert(300, patterned(8, 8, 600, bytesOf({0xE4})));
    blocks->imageColors = {{0, 13}, {300, 14}};
    blocks->blockColors = {{1, {5, 6, 7}}, {2, {11, 12, 13}}, {300, {8, 9, 10}}};
    blocks->selectorZoom = 2.0;
    blocks->selectorGridWidth = 20;
    blocks->selectorGridHeight = 15;
    blocks->animations.zoom = 3.0;
    Animation turn;
    turn.speed = 7;
    turn.frames.append(frame(2, 2, {1, 2, 3, 4}, {4, 3, 2, 1}, {{1, 1, 300, 1}, {0, 0, 1, 3}}));
    blocks->animations.animations = {turn};

    auto tiles = QSharedPointer<Tileset>::create();
    tiles->id = 0;
    tiles->name = QStringLiteral("Tiles");
    tiles->imagesetId = 0;
    tiles->imagesetIsCharset = true;
    tiles->tileWidth = 2;
    tiles->tileHeight = 2;
    tiles->zoom = 1.5;
    tiles->tilesGridVisible = false;
    tiles->charsGridVisible = true;
    tiles->gridSizeX = 2;
    tiles->gridSizeY = 2;
    tiles->tiles.insert(0, tile(2, 2, {1, 5, 255, 65}, {5, 10, -1, 7}));
    tiles->tiles.insert(1, tile(2, 2, {1, 1, 1, 1}, {-1, -1, -1, 3}));
    tiles->tiles.insert(3, tile(2, 2, {0, 1, 2, 3}, {0, 1, 2, 3}));

    auto wide = QSharedPointer<Tileset>::create();
    wide->id = 5;
    wide->name = QStringLiteral("Wide tiles");
    wide->imagesetId = 2;
    wide->imagesetIsCharset = false;
    wide->zoom = 0.75;
    wide->charsGridVisible = false;
    wide->gridSizeX = 3;
    wide->gridSizeY = 1;
    wide->tiles.insert(0, tile(1, 1, {300}, {14}));
    wide->tiles.insert(2, tile(1, 1, {1}, {-1}));

    auto orphan = QSharedPointer<Tileset>::create();
    orphan->id = 6;
    orphan->name = QStringLiteral("Orphan");

    auto title = QSharedPointer<Screen>::create();
    title->id = 0;
    title->name = QStringLiteral("Title Screen");
    title->sourceRef = SourceRef::make(SourceRef::charsetBit, 0);
    title->width = 4;
    title->height = 3;
    title->cellIndexes = {{{0, 0}, 1}, {{1, 0}, 5}, {{2, 1}, 65}, {{3, 2}, 255}};
    title->cellColors = {{{0, 0}, 5}, {{1, 0}, 12}, {{3, 2}, 1}};
    title->zoom = 2.0;
    title->outerGridVisible = false;
    title->innerGridVisible = true;

    auto map = QSharedPointer<Screen>::create();
    map->id = 1;
    map->name = QStringLiteral("Map");
    map->sourceRef = SourceRef::make(SourceRef::tilesetBit, 0);
    map->width = 3;
    map->height = 2;
    map->cellIndexes = {{{0, 0}, 0}, {{1, 0}, 7}, {{2, 1}, 3}};
    map->zoom = 1.25;

    auto blocky = QSharedPointer<Screen>::create();
    blocky->id = 2;
    blocky->name = QStringLiteral("Blocky");
    blocky->sourceRef = SourceRef::make(SourceRef::blocksetBit, 2);
    blocky->width = 2;
    blocky->height = 2;
    blocky->cellIndexes = {{{0, 0}, 300}, {{1, 1}, 0}};
    blocky->cellColors = {{{0, 0}, 14}, {{0, 1}, 3}};

    auto nothing = QSharedPointer<Screen>::create();
    nothing->id = 4;
    nothing->name = QStringLiteral("Nothing");
    nothing->width = 2;
    nothing->height = 1;

    auto gone = QSharedPointer<Screen>::create();
    gone->id = 7;
    gone->name = QStringLiteral("Gone");
    gone->sourceRef = SourceRef::make(SourceRef::charsetBit, 9);
    gone->width = 3;
    gone->height = 2;
    gone->cellIndexes = {{{0, 0}, 1}};

    // The lists keep creation order, which need not be identifier order.
    project.charsets = {ecm, font};
    project.spritesets = {sprites};
    project.blocksets = {blocks};
    project.tilesets = {tiles, wide, orphan};
    project.screens = {title, map, blocky, nothing, gone};
    return project;
}

// ---------------------------------------------------------------------------
// Comparing datasets field by field

void compareAnimations(const Animationset& actual, const Animationset& expected)
{
    QCOMPARE(actual.zoom, expected.zoom);
    QCOMPARE(actual.animations.size(), expected.animations.size());
    for (int a = 0; a < expected.animations.size(); ++a) {
        const Animation& got = actual.animations.at(a);
        const Animation& want = expected.animations.at(a);
        QCOMPARE(got.speed, want.speed);
        QCOMPARE(got.frames.size(), want.frames.size());
        for (int f = 0; f < want.frames.size(); ++f) {
            const AnimationFrame& gotFrame = got.frames.at(f);
            const AnimationFrame& wantFrame = want.frames.at(f);
            QCOMPARE(gotFrame.gridX, wantFrame.gridX);
            QCOMPARE(gotFrame.gridY, wantFrame.gridY);
            QCOMPARE(gotFrame.offsetX, wantFrame.offsetX);
            QCOMPARE(gotFrame.offsetY, wantFrame.offsetY);
            QCOMPARE(gotFrame.placedImages.size(), wantFrame.placedImages.size());
            for (int i = 0; i < wantFrame.placedImages.size(); ++i) {
                QCOMPARE(gotFrame.placedImages.at(i).x, wantFrame.placedImages.at(i).x);
                QCOMPARE(gotFrame.placedImages.at(i).y, wantFrame.placedImages.at(i).y);
                QCOMPARE(gotFrame.placedImages.at(i).index, wantFrame.placedImages.at(i).index);
                QCOMPARE(gotFrame.placedImages.at(i).layer, wantFrame.placedImages.at(i).layer);
            }
        }
    }
    QVERIFY(actual == expected);
}

void compareImagesets(const Imageset& actual, const Imageset& expected)
{
    QCOMPARE(actual.id, expected.id);
    QCOMPARE(actual.name, expected.name);
    QCOMPARE(actual.images.keys(), expected.images.keys());
    for (auto it = expected.images.cbegin(); it != expected.images.cend(); ++it) {
        QCOMPARE(actual.images.value(it.key()).width, it->width);
        QCOMPARE(actual.images.value(it.key()).height, it->height);
        QCOMPARE(actual.images.value(it.key()).bytes.toHex(), it->bytes.toHex());
    }
    QCOMPARE(actual.imageColors, expected.imageColors);
    QCOMPARE(actual.multiColorSprites, expected.multiColorSprites);
    QCOMPARE(actual.colors, expected.colors);
    QCOMPARE(actual.blockColors.keys(), expected.blockColors.keys());
    for (auto it = expected.blockColors.cbegin(); it != expected.blockColors.cend(); ++it) {
        QCOMPARE(actual.blockColors.value(it.key()).c0, it->c0);
        QCOMPARE(actual.blockColors.value(it.key()).c1, it->c1);
        QCOMPARE(actual.blockColors.value(it.key()).c2, it->c2);
    }
    QCOMPARE(actual.mode, expected.mode);
    QCOMPARE(actual.imageWidth, expected.imageWidth);
    QCOMPARE(actual.imageHeight, expected.imageHeight);
    QCOMPARE(actual.imageSize, expected.imageSize);
    QCOMPARE(actual.type, expected.type);
    QCOMPARE(actual.selectorZoom, expected.selectorZoom);
    QCOMPARE(actual.selectorGridWidth, expected.selectorGridWidth);
    QCOMPARE(actual.selectorGridHeight, expected.selectorGridHeight);
    QCOMPARE(actual.selectorGridVisible, expected.selectorGridVisible);
    QCOMPARE(actual.backgroundColor, expected.backgroundColor);
    QCOMPARE(actual.pixelsGridColor, expected.pixelsGridColor);
    QCOMPARE(actual.imagesGridColor, expected.imagesGridColor);
    compareAnimations(actual.animations, expected.animations);
    if (QTest::currentTestFailed())
        return;
    // Catches a field that the comparisons above do not name.
    QVERIFY(actual == expected);
}

void compareTilesets(const Tileset& actual, const Tileset& expected)
{
    QCOMPARE(actual.id, expected.id);
    QCOMPARE(actual.name, expected.name);
    QCOMPARE(actual.imagesetId, expected.imagesetId);
    QCOMPARE(actual.imagesetIsCharset, expected.imagesetIsCharset);
    QCOMPARE(actual.tiles.keys(), expected.tiles.keys());
    for (auto it = expected.tiles.cbegin(); it != expected.tiles.cend(); ++it) {
        QCOMPARE(actual.tiles.value(it.key()).width, it->width);
        QCOMPARE(actual.tiles.value(it.key()).height, it->height);
        QCOMPARE(actual.tiles.value(it.key()).indexes, it->indexes);
        QCOMPARE(actual.tiles.value(it.key()).colors, it->colors);
    }
    QCOMPARE(actual.tileWidth, expected.tileWidth);
    QCOMPARE(actual.tileHeight, expected.tileHeight);
    QCOMPARE(actual.zoom, expected.zoom);
    QCOMPARE(actual.tilesGridVisible, expected.tilesGridVisible);
    QCOMPARE(actual.charsGridVisible, expected.charsGridVisible);
    QCOMPARE(actual.gridSizeX, expected.gridSizeX);
    QCOMPARE(actual.gridSizeY, expected.gridSizeY);
    QVERIFY(actual == expected);
}

void compareScreens(const Screen& actual, const Screen& expected)
{
    QCOMPARE(actual.id, expected.id);
    QCOMPARE(actual.name, expected.name);
    QCOMPARE(actual.sourceRef, expected.sourceRef);
    QCOMPARE(actual.cellIndexes, expected.cellIndexes);
    QCOMPARE(actual.cellColors, expected.cellColors);
    QCOMPARE(actual.width, expected.width);
    QCOMPARE(actual.height, expected.height);
    QCOMPARE(actual.zoom, expected.zoom);
    QCOMPARE(actual.outerGridVisible, expected.outerGridVisible);
    QCOMPARE(actual.innerGridVisible, expected.innerGridVisible);
    QVERIFY(actual == expected);
}

void compareProjects(const Project& actual, const Project& expected)
{
    QCOMPARE(actual.charsets.size(), expected.charsets.size());
    QCOMPARE(actual.spritesets.size(), expected.spritesets.size());
    QCOMPARE(actual.blocksets.size(), expected.blocksets.size());
    QCOMPARE(actual.tilesets.size(), expected.tilesets.size());
    QCOMPARE(actual.screens.size(), expected.screens.size());
    for (int i = 0; i < expected.charsets.size() && !QTest::currentTestFailed(); ++i)
        compareImagesets(*actual.charsets.at(i), *expected.charsets.at(i));
    for (int i = 0; i < expected.spritesets.size() && !QTest::currentTestFailed(); ++i)
        compareImagesets(*actual.spritesets.at(i), *expected.spritesets.at(i));
    for (int i = 0; i < expected.blocksets.size() && !QTest::currentTestFailed(); ++i)
        compareImagesets(*actual.blocksets.at(i), *expected.blocksets.at(i));
    for (int i = 0; i < expected.tilesets.size() && !QTest::currentTestFailed(); ++i)
        compareTilesets(*actual.tilesets.at(i), *expected.tilesets.at(i));
    for (int i = 0; i < expected.screens.size() && !QTest::currentTestFailed(); ++i)
        compareScreens(*actual.screens.at(i), *expected.screens.at(i));
}

// ---------------------------------------------------------------------------
// Items and what the core makes of them

QString kindWord(ItemKind kind)
{
    switch (kind) {
    case ItemKind::Charset:
        return QStringLiteral("charset");
    case ItemKind::Spriteset:
        return QStringLiteral("spriteset");
    case ItemKind::Blockset:
        return QStringLiteral("blockset");
    case ItemKind::Tileset:
        return QStringLiteral("tileset");
    case ItemKind::Screen:
        return QStringLiteral("screen");
    }
    return {};
}

struct Target {
    ItemKind kind;
    qint32 id;
    int animation = -1;
    int frame = -1;

    QString text() const
    {
        QString result = QStringLiteral("%1:%2").arg(kindWord(kind)).arg(id);
        if (animation >= 0)
            result += QStringLiteral("/anim:%1").arg(animation);
        if (frame >= 0)
            result += QStringLiteral("/frame:%1").arg(frame);
        return result;
    }
};

// The documented defaults: tile sets export their colours, nothing else does.
ExportDataOptions defaultOptions(const Target& target)
{
    return documentedOptions(target.animation < 0 && target.kind == ItemKind::Tileset);
}

QList<int> range(int count)
{
    QList<int> values;
    for (int i = 0; i < count; ++i)
        values.append(i);
    return values;
}

// What is exported without a selection: every character of a character set
// (the 64 patterns in extended background colour mode), sprite and block sets
// up to their last image, every tile place, every screen cell row by row.
QList<int> defaultSlots(const Imageset& set)
{
    if (set.type == Imageset::Charset)
        return range(set.mode == Imageset::ECM ? 64 : 256);
    return range(set.images.isEmpty() ? 0 : set.images.lastKey() + 1);
}

QList<CellPos> defaultCells(const Screen& screen)
{
    QList<CellPos> cells;
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x)
            cells.append({x, y});
    }
    return cells;
}

QList<int> numbersOf(const QString& text)
{
    QList<int> numbers;
    for (const QString& piece : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        numbers.append(piece.trimmed().toInt());
    return numbers;
}

QList<CellPos> cellsOf(const QString& text)
{
    QList<CellPos> cells;
    for (const QString& piece : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = piece.trimmed().split(QLatin1Char(':'));
        cells.append({parts.value(0).toInt(), parts.value(1).toInt()});
    }
    return cells;
}

template<typename T>
QSharedPointer<T> findItem(const Project& project, ItemKind kind, qint32 id)
{
    return project.find(kind, id).template staticCast<T>();
}

// The core's sections of an item, and its text, for the options and the
// selection (null selection: everything).
QList<ExportSection> coreSections(const Project& project, const Target& target, const ExportDataOptions& options,
                                  const QString* selection)
{
    if (target.animation >= 0) {
        const auto set = findItem<Imageset>(project, target.kind, target.id);
        const QSize scale = set->type == Imageset::Spriteset ? QSize(set->imageWidth, set->imageHeight) : QSize(1, 1);
        return AnimationExport::sections(set->name, set->animations.animations.at(target.animation), target.animation,
                                         target.frame, scale);
    }
    switch (target.kind) {
    case ItemKind::Tileset: {
        const auto tileset = findItem<Tileset>(project, target.kind, target.id);
        return TilesetExchange::sections(
            *tileset, selection ? numbersOf(*selection) : range(tileset->gridSizeX * tileset->gridSizeY), options);
    }
    case ItemKind::Screen: {
        const auto screen = findItem<Screen>(project, target.kind, target.id);
        return ScreenExport::sections(*screen, selection ? cellsOf(*selection) : defaultCells(*screen), options);
    }
    default: {
        const auto set = findItem<Imageset>(project, target.kind, target.id);
        return ImagesetExchange::sections(*set, selection ? numbersOf(*selection) : defaultSlots(*set), options);
    }
    }
}

QString coreText(const Project& project, const Target& target, const ExportDataOptions& options, const QString* selection)
{
    if (target.animation >= 0) {
        const auto set = findItem<Imageset>(project, target.kind, target.id);
        const QSize scale = set->type == Imageset::Spriteset ? QSize(set->imageWidth, set->imageHeight) : QSize(1, 1);
        return AnimationExport::text(set->name, set->animations.animations.at(target.animation), target.animation,
                                     target.frame, scale, options);
    }
    switch (target.kind) {
    case ItemKind::Tileset: {
        const auto tileset = findItem<Tileset>(project, target.kind, target.id);
        return TilesetExchange::text(
            *tileset, selection ? numbersOf(*selection) : range(tileset->gridSizeX * tileset->gridSizeY), options);
    }
    case ItemKind::Screen: {
        const auto screen = findItem<Screen>(project, target.kind, target.id);
        return ScreenExport::text(*screen, selection ? cellsOf(*selection) : defaultCells(*screen), options);
    }
    default: {
        const auto set = findItem<Imageset>(project, target.kind, target.id);
        return ImagesetExchange::text(*set, selection ? numbersOf(*selection) : defaultSlots(*set), options);
    }
    }
}

QList<Target> allTargets()
{
    return {
        {ItemKind::Charset, 0},
        {ItemKind::Charset, 3},
        {ItemKind::Spriteset, 1},
        {ItemKind::Blockset, 2},
        {ItemKind::Tileset, 0},
        {ItemKind::Tileset, 5},
        {ItemKind::Tileset, 6},
        {ItemKind::Screen, 0},
        {ItemKind::Screen, 1},
        {ItemKind::Screen, 2},
        {ItemKind::Screen, 4},
        {ItemKind::Screen, 7},
        {ItemKind::Charset, 0, 0},
        {ItemKind::Charset, 0, 0, 1},
        {ItemKind::Charset, 0, 1},
        {ItemKind::Spriteset, 1, 0},
        {ItemKind::Spriteset, 1, 0, 0},
        {ItemKind::Blockset, 2, 0, 0},
    };
}

struct OptionSet {
    const char* name;
    QStringList arguments;
    std::function<void(ExportDataOptions&)> apply;
    bool acmeSyntax; // the text is ACME source
};

QList<OptionSet> optionSets()
{
    return {
        {"defaults", {}, [](ExportDataOptions&) {}, true},
        {"decimal layout",
         {QStringLiteral("--indent"), QStringLiteral("3"), QStringLiteral("--per-line"), QStringLiteral("5"),
          QStringLiteral("--base"), QStringLiteral("dec")},
         [](ExportDataOptions& o) {
             o.indentSpaces = 3;
             o.dataPerLine = 5;
             o.base = ExportDataOptions::NumberBase::Dec;
         },
         true},
        {"text style",
         {QStringLiteral("--prefix"), QStringLiteral(".byte"), QStringLiteral("--hex-prefix"), QStringLiteral("0x"),
          QStringLiteral("--separator"), QStringLiteral(" | "), QStringLiteral("--comment-prefix"), QStringLiteral("//"),
          QStringLiteral("--comments"), QStringLiteral("--per-line"), QStringLiteral("1")},
         [](ExportDataOptions& o) {
             o.dataPrefix = QStringLiteral(".byte");
             o.hexPrefix = QStringLiteral("0x");
             o.separator = QStringLiteral(" | ");
             o.commentPrefix = QStringLiteral("//");
             o.includeComments = true;
             o.dataPerLine = 1;
         },
         false},
        {"hex prefix 0x",
         {QStringLiteral("--hex-prefix"), QStringLiteral("0x"), QStringLiteral("--separator"), QStringLiteral(","),
          QStringLiteral("--per-line"), QStringLiteral("2048")},
         [](ExportDataOptions& o) {
             o.hexPrefix = QStringLiteral("0x");
             o.separator = QStringLiteral(",");
             o.dataPerLine = 2048;
         },
         true},
        {"rle with comments", {QStringLiteral("--rle"), QStringLiteral("--comments")},
         [](ExportDataOptions& o) {
             o.compressRLE = true;
             o.includeComments = true;
         },
         true},
        {"colours and selection",
         {QStringLiteral("--colors"), QStringLiteral("--selection"), QStringLiteral("--no-empty-slots")},
         [](ExportDataOptions& o) {
             o.includeColors = true;
             o.includeSelection = true;
             o.includeEmptySlots = false;
         },
         true},
        {"colours without data", {QStringLiteral("--no-data"), QStringLiteral("--colors")},
         [](ExportDataOptions& o) {
             o.includeData = false;
             o.includeColors = true;
         },
         true},
        {"nothing but the reference", {QStringLiteral("--no-data"), QStringLiteral("--no-colors")},
         [](ExportDataOptions& o) {
             o.includeData = false;
             o.includeColors = false;
         },
         true},
        {"later switch wins, off",
         {QStringLiteral("--colors"), QStringLiteral("--no-colors"), QStringLiteral("--no-data"), QStringLiteral("--data"),
          QStringLiteral("--no-empty-slots"), QStringLiteral("--empty-slots")},
         [](ExportDataOptions& o) {
             o.includeColors = false;
             o.includeData = true;
             o.includeEmptySlots = true;
         },
         true},
        {"later switch wins, on",
         {QStringLiteral("--no-colors"), QStringLiteral("--colors"), QStringLiteral("--data"), QStringLiteral("--no-data"),
          QStringLiteral("--empty-slots"), QStringLiteral("--no-empty-slots")},
         [](ExportDataOptions& o) {
             o.includeColors = true;
             o.includeData = false;
             o.includeEmptySlots = false;
         },
         true},
        {"everything",
         {QStringLiteral("--indent"), QStringLiteral("2"), QStringLiteral("--per-line"), QStringLiteral("16"),
          QStringLiteral("--base"), QStringLiteral("hex"), QStringLiteral("--hex-prefix"), QStringLiteral("$"),
          QStringLiteral("--separator"), QStringLiteral(","), QStringLiteral("--comments"), QStringLiteral("--rle"),
          QStringLiteral("--colors"), QStringLiteral("--selection"), QStringLiteral("--no-empty-slots")},
         [](ExportDataOptions& o) {
             o.indentSpaces = 2;
             o.dataPerLine = 16;
             o.separator = QStringLiteral(",");
             o.includeComments = true;
             o.compressRLE = true;
             o.includeColors = true;
             o.includeSelection = true;
             o.includeEmptySlots = false;
         },
         true},
    };
}

// Exports with a --select list, together with further options.
struct SelectCase {
    const char* name;
    Target target;
    QString selection;
    QStringList arguments;
    std::function<void(ExportDataOptions&)> apply;
};

QList<SelectCase> selectCases()
{
    const auto none = [](ExportDataOptions&) {};
    const auto colours = [](ExportDataOptions& o) { o.includeColors = true; };
    return {
        {"charset slots out of order, repeated and past the end", {ItemKind::Charset, 0}, QStringLiteral("5,1,300,5"), {}, none},
        {"charset slots with blanks", {ItemKind::Charset, 0}, QStringLiteral(" 255, 0 ,65"),
         {QStringLiteral("--colors"), QStringLiteral("--selection")},
         [](ExportDataOptions& o) {
             o.includeColors = true;
             o.includeSelection = true;
         }},
        {"ecm charset codes share patterns", {ItemKind::Charset, 3}, QStringLiteral("64,1,130,0"),
         {QStringLiteral("--colors")}, colours},
        {"sprite slots", {ItemKind::Spriteset, 1}, QStringLiteral("2,0,7"),
         {QStringLiteral("--colors"), QStringLiteral("--no-empty-slots"), QStringLiteral("--selection")},
         [](ExportDataOptions& o) {
             o.includeColors = true;
             o.includeEmptySlots = false;
             o.includeSelection = true;
         }},
        {"block slots", {ItemKind::Blockset, 2}, QStringLiteral("300,1"), {QStringLiteral("--colors")}, colours},
        {"tiles with a missing one", {ItemKind::Tileset, 0}, QStringLiteral("3,0,2"), {}, none},
        {"one wide tile", {ItemKind::Tileset, 5}, QStringLiteral("0"), {QStringLiteral("--no-colors")},
         [](ExportDataOptions& o) { o.includeColors = false; }},
        {"screen cells out of order", {ItemKind::Screen, 0}, QStringLiteral("3:2,0:0,1:0,0:1"), {}, none},
        {"screen cells compressed", {ItemKind::Screen, 0}, QStringLiteral("1:0, 1:0,2:1"),
         {QStringLiteral("--rle"), QStringLiteral("--comments")},
         [](ExportDataOptions& o) {
             o.compressRLE = true;
             o.includeComments = true;
         }},
        {"narrow block cell", {ItemKind::Screen, 2}, QStringLiteral("1:1"), {}, none},
        {"block cells outside the screen", {ItemKind::Screen, 2}, QStringLiteral("0:0,9:9"), {}, none},
        {"tile cells", {ItemKind::Screen, 1}, QStringLiteral("2:1,1:0"), {QStringLiteral("--base"), QStringLiteral("dec")},
         [](ExportDataOptions& o) { o.base = ExportDataOptions::NumberBase::Dec; }},
    };
}

QString argb(QRgb color)
{
    return QStringLiteral("#%1").arg(color, 8, 16, QLatin1Char('0'));
}

QRgb paletteColor(int index)
{
    return Palette::defaults().at(size_t(index));
}

// The exported text cut at its label lines: per label, in order, the text
// from its line up to the next label line (comments before a label fall to
// the part before; they assemble to nothing).
QList<QPair<QString, QString>> labelledParts(const QString& text)
{
    QList<QPair<QString, QString>> parts;
    static const QRegularExpression label(QStringLiteral("^(\\w*):$"));
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = label.match(line);
        if (match.hasMatch())
            parts.append({match.captured(1), QString()});
        if (!parts.isEmpty())
            parts.last().second += line + QLatin1Char('\n');
    }
    return parts;
}

// The project of an old file layout, written byte by byte: 0.10.x has no
// block-set section, image sets carry a kind byte instead of their type and
// block colours, tile sets store cells as bytes (colour 255 for an empty
// cell), no character-set flag and an unused value after the tile size;
// before 0.12.0 image sets have no selector grid size, frames have one
// offset pair and screens name a tile set by its plain identifier and have
// no cell colours.
QByteArray oldProjectFile(const FileVersion& version)
{
    const bool blocksetsKnown = !(version < FileVersion {0, 11, 0});
    LeBytes b;
    b.version(version);

    b.i32(1); // character sets
    b.version(version).i32(7).str(QString::fromUtf8("Alte Zeichen \xC3\xA4"));
    b.i32(1).i32(3).i32(8).i32(8).i32(8).raw(bytesOf({0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}));
    b.i32(2).i32(3).u8(9).i32(200).u8(4);
    b.i32(1).i32(8).i32(8).i32(8);
    b.i32(6).i32(1).i32(2).i32(3);
    if (blocksetsKnown)
        b.i32(0).i32(0); // type, no block colours
    else
        b.u8(1); // a character set
    b.f64(2.0).u8(0);
    b.i32(0); // multicolour sprites
    b.rgb(1, 2, 3).rgb(4, 5, 6).rgb(7, 8, 9);
    b.f64(3.0).i32(1);                                  // animations
    b.i32(25).i32(2);                                   // speed, frames
    b.i32(2).i32(3).i32(5).i32(7);                      // grid, one offset pair
    b.i32(1).i32(1).i32(0).i32(3).i32(2);               // one placed image
    b.i32(1).i32(1).i32(-4).i32(0).i32(0);

    b.i32(1); // sprite sets
    b.version(version).i32(4).str(QStringLiteral("Old sprites"));
    QByteArray spriteBytes;
    for (int i = 0; i < 63; ++i)
        spriteBytes.append(char(i * 3));
    b.i32(1).i32(0).i32(24).i32(21).i32(63).raw(spriteBytes);
    b.i32(1).i32(0).u8(14);
    b.i32(0).i32(24).i32(21).i32(63);
    b.i32(0).i32(1).i32(2).i32(3);
    if (blocksetsKnown)
        b.i32(1).i32(0);
    else
        b.u8(0); // a sprite set
    b.f64(4.0).u8(1);
    b.i32(1).i32(0);
    b.rgb(0, 0, 0).rgb(160, 160, 160).rgb(255, 255, 255);
    b.f64(4.0).i32(0);

    if (blocksetsKnown) {
        b.i32(1);
        b.version(version).i32(2).str(QStringLiteral("Blk"));
        b.i32(0).i32(0);
        b.i32(0).i32(8).i32(8).i32(8);
        b.i32(6).i32(1).i32(2).i32(3);
        b.i32(2).i32(1).i32(0).i32(5).i32(6).i32(7);
        b.f64(3.0).u8(1);
        b.i32(0);
        b.rgb(0, 0, 0).rgb(160, 160, 160).rgb(255, 255, 255);
        b.f64(4.0).i32(0);
    }

    b.i32(1); // tile sets
    b.version(version).i32(2).str(QStringLiteral("Old tiles"));
    if (blocksetsKnown)
        b.i32(2).u8(0); // block set 2
    else
        b.i32(7);
    b.i32(2);
    b.i32(0).i32(2).i32(1);
    if (blocksetsKnown)
        b.i32(2).i32(200).i32(17).i32(2).i32(-1).i32(254);
    else
        b.i32(2).u8(200).u8(17).i32(2).u8(255).u8(254);
    // A tile stored shorter than its size keeps its remaining cells empty.
    b.i32(5).i32(2).i32(1);
    if (blocksetsKnown)
        b.i32(1).i32(9).i32(1).i32(3);
    else
        b.i32(1).u8(9).i32(1).u8(3);
    b.i32(2).i32(1);
    if (!blocksetsKnown)
        b.i32(99);
    b.f64(1.5).u8(1).u8(0).i32(3).i32(2);

    b.i32(2); // screens
    b.version(version).i32(1).str(QStringLiteral("Old screen"));
    b.i32(2); // the tile set's identifier
    b.i32(3).i32(0).i32(0).i32(0).i32(0).i32(1).i32(5).i32(1).i32(0).i32(5);
    b.i32(2).i32(2).f64(2.0).u8(1).u8(0);
    b.version(version).i32(3).str(QString());
    b.i32(-1).i32(0);
    b.i32(1).i32(1).f64(3.0).u8(0).u8(1);
    return b.data;
}

// What oldProjectFile() reads as.
Project oldProjectConverted(const FileVersion& version)
{
    const bool blocksetsKnown = !(version < FileVersion {0, 11, 0});
    Project project;

    auto chars = QSharedPointer<Imageset>::create();
    chars->id = 7;
    chars->name = QString::fromUtf8("Alte Zeichen \xC3\xA4");
    ImageData image(8, 8);
    image.bytes = bytesOf({0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88});
    chars->images.insert(3, image);
    chars->imageColors = {{3, 9}, {200, 4}};
    chars->mode = Imageset::MCM;
    chars->imageWidth = chars->imageHeight = chars->imageSize = 8;
    chars->colors = {6, 1, 2, 3};
    chars->type = Imageset::Charset;
    chars->selectorZoom = 2.0;
    chars->selectorGridVisible = false;
    chars->selectorGridWidth = 32;
    chars->selectorGridHeight = 8;
    chars->backgroundColor = QColor(1, 2, 3);
    chars->pixelsGridColor = QColor(4, 5, 6);
    chars->imagesGridColor = QColor(7, 8, 9);
    chars->animations.zoom = 3.0;
    Animation animation;
    animation.speed = 25;
    animation.frames.append(frame(2, 3, {5, 5, 5, 5}, {7, 7, 7, 7}, {{1, 0, 3, 2}}));
    animation.frames.append(frame(1, 1, {-4, -4, -4, -4}, {0, 0, 0, 0}, {}));
    chars->animations.animations = {animation};

    auto sprites = QSharedPointer<Imageset>::create();
    sprites->id = 4;
    sprites->name = QStringLiteral("Old sprites");
    ImageData sprite(24, 21);
    for (int i = 0; i < 63; ++i)
        sprite.bytes[i] = char(i * 3);
    sprites->images.insert(0, sprite);
    sprites->imageColors = {{0, 14}};
    sprites->mode = Imageset::SCM;
    sprites->imageWidth = 24;
    sprites->imageHeight = 21;
    sprites->imageSize = 63;
    sprites->colors = {0, 1, 2, 3};
    sprites->type = Imageset::Spriteset;
    sprites->selectorZoom = 4.0;
    sprites->selectorGridVisible = true;
    sprites->selectorGridWidth = 16;
    sprites->selectorGridHeight = 16;
    sprites->multiColorSprites = {0};
    sprites->animations.zoom = 4.0;

    auto tiles = QSharedPointer<Tileset>::create();
    tiles->id = 2;
    tiles->name = QStringLiteral("Old tiles");
    tiles->imagesetId = blocksetsKnown ? 2 : 7;
    tiles->imagesetIsCharset = !blocksetsKnown;
    tiles->tiles.insert(0, tile(2, 1, {200, 17}, {-1, 254}));
    tiles->tiles.insert(5, tile(2, 1, {9, 0}, {3, -1}));
    tiles->tileWidth = 2;
    tiles->tileHeight = 1;
    tiles->zoom = 1.5;
    tiles->tilesGridVisible = true;
    tiles->charsGridVisible = false;
    tiles->gridSizeX = 3;
    tiles->gridSizeY = 2;

    auto screen = QSharedPointer<Screen>::create();
    screen->id = 1;
    screen->name = QStringLiteral("Old screen");
    screen->sourceRef = SourceRef::tilesetBit | 2;
    screen->cellIndexes = {{{0, 0}, 0}, {{0, 1}, 5}, {{1, 0}, 5}};
    screen->width = 2;
    screen->height = 2;
    screen->zoom = 2.0;
    screen->outerGridVisible = true;
    screen->innerGridVisible = false;

    auto unset = QSharedPointer<Screen>::create();
    unset->id = 3;
    unset->name = QString();
    unset->sourceRef = SourceRef::none;
    unset->width = 1;
    unset->height = 1;
    unset->zoom = 3.0;
    unset->outerGridVisible = false;
    unset->innerGridVisible = true;

    project.charsets = {chars};
    project.spritesets = {sprites};
    if (blocksetsKnown) {
        auto blocks = QSharedPointer<Imageset>::create();
        blocks->id = 2;
        blocks->name = QStringLiteral("Blk");
        blocks->mode = Imageset::SCM;
        blocks->imageWidth = blocks->imageHeight = blocks->imageSize = 8;
        blocks->colors = {6, 1, 2, 3};
        blocks->type = Imageset::Blockset;
        blocks->blockColors = {{0, {5, 6, 7}}};
        blocks->selectorZoom = 3.0;
        blocks->selectorGridVisible = true;
        blocks->selectorGridWidth = 32;
        blocks->selectorGridHeight = 8;
        blocks->animations.zoom = 4.0;
        project.blocksets = {blocks};
    }
    project.tilesets = {tiles};
    project.screens = {screen, unset};
    return project;
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temp;
    Project project;
    QString projectPath;
    QString missingPath;
    QStringList truncatedPaths;
    QString trailingPath;
    QString unknownRecordPath;
    QMap<QString, QString> unknownVersionPaths; // "0.12.1" -> path

    QString path(const QString& name) const { return temp.filePath(name); }
    // A fresh path under the temporary directory, removed if it exists.
    QString freshPath(const QString& name) const
    {
        const QString result = path(name);
        QDir(result).removeRecursively();
        QFile::remove(result);
        return result;
    }

    void checkPixel(const QImage& picture, int x, int y, QRgb expected)
    {
        QVERIFY2(picture.valid(x, y), qPrintable(QStringLiteral("(%1, %2) outside the picture").arg(x).arg(y)));
        const QString context = QStringLiteral("pixel (%1, %2)").arg(x).arg(y);
        QCOMPARE(argb(picture.pixel(x, y)) + QLatin1Char(' ') + context, argb(expected) + QLatin1Char(' ') + context);
    }
    void checkTransparent(const QImage& picture, const QRect& area)
    {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                QVERIFY2(picture.valid(x, y), qPrintable(QStringLiteral("(%1, %2) outside the picture").arg(x).arg(y)));
                QVERIFY2(qAlpha(picture.pixel(x, y)) == 0,
                         qPrintable(QStringLiteral("pixel (%1, %2) is %3, not transparent").arg(x).arg(y).arg(argb(picture.pixel(x, y)))));
            }
        }
    }
    // Runs png for the item into a fresh file in a fresh working directory,
    // which must hold nothing else afterwards, and loads the picture.
    void renderPng(const QString& item, const QStringList& extra, QImage& picture)
    {
        const QString directory = freshPath(QStringLiteral("png-work"));
        QVERIFY(QDir().mkpath(directory));
        RUN_CLI(run, QStringList {QStringLiteral("png"), projectPath, item, QStringLiteral("--out"),
                                  QStringLiteral("picture.png")} + extra,
                directory);
        EXPECT_SUCCESS(run);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(filesIn(directory), QStringList {QStringLiteral("picture.png")});
        const QString file = QDir(directory).filePath(QStringLiteral("picture.png"));
        QCOMPARE(readFile(file).left(8), QByteArray("\x89PNG\r\n\x1a\n"));
        QImage loaded(file);
        QVERIFY2(!loaded.isNull(), "the picture cannot be read");
        QVERIFY2(loaded.hasAlphaChannel(), "the picture has no alpha channel");
        picture = loaded.convertToFormat(QImage::Format_ARGB32);
    }

private slots:
    void initTestCase();

    void help_data();
    void help();
    void version();

    void list();
    void listEmptyProject();
    void listNames_data();
    void listNames();

    void dump();

    void exportText_data();
    void exportText();
    void exportSelection_data();
    void exportSelection();
    void exportLiteral_data();
    void exportLiteral();

    void binarySections_data();
    void binarySections();
    void binarySelection_data();
    void binarySelection();
    void binaryStaysInDirectory();
    void binaryWriteFailureWritesNothing();

    void pngCharsetSheet();
    void pngColumns();
    void pngSpriteSheet();
    void pngBlockSheet();
    void pngTileset();
    void pngScreens();

    void upgrade_data();
    void upgrade();
    void upgradeInPlace();

    void errors_data();
    void errors();
    void errorsWritingOutput();
};

void CliTest::initTestCase()
{
    QVERIFY2(QFileInfo(QStringLiteral(MOSAIKON_CLI)).isExecutable(), MOSAIKON_CLI " is not built");
    QVERIFY(temp.isValid());
    project = richProject();
    projectPath = path(QStringLiteral("rich project.mzprj"));
    QVERIFY(ProjectFile::write(projectPath, project));
    missingPath = path(QStringLiteral("no such project.mzprj"));

    // The project reads back as written, so the program sees this project.
    Project check;
    QVERIFY(ProjectFile::read(projectPath, check).ok());
    compareProjects(check, project);

    const QByteArray bytes = readFile(projectPath);
    for (int cut : {0, 5, 12, 13, 40, bytes.size() / 2, bytes.size() - 1}) {
        const QString cutPath = path(QStringLiteral("cut %1.mzprj").arg(cut));
        QVERIFY(writeFile(cutPath, bytes.left(cut)));
        truncatedPaths.append(cutPath);
    }
    trailingPath = path(QStringLiteral("trailing.mzprj"));
    QVERIFY(writeFile(trailingPath, bytes + '\0'));

    const QList<QVector<int>> unknown {{0, 9, 9}, {0, 12, 1}, {0, 13, 0}, {1, 0, 0}, {-1, 12, 0}};
    for (const QVector<int>& v : unknown) {
        const QString name = QStringLiteral("%1.%2.%3").arg(v[0]).arg(v[1]).arg(v[2]);
        const QString versionPath = path(QStringLiteral("version %1.mzprj").arg(name));
        QVERIFY(writeFile(versionPath, versionBytes(v[0], v[1], v[2]) + bytes.mid(12)));
        unknownVersionPaths.insert(name, versionPath);
    }
    // The head is accepted, but the first record names a version that is not.
    unknownRecordPath = path(QStringLiteral("record version.mzprj"));
    QByteArray record = bytes;
    record.replace(16, 12, versionBytes(0, 13, 0));
    QVERIFY(writeFile(unknownRecordPath, record));
    QCOMPARE(bytes.mid(16, 12), versionBytes(0, 12, 0)); // the first record starts after the count
}

// ---------------------------------------------------------------------------

void CliTest::help_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("usage");
    QTest::addColumn<QStringList>("mentions");

    const QStringList textOptions {
        QStringLiteral("--indent"),      QStringLiteral("--per-line"),     QStringLiteral("--prefix"),
        QStringLiteral("--base"),        QStringLiteral("--hex-prefix"),   QStringLiteral("--separator"),
        QStringLiteral("--comment-prefix"), QStringLiteral("--comments"), QStringLiteral("--rle"),
        QStringLiteral("--colors"),      QStringLiteral("--no-colors"),    QStringLiteral("--data"),
        QStringLiteral("--no-data"),     QStringLiteral("--empty-slots"),  QStringLiteral("--no-empty-slots"),
        QStringLiteral("--selection"),   QStringLiteral("--select")};
    const QStringList commands {QStringLiteral("list"), QStringLiteral("dump"), QStringLiteral("export"),
                                QStringLiteral("binary"), QStringLiteral("png"), QStringLiteral("upgrade")};
    const QStringList items {QStringLiteral("charset:ID"), QStringLiteral("spriteset:ID"),
                             QStringLiteral("blockset:ID"), QStringLiteral("tileset:ID"), QStringLiteral("screen:ID"),
                             QStringLiteral("/anim:A"), QStringLiteral("/frame:F")};

    QTest::newRow("--help") << QStringList {QStringLiteral("--help")} << QStringLiteral("Usage: mosaikon-cli COMMAND")
                            << commands + items;
    QTest::newRow("-h") << QStringList {QStringLiteral("-h")} << QStringLiteral("Usage: mosaikon-cli COMMAND")
                        << commands + items;
    QTest::newRow("list") << QStringList {QStringLiteral("list"), QStringLiteral("--help")}
                          << QStringLiteral("Usage: mosaikon-cli list PROJECT") << QStringList();
    QTest::newRow("dump") << QStringList {QStringLiteral("dump"), QStringLiteral("--help")}
                          << QStringLiteral("Usage: mosaikon-cli dump PROJECT") << QStringList {QStringLiteral("JSON")};
    QTest::newRow("export") << QStringList {QStringLiteral("export"), QStringLiteral("--help")}
                            << QStringLiteral("Usage: mosaikon-cli export PROJECT ITEM") << textOptions;
    QTest::newRow("export -h after arguments")
        << QStringList {QStringLiteral("export"), projectPath, QStringLiteral("charset:0"), QStringLiteral("-h")}
        << QStringLiteral("Usage: mosaikon-cli export PROJECT ITEM") << textOptions;
    QTest::newRow("binary") << QStringList {QStringLiteral("binary"), QStringLiteral("--help")}
                            << QStringLiteral("Usage: mosaikon-cli binary PROJECT ITEM --out-dir DIR")
                            << textOptions + QStringList {QStringLiteral(".bin")};
    QTest::newRow("png") << QStringList {QStringLiteral("png"), QStringLiteral("--help")}
                         << QStringLiteral("Usage: mosaikon-cli png PROJECT ITEM --out FILE")
                         << QStringList {QStringLiteral("--columns")};
    QTest::newRow("upgrade") << QStringList {QStringLiteral("upgrade"), QStringLiteral("--help")}
                             << QStringLiteral("Usage: mosaikon-cli upgrade IN OUT") << QStringList();
}

void CliTest::help()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, usage);
    QFETCH(QStringList, mentions);
    RUN_CLI(run, arguments);
    EXPECT_SUCCESS(run);
    const QString text = QString::fromUtf8(run.out);
    QVERIFY2(text.startsWith(usage), qPrintable(text));
    QVERIFY(text.endsWith(QLatin1Char('\n')));
    for (const QString& mention : mentions)
        QVERIFY2(text.contains(mention), qPrintable(QStringLiteral("'%1' missing in:\n%2").arg(mention, text)));
}

void CliTest::version()
{
    RUN_CLI(run, {QStringLiteral("--version")});
    EXPECT_SUCCESS(run);
    QCOMPARE(run.out, QByteArray("mosaikon-cli " MOSAIKON_VERSION "\n"));
}

// ---------------------------------------------------------------------------

void CliTest::list()
{
    RUN_CLI(run, {QStringLiteral("list"), projectPath});
    EXPECT_SUCCESS(run);
    QVERIFY(run.out.endsWith('\n'));
    const QStringList lines = QString::fromUtf8(run.out).split(QLatin1Char('\n'));
    QCOMPARE(lines.last(), QString());

    // One line per item, kinds in project-file order, items in list order.
    struct Expected {
        QString kind;
        qint32 id;
        QString name;
        QStringList summary; // pieces the summary must contain
    };
    QList<Expected> expected;
    const auto imagesets = [&](const QString& kind, const QList<QSharedPointer<Imageset>>& sets) {
        for (const auto& set : sets)
            expected.append({kind, set->id, set->name,
                             {QStringLiteral("%1 images").arg(set->images.size()),
                              QStringLiteral("%1 animations").arg(set->animations.animations.size())}});
    };
    imagesets(QStringLiteral("charset"), project.charsets);
    imagesets(QStringLiteral("spriteset"), project.spritesets);
    imagesets(QStringLiteral("blockset"), project.blocksets);
    for (const auto& tileset : project.tilesets)
        expected.append({QStringLiteral("tileset"), tileset->id, tileset->name,
                         {QStringLiteral("%1 tiles").arg(tileset->tiles.size()),
                          QStringLiteral("%1x%2").arg(tileset->tileWidth).arg(tileset->tileHeight)}});
    for (const auto& screen : project.screens)
        expected.append({QStringLiteral("screen"), screen->id, screen->name,
                         {QStringLiteral("%1x%2").arg(screen->width).arg(screen->height),
                          QStringLiteral("%1 used").arg(screen->cellIndexes.size())}});

    QCOMPARE(lines.size() - 1, expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const QStringList fields = lines.at(i).split(QLatin1Char('\t'));
        QVERIFY2(fields.size() == 4, qPrintable(lines.at(i)));
        QCOMPARE(fields.at(0), expected.at(i).kind);
        QCOMPARE(fields.at(1), QString::number(expected.at(i).id));
        QCOMPARE(fields.at(2), expected.at(i).name);
        for (const QString& piece : expected.at(i).summary)
            QVERIFY2(fields.at(3).contains(piece), qPrintable(QStringLiteral("'%1' not in '%2'").arg(piece, fields.at(3))));
    }
    // The spot checks of a few summaries, worked out by hand.
    QVERIFY(lines.at(1).endsWith(QLatin1String("\t4 images, 2 animations")));
    QVERIFY(lines.at(4).contains(QLatin1String("\t3 tiles")));
    QVERIFY(lines.at(7).contains(QLatin1String("4x3")) && lines.at(7).contains(QLatin1String("4 used")));
}

void CliTest::listEmptyProject()
{
    const QString empty = path(QStringLiteral("empty.mzprj"));
    QVERIFY(ProjectFile::write(empty, Project()));
    RUN_CLI(run, {QStringLiteral("list"), empty});
    EXPECT_SUCCESS(run);
    QCOMPARE(run.out, QByteArray());
}

void CliTest::listNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("listed");
    QTest::newRow("umlauts") << QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e \xC3\x84\xC3\x96\xC3\x9C") << QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e \xC3\x84\xC3\x96\xC3\x9C");
    QTest::newRow("japanese") << QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E") << QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");
    QTest::newRow("outside the basic plane") << QString::fromUtf8("\xF0\x9F\x8E\xAE \xF0\x9F\x91\xBE") << QString::fromUtf8("\xF0\x9F\x8E\xAE \xF0\x9F\x91\xBE");
    QTest::newRow("quote, backslash, slash") << QStringLiteral("say \"hi\" \\ / end") << QStringLiteral("say \"hi\" \\ / end");
    QTest::newRow("empty") << QString() << QString();
    // Line breaks and tabs would break the one-line, tab-separated list.
    QTest::newRow("tab and line breaks") << QStringLiteral("a\tb\nc\rd") << QStringLiteral("a\\tb\\nc\\rd");
}

void CliTest::listNames()
{
    QFETCH(QString, name);
    QFETCH(QString, listed);
    Project named;
    named.charsets.append(QSharedPointer<Imageset>::create(0, name, 8, 8, Imageset::Charset));
    auto screen = QSharedPointer<Screen>::create();
    screen->id = 3;
    screen->name = name + QStringLiteral(" 2");
    named.screens.append(screen);
    const QString file = path(QStringLiteral("named.mzprj"));
    QVERIFY(ProjectFile::write(file, named));

    RUN_CLI(run, {QStringLiteral("list"), file});
    EXPECT_SUCCESS(run);
    const QStringList lines = QString::fromUtf8(run.out).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0).split(QLatin1Char('\t')).value(2), listed);
    QCOMPARE(lines.at(1).split(QLatin1Char('\t')).value(2), listed + QStringLiteral(" 2"));
}

// ---------------------------------------------------------------------------

void CliTest::dump()
{
    // The dump itself is pinned in tests/exchange/tst_projectjson.cpp; here it
    // goes to standard output as the file's project and version give it.
    RUN_CLI(run, {QStringLiteral("dump"), projectPath});
    EXPECT_SUCCESS(run);
    QCOMPARE(run.out, ProjectJson::dump(project, FileVersion::current()));
}

// ---------------------------------------------------------------------------

void CliTest::exportText_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    for (const Target& target : allTargets()) {
        for (const OptionSet& set : optionSets()) {
            ExportDataOptions options = defaultOptions(target);
            set.apply(options);
            QTest::addRow("%s %s", qPrintable(target.text()), set.name)
                << QStringList {QStringLiteral("export"), projectPath, target.text()} + set.arguments
                << coreText(project, target, options, nullptr);
        }
    }
}

void CliTest::exportText()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    RUN_CLI(run, arguments);
    EXPECT_SUCCESS(run);
    QCOMPARE(QString::fromUtf8(run.out), expected);
}

void CliTest::exportSelection_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("unselected");
    for (const SelectCase& c : selectCases()) {
        ExportDataOptions options = defaultOptions(c.target);
        c.apply(options);
        QTest::newRow(c.name) << QStringList {QStringLiteral("export"), projectPath, c.target.text(),
                                              QStringLiteral("--select"), c.selection}
                + c.arguments
                              << coreText(project, c.target, options, &c.selection)
                              << coreText(project, c.target, options, nullptr);
    }
}

void CliTest::exportSelection()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QFETCH(QString, unselected);
    // The selection must make a difference, or the case proves nothing.
    QVERIFY(expected != unselected);
    RUN_CLI(run, arguments);
    EXPECT_SUCCESS(run);
    QCOMPARE(QString::fromUtf8(run.out), expected);
}

void CliTest::exportLiteral_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    // A screen without source: reference 255 with type 2, the size and cell
    // count as little-endian words, and 255 for every missing cell.
    QTest::newRow("empty screen, defaults")
        << QStringList {QStringLiteral("export"), projectPath, QStringLiteral("screen:4")}
        << QStringLiteral("Nothing_dataset_id:\n!byte $FF, $02\n\n"
                          "Nothing_width:\n!byte $02, $00\n\n"
                          "Nothing_height:\n!byte $01, $00\n\n"
                          "Nothing_num_cells:\n!byte $02, $00\n\n"
                          "Nothing_data:\n!byte $FF, $FF\n\n");
    QTest::newRow("empty screen, decimal, one per line, indented")
        << QStringList {QStringLiteral("export"), projectPath, QStringLiteral("screen:4"), QStringLiteral("--base"),
                        QStringLiteral("dec"), QStringLiteral("--per-line"), QStringLiteral("1"),
                        QStringLiteral("--indent"), QStringLiteral("2"), QStringLiteral("--prefix"),
                        QStringLiteral(".byte")}
        << QStringLiteral("Nothing_dataset_id:\n  .byte 255\n  .byte 2\n\n"
                          "Nothing_width:\n  .byte 2\n  .byte 0\n\n"
                          "Nothing_height:\n  .byte 1\n  .byte 0\n\n"
                          "Nothing_num_cells:\n  .byte 2\n  .byte 0\n\n"
                          "Nothing_data:\n  .byte 255\n  .byte 255\n\n");
    // A tile set without tiles or image set: reference 255 (-1) as a
    // character set, then by default its tile count, size, width flag, the
    // cells and the colours (255: empty).
    QTest::newRow("orphan tile set, defaults")
        << QStringList {QStringLiteral("export"), projectPath, QStringLiteral("tileset:6")}
        << QStringLiteral("Orphan_imageset_id:\n!byte $FF, $01\n\n"
                          "Orphan_num_tiles:\n!byte $01, $00\n\n"
                          "Orphan_size:\n!byte $01, $01\n\n"
                          "Orphan_is_16bit:\n!byte $00\n\n"
                          "Orphan_data:\n!byte $00\n\n"
                          "Orphan_colors:\n!byte $FF\n\n");
    // The first frame of the blocks' animation: one layer entry per layer
    // used, in order of first use, positions in cells, indexes cut to a byte.
    QTest::newRow("block animation frame")
        << QStringList {QStringLiteral("export"), projectPath, QStringLiteral("blockset:2/anim:0/frame:0"),
                        QStringLiteral("--separator"), QStringLiteral(",")}
        << QStringLiteral("Blocks_anim_0_numFrames:\n!byte $01\n\n"
                          "Blocks_anim_0_frame_0_nlayers:\n!byte $02\n\n"
                          "Blocks_anim_0_frame_0_layer_2_offset:\n!byte $02,$03\n\n"
                          "Blocks_anim_0_frame_0_layer_4_offset:\n!byte $04,$01\n\n"
                          "Blocks_anim_0_frame_0_layer_2_numImages:\n!byte $01\n\n"
                          "Blocks_anim_0_frame_0_layer_2_x_y_index:\n!byte $01,$01,$2C\n\n"
                          "Blocks_anim_0_frame_0_layer_4_numImages:\n!byte $01\n\n"
                          "Blocks_anim_0_frame_0_layer_4_x_y_index:\n!byte $00,$00,$01\n\n");
}

void CliTest::exportLiteral()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    RUN_CLI(run, arguments);
    EXPECT_SUCCESS(run);
    QCOMPARE(QString::fromUtf8(run.out), expected);
}

// ---------------------------------------------------------------------------

namespace {
// Checks a binary command's directory against the core's sections and the
// assembled text of the export command run with the same options.
void checkBinary(const Project& project, const QString& projectPath, const QString& directory, const Target& target,
                 const QStringList& arguments, const ExportDataOptions& options, const QString* selection,
                 bool acmeSyntax)
{
    QVERIFY(!QFileInfo::exists(directory));
    RUN_CLI(run, QStringList {QStringLiteral("binary"), projectPath, target.text(), QStringLiteral("--out-dir"), directory}
                     + arguments);
    EXPECT_SUCCESS(run);
    QVERIFY(run.out.isEmpty());

    // One file per labelled section, holding exactly the section's bytes.
    const QList<ExportSection> sections = coreSections(project, target, options, selection);
    QStringList expectedFiles;
    for (const ExportSection& section : sections) {
        if (!section.label.isEmpty())
            expectedFiles.append(section.label + QStringLiteral(".bin"));
    }
    QStringList sortedFiles = expectedFiles;
    sortedFiles.sort();
    sortedFiles.removeDuplicates();
    QCOMPARE(sortedFiles.size(), expectedFiles.size());
    QCOMPARE(filesIn(directory), sortedFiles);
    for (const ExportSection& section : sections) {
        if (section.label.isEmpty())
            continue;
        QCOMPARE(readFile(QDir(directory).filePath(section.label + QStringLiteral(".bin"))).toHex(),
                 section.bytes.toHex());
    }
    if (!acmeSyntax)
        return;

    // The exported text assembles to the files' bytes: as a whole, compared
    // with a source that includes every file with !binary, and label by
    // label, each label's part of the text giving that label's file.
    RUN_CLI(text, QStringList {QStringLiteral("export"), projectPath, target.text()} + arguments);
    EXPECT_SUCCESS(text);
    const QString source = QString::fromUtf8(text.out);
    QByteArray fromText;
    QString error;
    QVERIFY2(assemble(QStringLiteral("acme"), source, fromText, error), qPrintable(error));
    QString includes;
    for (const QString& file : expectedFiles)
        includes += QStringLiteral("!binary \"%1\"\n").arg(QDir(directory).filePath(file));
    QByteArray fromFiles;
    QVERIFY2(assemble(QStringLiteral("acme"), includes, fromFiles, error), qPrintable(error));
    QCOMPARE(fromText.toHex(), fromFiles.toHex());

    const QList<QPair<QString, QString>> parts = labelledParts(source);
    QCOMPARE(parts.size(), expectedFiles.size());
    for (int i = 0; i < parts.size(); ++i) {
        QCOMPARE(parts.at(i).first + QStringLiteral(".bin"), expectedFiles.at(i));
        QByteArray fromPart;
        QVERIFY2(assemble(QStringLiteral("acme"), parts.at(i).second, fromPart, error), qPrintable(error));
        QCOMPARE(readFile(QDir(directory).filePath(expectedFiles.at(i))).toHex(), fromPart.toHex());
    }
}
}

void CliTest::binarySections_data()
{
    QTest::addColumn<int>("targetIndex");
    QTest::addColumn<int>("optionIndex");
    const QList<Target> targets = allTargets();
    const QList<OptionSet> sets = optionSets();
    for (int t = 0; t < targets.size(); ++t) {
        for (int o = 0; o < sets.size(); ++o)
            QTest::addRow("%s %s", qPrintable(targets.at(t).text()), sets.at(o).name) << t << o;
    }
}

void CliTest::binarySections()
{
    QFETCH(int, targetIndex);
    QFETCH(int, optionIndex);
    const Target target = allTargets().at(targetIndex);
    const OptionSet set = optionSets().at(optionIndex);
    ExportDataOptions options = defaultOptions(target);
    set.apply(options);
    checkBinary(project, projectPath, freshPath(QStringLiteral("binary out")), target, set.arguments, options, nullptr,
                set.acmeSyntax);
}

void CliTest::binarySelection_data()
{
    QTest::addColumn<int>("caseIndex");
    const QList<SelectCase> cases = selectCases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases.at(i).name) << i;
}

void CliTest::binarySelection()
{
    QFETCH(int, caseIndex);
    const SelectCase c = selectCases().at(caseIndex);
    ExportDataOptions options = defaultOptions(c.target);
    c.apply(options);
    checkBinary(project, projectPath, freshPath(QStringLiteral("binary selection")), c.target,
                QStringList {QStringLiteral("--select"), c.selection} + c.arguments, options, &c.selection, true);
}

void CliTest::binaryStaysInDirectory()
{
    // Section files are named after labels, which keep only letters, digits
    // and underscores: a name full of path characters cannot leave the
    // directory.
    Project hostile;
    hostile.charsets.append(
        QSharedPointer<Imageset>::create(0, QStringLiteral("../../up/.. /x"), 8, 8, Imageset::Charset));
    const QString file = path(QStringLiteral("hostile.mzprj"));
    QVERIFY(ProjectFile::write(file, hostile));
    const QString parent = freshPath(QStringLiteral("hostile"));
    const QString directory = QDir(parent).filePath(QStringLiteral("a/b"));
    RUN_CLI(run, {QStringLiteral("binary"), file, QStringLiteral("charset:0"), QStringLiteral("--out-dir"), directory,
                  QStringLiteral("--colors")});
    EXPECT_SUCCESS(run);
    QCOMPARE(filesIn(parent), QStringList {QStringLiteral("a")});
    QCOMPARE(filesIn(QDir(parent).filePath(QStringLiteral("a"))), QStringList {QStringLiteral("b")});
    QCOMPARE(filesIn(directory),
             (QStringList {QStringLiteral("up_x_bckgndColors.bin"), QStringLiteral("up_x_colors.bin"),
                           QStringLiteral("up_x_data.bin")}));
    QCOMPARE(readFile(QDir(directory).filePath(QStringLiteral("up_x_data.bin"))), QByteArray(256 * 8, '\0'));
}

void CliTest::binaryWriteFailureWritesNothing()
{
    // The last section's file cannot be written (a directory has its name):
    // the command fails, names that file, and writes none of the others,
    // whether they are new or replace existing files.
    const QString label = TextFormat::labelName(fontName);
    const QString directory = freshPath(QStringLiteral("blocked"));
    const QString blocked = QDir(directory).filePath(label + QStringLiteral("_colors.bin"));
    QVERIFY(QDir().mkpath(blocked));
    const QStringList arguments {QStringLiteral("binary"), projectPath, QStringLiteral("charset:0"),
                                 QStringLiteral("--out-dir"), directory, QStringLiteral("--colors")};
    {
        RUN_CLI(run, arguments);
        checkFailure(run, 1, {blocked});
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(filesIn(directory), QStringList {label + QStringLiteral("_colors.bin")});
        QCOMPARE(filesIn(blocked), QStringList());
    }
    const QString data = QDir(directory).filePath(label + QStringLiteral("_data.bin"));
    QVERIFY(writeFile(data, "keep"));
    RUN_CLI(again, arguments);
    checkFailure(again, 1, {blocked});
    QCOMPARE(filesIn(directory), (QStringList {label + QStringLiteral("_colors.bin"), label + QStringLiteral("_data.bin")}));
    QCOMPARE(readFile(data), QByteArray("keep"));

    // Once the way is free, every file is written.
    QVERIFY(QDir(blocked).removeRecursively());
    RUN_CLI(free, arguments);
    EXPECT_SUCCESS(free);
    QCOMPARE(filesIn(directory),
             (QStringList {label + QStringLiteral("_bckgndColors.bin"), label + QStringLiteral("_colors.bin"),
                           label + QStringLiteral("_data.bin")}));
    QCOMPARE(readFile(data).size(), 256 * 8);
}

// ---------------------------------------------------------------------------

void CliTest::pngCharsetSheet()
{
    // 256 characters, 16 per row (the set's image-list width): 128 x 128.
    QImage picture;
    renderPng(QStringLiteral("charset:0"), {}, picture);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(picture.size(), QSize(128, 128));
    // Slot 0 has no image: transparent; slot 3 has a colour but no image.
    checkTransparent(picture, QRect(0, 0, 8, 8));
    checkTransparent(picture, QRect(24, 0, 8, 8));
    // Slot 1, colour 5: hi-res, set bit green, clear bit the background (6).
    checkPixel(picture, 8, 0, paletteColor(5));
    checkPixel(picture, 9, 0, paletteColor(6));
    // Slot 5, colour 10: multicolour 00 01 10 11 = background, colours 1 and
    // 2, and the colour's low three bits (2).
    checkPixel(picture, 40, 0, paletteColor(6));
    checkPixel(picture, 42, 0, paletteColor(13));
    checkPixel(picture, 44, 0, paletteColor(8));
    checkPixel(picture, 46, 0, paletteColor(2));
    checkPixel(picture, 47, 0, paletteColor(2));
    // Slot 65 (column 1, row 4), colour 7: hi-res yellow.
    checkPixel(picture, 8, 32, paletteColor(7));
    // Slot 255 (column 15, row 15), colour 15, all bits set: 15 & 7 = 7.
    checkPixel(picture, 120, 120, paletteColor(7));
    checkPixel(picture, 127, 120, paletteColor(7));
}

void CliTest::pngColumns()
{
    QImage five;
    renderPng(QStringLiteral("charset:0"), {QStringLiteral("--columns"), QStringLiteral("5")}, five);
    if (QTest::currentTestFailed())
        return;
    // 256 slots in rows of 5: 52 rows.
    QCOMPARE(five.size(), QSize(40, 416));
    checkPixel(five, 8, 0, paletteColor(5));  // slot 1
    checkPixel(five, 6, 8, paletteColor(2));  // slot 5 starts the second row
    checkPixel(five, 0, 104, paletteColor(7)); // slot 65: column 0, row 13
    checkTransparent(five, QRect(0, 0, 8, 8));

    QImage one;
    renderPng(QStringLiteral("charset:0"), {QStringLiteral("--columns"), QStringLiteral("1")}, one);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(one.size(), QSize(8, 2048));
    checkPixel(one, 0, 8, paletteColor(5));
    checkPixel(one, 6, 40, paletteColor(2));

    QImage sprites;
    renderPng(QStringLiteral("spriteset:1"), {QStringLiteral("--columns"), QStringLiteral("2")}, sprites);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(sprites.size(), QSize(48, 42));
    checkPixel(sprites, 0, 21, paletteColor(7)); // slot 2 starts the second row
    checkTransparent(sprites, QRect(24, 21, 24, 21));
}

void CliTest::pngSpriteSheet()
{
    // Slots 0 to 2 (the last image), 4 per row: one row of 24 x 21 sprites.
    QImage picture;
    renderPng(QStringLiteral("spriteset:1"), {}, picture);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(picture.size(), QSize(96, 21));
    // Slot 0, hi-res in white; its clear bits show the opaque background.
    checkPixel(picture, 0, 0, paletteColor(1));
    checkPixel(picture, 23, 0, paletteColor(1));
    checkPixel(picture, 1, 0, paletteColor(0));
    // Slot 1 is empty, and so is the fourth place.
    checkTransparent(picture, QRect(24, 0, 24, 21));
    checkTransparent(picture, QRect(72, 0, 24, 21));
    // Slot 2, multicolour: 10 is the sprite's own colour (7), 01 colour 1
    // (11), 11 colour 2 (12), 00 the background (0).
    checkPixel(picture, 48, 0, paletteColor(7));
    checkPixel(picture, 50, 0, paletteColor(11));
    checkPixel(picture, 52, 0, paletteColor(12));
    checkPixel(picture, 54, 0, paletteColor(0));
}

void CliTest::pngBlockSheet()
{
    // Slots 0 to 300, 20 per row: 16 rows.
    QImage picture;
    renderPng(QStringLiteral("blockset:2"), {}, picture);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(picture.size(), QSize(160, 128));
    // Slot 1 has block colours 5, 6, 7 in a multicolour set: 11 is the
    // image colour (15, none set), 10 the block's c2 (7), 01 its c1 (6),
    // 00 the set background (0).
    checkPixel(picture, 8, 0, paletteColor(15));
    checkPixel(picture, 10, 0, paletteColor(7));
    checkPixel(picture, 12, 0, paletteColor(6));
    checkPixel(picture, 14, 0, paletteColor(0));
    // Slot 0 without block colours: 01 is the set's colour 1 (3), 11 the
    // image colour 13.
    checkPixel(picture, 2, 0, paletteColor(3));
    checkPixel(picture, 6, 0, paletteColor(13));
    // Slot 2 has block colours but no image.
    checkTransparent(picture, QRect(16, 0, 8, 8));
    // Slot 300: column 0, row 15; block colours 8, 9, 10, image colour 14.
    checkPixel(picture, 0, 120, paletteColor(14));
    checkPixel(picture, 2, 120, paletteColor(10));
    checkPixel(picture, 4, 120, paletteColor(9));
}

void CliTest::pngTileset()
{
    // 2 x 2 tile places of 2 x 2 cells: 32 x 32 pixels.
    QImage picture;
    renderPng(QStringLiteral("tileset:0"), {}, picture);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(picture.size(), QSize(32, 32));
    // Tile 0: character 1 in colour 5 (hi-res), character 5 in colour 10
    // (multicolour, 11 = 2), an empty cell, character 65 in colour 7.
    checkPixel(picture, 0, 0, paletteColor(5));
    checkPixel(picture, 1, 0, paletteColor(6));
    checkPixel(picture, 14, 0, paletteColor(2));
    checkPixel(picture, 10, 0, paletteColor(13));
    checkTransparent(picture, QRect(0, 8, 8, 8));
    checkPixel(picture, 8, 8, paletteColor(7));
    // Tile 1: only the last cell is drawn, character 1 in colour 3.
    checkTransparent(picture, QRect(16, 0, 16, 8));
    checkTransparent(picture, QRect(16, 8, 8, 8));
    checkPixel(picture, 24, 8, paletteColor(3));
    // Tile 2 does not exist.
    checkTransparent(picture, QRect(0, 16, 16, 16));
    // Tile 3: character 1 in colour 1 as its second cell.
    checkPixel(picture, 24, 16, paletteColor(1));

    // Block cells; a missing tile and an empty cell stay transparent.
    QImage wide;
    renderPng(QStringLiteral("tileset:5"), {}, wide);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(wide.size(), QSize(24, 8));
    checkPixel(wide, 0, 0, paletteColor(14));
    checkPixel(wide, 2, 0, paletteColor(10));
    checkPixel(wide, 4, 0, paletteColor(9));
    checkTransparent(wide, QRect(8, 0, 16, 8));

    // Without an image set the grid is drawn empty.
    QImage orphan;
    renderPng(QStringLiteral("tileset:6"), {}, orphan);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(orphan.size(), QSize(8, 8));
    checkTransparent(orphan, orphan.rect());
}

void CliTest::pngScreens()
{
    QImage title;
    renderPng(QStringLiteral("screen:0"), {}, title);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(title.size(), QSize(32, 24));
    // Cell colours override the image colours: character 1 in 5 (hi-res).
    checkPixel(title, 0, 0, paletteColor(5));
    checkPixel(title, 1, 0, paletteColor(6));
    // Character 5 in colour 12: multicolour, 11 = 12 & 7 = 4.
    checkPixel(title, 14, 0, paletteColor(4));
    checkPixel(title, 8, 0, paletteColor(6));
    // Character 65 has no cell colour: its image colour 7.
    checkPixel(title, 16, 8, paletteColor(7));
    // Character 255 in colour 1: hi-res, every bit set.
    checkPixel(title, 24, 16, paletteColor(1));
    checkPixel(title, 31, 16, paletteColor(1));
    // Cells without an index.
    checkTransparent(title, QRect(0, 8, 8, 8));
    checkTransparent(title, QRect(24, 0, 8, 8));

    QImage map;
    renderPng(QStringLiteral("screen:1"), {}, map);
    if (QTest::currentTestFailed())
        return;
    // 3 x 2 cells of 2 x 2 characters.
    QCOMPARE(map.size(), QSize(48, 32));
    checkPixel(map, 0, 0, paletteColor(5));
    checkPixel(map, 14, 0, paletteColor(2));
    checkTransparent(map, QRect(0, 8, 8, 8));   // the empty cell of tile 0
    checkTransparent(map, QRect(16, 0, 16, 16)); // tile 7 does not exist
    checkPixel(map, 40, 16, paletteColor(1));    // tile 3 at cell (2, 1)
    checkTransparent(map, QRect(0, 16, 16, 16)); // no index

    QImage blocky;
    renderPng(QStringLiteral("screen:2"), {}, blocky);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(blocky.size(), QSize(16, 16));
    checkPixel(blocky, 0, 0, paletteColor(14));
    checkPixel(blocky, 2, 0, paletteColor(10));
    checkPixel(blocky, 14, 8, paletteColor(13)); // block 0 in its image colour
    checkPixel(blocky, 10, 8, paletteColor(3));
    checkTransparent(blocky, QRect(0, 8, 8, 8)); // a colour without a cell

    QImage nothing;
    renderPng(QStringLiteral("screen:4"), {}, nothing);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(nothing.size(), QSize(16, 8));
    checkTransparent(nothing, nothing.rect());

    QImage gone;
    renderPng(QStringLiteral("screen:7"), {}, gone);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(gone.size(), QSize(24, 16));
    checkTransparent(gone, gone.rect());
}

// ---------------------------------------------------------------------------

void CliTest::upgrade_data()
{
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("patch");
    QTest::newRow("0.10.0") << 10 << 0;
    QTest::newRow("0.10.9") << 10 << 9;
    QTest::newRow("0.11.0") << 11 << 0;
    QTest::newRow("0.11.5") << 11 << 5;
}

void CliTest::upgrade()
{
    QFETCH(int, minor);
    QFETCH(int, patch);
    const FileVersion version {0, minor, patch};
    const QByteArray oldBytes = oldProjectFile(version);
    const QString oldPath = path(QStringLiteral("old %1.%2.mzprj").arg(minor).arg(patch));
    QVERIFY(writeFile(oldPath, oldBytes));
    const QString newPath = freshPath(QStringLiteral("upgraded.mzprj"));
    const Project expected = oldProjectConverted(version);

    RUN_CLI(run, {QStringLiteral("upgrade"), oldPath, newPath});
    EXPECT_SUCCESS(run);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(readFile(oldPath), oldBytes);

    // The newest layout: version 0.12.0 at the head and in every record.
    const QByteArray newBytes = readFile(newPath);
    QCOMPARE(newBytes.left(12).toHex(), versionBytes(0, 12, 0).toHex());
    QCOMPARE(newBytes.mid(16, 12).toHex(), versionBytes(0, 12, 0).toHex());
    Project read;
    const ProjectReadResult result = ProjectFile::read(newPath, read);
    QVERIFY(result.ok());
    QVERIFY(result.version == FileVersion::current());
    compareProjects(read, expected);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(newBytes.toHex(), ProjectFile::serialize(expected).toHex());

    // The old file as the program sees it: its own version, converted fields.
    RUN_CLI(dump, {QStringLiteral("dump"), oldPath});
    EXPECT_SUCCESS(dump);
    QCOMPARE(dump.out, ProjectJson::dump(expected, version));

    RUN_CLI(listed, {QStringLiteral("list"), oldPath});
    EXPECT_SUCCESS(listed);
    QStringList kinds;
    for (const QString& line : QString::fromUtf8(listed.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        kinds.append(line.section(QLatin1Char('\t'), 0, 2));
    QStringList expectedKinds {QString::fromUtf8("charset\t7\tAlte Zeichen \xC3\xA4"),
                               QStringLiteral("spriteset\t4\tOld sprites")};
    if (minor >= 11)
        expectedKinds.append(QStringLiteral("blockset\t2\tBlk"));
    expectedKinds << QStringLiteral("tileset\t2\tOld tiles") << QStringLiteral("screen\t1\tOld screen")
                  << QStringLiteral("screen\t3\t");
    QCOMPARE(kinds, expectedKinds);

    // Upgrading the newest layout changes nothing.
    const QString againPath = freshPath(QStringLiteral("upgraded again.mzprj"));
    RUN_CLI(again, {QStringLiteral("upgrade"), newPath, againPath});
    EXPECT_SUCCESS(again);
    QCOMPARE(readFile(againPath).toHex(), newBytes.toHex());
}

void CliTest::upgradeInPlace()
{
    const QString file = path(QStringLiteral("in place.mzprj"));
    QVERIFY(writeFile(file, oldProjectFile({0, 10, 0})));
    RUN_CLI(run, {QStringLiteral("upgrade"), file, file});
    EXPECT_SUCCESS(run);
    QCOMPARE(readFile(file).toHex(), ProjectFile::serialize(oldProjectConverted({0, 10, 0})).toHex());
}

// ---------------------------------------------------------------------------

void CliTest::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("mentions");
    QTest::addColumn<QString>("output"); // what the command would write, or empty
    QTest::addColumn<bool>("outputIsDirectory");

    const QString out = path(QStringLiteral("error output.png"));
    const QString dir = path(QStringLiteral("error output dir"));
    const QString upgraded = path(QStringLiteral("error output.mzprj"));
    const QString p = projectPath;
    const auto row = [](const char* name, const QStringList& arguments, int code, const QStringList& mentions,
                        const QString& output = QString(), bool isDirectory = false) {
        QTest::newRow(name) << arguments << code << mentions << output << isDirectory;
    };
    const QString L = QStringLiteral("list"), D = QStringLiteral("dump"), E = QStringLiteral("export"),
                  B = QStringLiteral("binary"), P = QStringLiteral("png"), U = QStringLiteral("upgrade");
    const QString c0 = QStringLiteral("charset:0");
    const QString outOpt = QStringLiteral("--out"), dirOpt = QStringLiteral("--out-dir");

    // Files that cannot be read: exit 1, the message names the file.
    row("list missing file", {L, missingPath}, 1, {missingPath});
    row("dump missing file", {D, missingPath}, 1, {missingPath});
    row("export missing file", {E, missingPath, c0}, 1, {missingPath});
    row("png missing file", {P, missingPath, c0, outOpt, out}, 1, {missingPath}, out);
    row("binary missing file", {B, missingPath, c0, dirOpt, dir}, 1, {missingPath}, dir, true);
    row("upgrade missing file", {U, missingPath, upgraded}, 1, {missingPath}, upgraded);
    row("list a directory", {L, temp.path()}, 1, {temp.path()});
    for (const QString& cut : truncatedPaths) {
        row(qPrintable(QStringLiteral("list ") + QFileInfo(cut).fileName()), {L, cut}, 1, {cut});
    }
    row("dump truncated", {D, truncatedPaths.last()}, 1, {truncatedPaths.last()});
    row("export truncated", {E, truncatedPaths.at(4), c0}, 1, {truncatedPaths.at(4)});
    row("png truncated", {P, truncatedPaths.at(5), c0, outOpt, out}, 1, {truncatedPaths.at(5)}, out);
    row("binary truncated", {B, truncatedPaths.at(5), c0, dirOpt, dir}, 1, {truncatedPaths.at(5)}, dir, true);
    row("upgrade truncated", {U, truncatedPaths.last(), upgraded}, 1, {truncatedPaths.last()}, upgraded);
    row("list trailing byte", {L, trailingPath}, 1, {trailingPath});
    row("upgrade trailing byte", {U, trailingPath, upgraded}, 1, {trailingPath}, upgraded);
    row("list unknown record version", {L, unknownRecordPath}, 1, {unknownRecordPath});
    for (auto it = unknownVersionPaths.cbegin(); it != unknownVersionPaths.cend(); ++it) {
        row(qPrintable(QStringLiteral("list version ") + it.key()), {L, it.value()}, 1, {it.value(), it.key()});
    }
    const QString v0121 = unknownVersionPaths.value(QStringLiteral("0.12.1"));
    row("upgrade unknown version", {U, v0121, upgraded}, 1, {v0121, QStringLiteral("0.12.1")}, upgraded);
    row("png unknown version", {P, v0121, c0, outOpt, out}, 1, {v0121}, out);
    row("binary unknown version", {B, v0121, c0, dirOpt, dir}, 1, {v0121}, dir, true);

    // Items the project does not have: exit 1, the message names the item.
    for (const char* item : {"charset:9", "spriteset:0", "blockset:1", "tileset:1", "screen:3", "charset:0/anim:2",
                             "charset:0/anim:0/frame:2", "spriteset:1/anim:1", "charset:3/anim:0"}) {
        row(qPrintable(QStringLiteral("export unknown ") + QLatin1String(item)), {E, p, QLatin1String(item)}, 1,
            {QLatin1String(item)});
    }
    row("png unknown item", {P, p, QStringLiteral("screen:3"), outOpt, out}, 1, {QStringLiteral("screen:3")}, out);
    row("binary unknown item", {B, p, QStringLiteral("charset:9"), dirOpt, dir}, 1, {QStringLiteral("charset:9")}, dir,
        true);
    row("binary unknown frame", {B, p, QStringLiteral("charset:0/anim:0/frame:7"), dirOpt, dir}, 1,
        {QStringLiteral("charset:0/anim:0/frame:7")}, dir, true);

    // Item names that are not names: exit 2, the message names them.
    for (const char* item : {"charset", "charset:", "charset:x", "font:0", "Charset:0", "charset:-1", "charset:0 ",
                             "charset:0/anim", "charset:0/anim:", "charset:0/frame:1", "charset:0/anim:0/frame",
                             "tileset:0/anim:0", "screen:0/anim:0/frame:0", "charset:0:1", "charset:99999999999"}) {
        row(qPrintable(QStringLiteral("export bad item '%1'").arg(QLatin1String(item))), {E, p, QLatin1String(item)},
            2, {QLatin1String(item)});
    }
    row("png bad item", {P, p, QStringLiteral("sprite:1"), outOpt, out}, 2, {QStringLiteral("sprite:1")}, out);
    row("binary bad item", {B, p, QStringLiteral("tileset:0/anim:0"), dirOpt, dir}, 2,
        {QStringLiteral("tileset:0/anim:0")}, dir, true);

    // Usage: exit 2.
    row("unknown option", {E, p, c0, QStringLiteral("--colour")}, 2, {QStringLiteral("--colour")});
    row("export option for list", {L, p, QStringLiteral("--rle")}, 2, {QStringLiteral("--rle")});
    row("png option for dump", {D, p, outOpt, out}, 2, {outOpt});
    row("text option for png", {P, p, c0, outOpt, out, QStringLiteral("--rle")}, 2, {QStringLiteral("--rle")}, out);
    row("png option for binary", {B, p, c0, dirOpt, dir, QStringLiteral("--columns"), QStringLiteral("2")}, 2,
        {QStringLiteral("--columns")}, dir, true);
    row("png without --out", {P, p, c0}, 2, {outOpt});
    row("png --out without value", {P, p, c0, outOpt}, 2, {outOpt});
    row("binary without --out-dir", {B, p, c0}, 2, {dirOpt});
    row("binary --out-dir without value", {B, p, c0, dirOpt}, 2, {dirOpt});
    row("bad --base", {E, p, c0, QStringLiteral("--base"), QStringLiteral("oct")}, 2, {QStringLiteral("--base")});
    row("bad --base case", {E, p, c0, QStringLiteral("--base"), QStringLiteral("HEX")}, 2, {QStringLiteral("--base")});
    row("empty --base", {E, p, c0, QStringLiteral("--base"), QString()}, 2, {QStringLiteral("--base")});
    row("binary bad --base", {B, p, c0, dirOpt, dir, QStringLiteral("--base"), QStringLiteral("bin")}, 2,
        {QStringLiteral("--base")}, dir, true);
    row("--per-line 0", {E, p, c0, QStringLiteral("--per-line"), QStringLiteral("0")}, 2, {QStringLiteral("--per-line")});
    row("--per-line 2049", {E, p, c0, QStringLiteral("--per-line"), QStringLiteral("2049")}, 2,
        {QStringLiteral("--per-line")});
    row("--indent -1", {E, p, c0, QStringLiteral("--indent"), QStringLiteral("-1")}, 2, {QStringLiteral("--indent")});
    row("--indent 257", {E, p, c0, QStringLiteral("--indent"), QStringLiteral("257")}, 2, {QStringLiteral("--indent")});
    row("--indent word", {E, p, c0, QStringLiteral("--indent"), QStringLiteral("four")}, 2,
        {QStringLiteral("--indent")});
    row("--indent without value", {E, p, c0, QStringLiteral("--indent")}, 2, {QStringLiteral("--indent")});
    row("--select not a number", {E, p, c0, QStringLiteral("--select"), QStringLiteral("1,a")}, 2,
        {QStringLiteral("a")});
    row("--select negative", {E, p, c0, QStringLiteral("--select"), QStringLiteral("-3")}, 2, {QStringLiteral("-3")});
    row("--select no cell", {E, p, QStringLiteral("screen:0"), QStringLiteral("--select"), QStringLiteral("1")}, 2,
        {QStringLiteral("1")});
    row("--select three parts", {E, p, QStringLiteral("screen:0"), QStringLiteral("--select"), QStringLiteral("1:2:3")},
        2, {QStringLiteral("1:2:3")});
    row("--select negative cell", {E, p, QStringLiteral("screen:0"), QStringLiteral("--select"), QStringLiteral("-1:0")},
        2, {QStringLiteral("-1:0")});
    row("binary bad --select", {B, p, QStringLiteral("tileset:0"), dirOpt, dir, QStringLiteral("--select"),
                                QStringLiteral("x")},
        2, {QStringLiteral("--select")}, dir, true);
    row("png --columns 0", {P, p, c0, outOpt, out, QStringLiteral("--columns"), QStringLiteral("0")}, 2,
        {QStringLiteral("--columns")}, out);
    row("png --columns word", {P, p, c0, outOpt, out, QStringLiteral("--columns"), QStringLiteral("many")}, 2,
        {QStringLiteral("--columns")}, out);
    row("png of an animation", {P, p, QStringLiteral("charset:0/anim:0"), outOpt, out}, 2, {}, out);
    row("list without project", {L}, 2, {QStringLiteral("list")});
    row("list two projects", {L, p, p}, 2, {QStringLiteral("list")});
    row("dump without project", {D}, 2, {QStringLiteral("dump")});
    row("export without item", {E, p}, 2, {QStringLiteral("export")});
    row("export extra argument", {E, p, c0, QStringLiteral("charset:3")}, 2, {QStringLiteral("export")});
    row("upgrade without output", {U, p}, 2, {QStringLiteral("upgrade")});
    row("upgrade three arguments", {U, p, upgraded, upgraded}, 2, {QStringLiteral("upgrade")}, upgraded);
    row("unknown command", {QStringLiteral("frobnicate"), p}, 2, {QStringLiteral("frobnicate")});
    row("no command", {}, 2, {});
}

void CliTest::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, mentions);
    QFETCH(QString, output);
    QFETCH(bool, outputIsDirectory);

    if (!output.isEmpty()) {
        QDir(output).removeRecursively();
        QFile::remove(output);
    }
    {
        RUN_CLI(run, arguments);
        checkFailure(run, exitCode, mentions);
        if (QTest::currentTestFailed())
            return;
    }
    if (output.isEmpty())
        return;
    QVERIFY2(!QFileInfo::exists(output), qPrintable(output + QStringLiteral(" was created")));

    // An output that exists already stays as it was.
    const QString keptName = TextFormat::labelName(fontName) + QStringLiteral("_data.bin");
    if (outputIsDirectory) {
        QVERIFY(QDir().mkpath(output));
        QVERIFY(writeFile(QDir(output).filePath(keptName), "keep"));
    } else {
        QVERIFY(writeFile(output, "keep"));
    }
    RUN_CLI(again, arguments);
    checkFailure(again, exitCode, mentions);
    if (outputIsDirectory) {
        QCOMPARE(filesIn(output), QStringList {keptName});
        QCOMPARE(readFile(QDir(output).filePath(keptName)), QByteArray("keep"));
        QVERIFY(QDir(output).removeRecursively());
    } else {
        QCOMPARE(readFile(output), QByteArray("keep"));
        QVERIFY(QFile::remove(output));
    }
}

void CliTest::errorsWritingOutput()
{
    // Outputs that cannot be written: exit 1, the message names the output,
    // nothing is left behind.
    const QString base = freshPath(QStringLiteral("unwritable"));
    QVERIFY(QDir().mkpath(base));
    const QString missingDirectory = QDir(base).filePath(QStringLiteral("no such directory"));

    const QString png = QDir(missingDirectory).filePath(QStringLiteral("picture.png"));
    RUN_CLI(pngRun, {QStringLiteral("png"), projectPath, QStringLiteral("charset:0"), QStringLiteral("--out"), png});
    checkFailure(pngRun, 1, {png});

    const QString upgraded = QDir(missingDirectory).filePath(QStringLiteral("new.mzprj"));
    RUN_CLI(upgradeRun, {QStringLiteral("upgrade"), projectPath, upgraded});
    checkFailure(upgradeRun, 1, {upgraded});

    // A directory in the way of the output file stays a directory.
    const QString directory = QDir(base).filePath(QStringLiteral("a directory"));
    QVERIFY(QDir().mkpath(directory));
    RUN_CLI(ontoDirectory, {QStringLiteral("upgrade"), projectPath, directory});
    checkFailure(ontoDirectory, 1, {directory});
    QVERIFY(QFileInfo(directory).isDir());
    QCOMPARE(filesIn(directory), QStringList());

    // A file in the way of the output directory stays as it was.
    const QString file = QDir(base).filePath(QStringLiteral("a file"));
    QVERIFY(writeFile(file, "keep"));
    RUN_CLI(binaryRun, {QStringLiteral("binary"), projectPath, QStringLiteral("charset:0"), QStringLiteral("--out-dir"), file});
    checkFailure(binaryRun, 1, {file});
    QCOMPARE(readFile(file), QByteArray("keep"));

    QCOMPARE(filesIn(base), (QStringList {QStringLiteral("a directory"), QStringLiteral("a file")}));
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
