#pragma once

// A byte builder for project and item files, independent of the program's own
// record writer, and richly filled datasets for round trips.

#include "model/project.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstring>

namespace filetest {

// Appends little-endian fields without padding (a string is an i32 UTF-8 byte
// count and the bytes), recording every field's offset (fields), every count()
// under its label (counts) and the offset after each mark() (marks).
class Bytes {
public:
    struct CountPos {
        QString label;
        int offset;
    };

    Bytes& i32(qint32 value) { return put(quint32(value), 4); }
    Bytes& u8(quint8 value) { return put(value, 1); }
    Bytes& f64(double value)
    {
        quint64 bits;
        std::memcpy(&bits, &value, sizeof bits);
        return put(bits, 8);
    }
    Bytes& raw(const QByteArray& bytes)
    {
        fields.append(data.size());
        data.append(bytes);
        return *this;
    }
    Bytes& str(const QString& text, const QString& label = QString())
    {
        const QByteArray utf8 = text.toUtf8();
        return count(label.isEmpty() ? QStringLiteral("name length") : label, utf8.size()).raw(utf8);
    }
    Bytes& version(qint32 major, qint32 minor, qint32 patch) { return i32(major).i32(minor).i32(patch); }
    Bytes& version(const FileVersion& v) { return version(v.major, v.minor, v.patch); }
    Bytes& count(const QString& label, qint32 value)
    {
        counts.append({label, int(data.size())});
        return i32(value);
    }
    Bytes& mark(const QString& label)
    {
        marks.insert(label, int(data.size()));
        return *this;
    }
    // Appends another builder's bytes with its offsets, labels prefixed.
    Bytes& add(const Bytes& other, const QString& prefix = QString())
    {
        const int base = data.size();
        for (int offset : other.fields)
            fields.append(base + offset);
        for (const CountPos& pos : other.counts)
            counts.append({prefix + pos.label, base + pos.offset});
        for (auto it = other.marks.cbegin(); it != other.marks.cend(); ++it)
            marks.insert(prefix + it.key(), base + it.value());
        data.append(other.data);
        return *this;
    }

    QByteArray data;
    QVector<int> fields;
    QList<CountPos> counts;
    QMap<QString, int> marks;

private:
    Bytes& put(quint64 bits, int length)
    {
        fields.append(data.size());
        for (int i = 0; i < length; ++i)
            data.append(char((bits >> (8 * i)) & 0xFF));
        return *this;
    }
};

inline void putI32(QByteArray& bytes, int offset, qint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((quint32(value) >> (8 * i)) & 0xFF);
}

inline QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((seed * 37 + i * 11 + (i * i) % 7) & 0xFF);
    return bytes;
}

inline ImageData image(int width, int height, int seed)
{
    ImageData data(width, height);
    data.bytes = pattern((width / 8) * height, seed);
    return data;
}

inline PlacedImage placed(int x, int y, int index, int layer) { return PlacedImage {x, y, index, layer}; }

inline AnimationFrame frame(int gridX, int gridY, std::array<int, 4> offsetX, std::array<int, 4> offsetY,
                            QList<PlacedImage> images)
{
    return AnimationFrame {images, gridX, gridY, offsetX, offsetY};
}

inline Animation animation(int speed, QList<AnimationFrame> frames) { return Animation {speed, frames}; }

inline Tile tile(int width, int height, QVector<int> indexes, QVector<int> colors)
{
    Tile t(width, height);
    t.indexes = indexes;
    t.colors = colors;
    return t;
}

// The selector's and the animation editor's view settings of an image set.
inline void setView(Imageset& set, double zoom, bool gridVisible, int gridWidth, int gridHeight, QColor background,
                    QColor pixelsGrid, QColor imagesGrid, double animationZoom)
{
    set.selectorZoom = zoom;
    set.selectorGridVisible = gridVisible;
    set.selectorGridWidth = gridWidth;
    set.selectorGridHeight = gridHeight;
    set.backgroundColor = background;
    set.pixelsGridColor = pixelsGrid;
    set.imagesGridColor = imagesGrid;
    set.animations.zoom = animationZoom;
}

// A character set in extended background mode with every field away from
// its default, a non-ASCII name and two animations.
inline Imageset richCharset()
{
    Imageset set(7, QStringLiteral("Zeichensätze ÄÖÜ ★"), 8, 8, Imageset::Charset);
    set.images = {{0, image(8, 8, 1)}, {65, image(8, 8, 2)}, {255, image(8, 8, 3)}};
    set.imageColors = {{0, 9}, {65, 0}, {200, 3}}; // a colour for an empty slot is kept too
    set.mode = Imageset::ECM;
    set.colors = {11, 12, 13, 14};
    setView(set, 5.25, false, 32, 8, QColor(10, 20, 30), QColor(200, 100, 50), QColor(1, 2, 3), 6.5);
    set.animations.animations = {
        animation(7, {frame(2, 1, {1, 0, 0, 0}, {-2, 0, 0, 0}, {placed(0, 0, 65, 0), placed(1, 0, 255, 0)}),
                      frame(3, 2, {0, 0, 0, 0}, {0, 0, 0, 0}, {})}),
        animation(99, {frame(1, 1, {-128, 127, -1, 0}, {127, -128, 0, 1}, {placed(0, 0, 0, 0)})})};
    return set;
}

// A character set with an empty name and almost nothing else.
inline Imageset plainCharset()
{
    Imageset set(2, QString(), 8, 8, Imageset::Charset);
    set.images.insert(1, image(8, 8, 9));
    set.mode = Imageset::MCM;
    return set;
}

// A sprite set with a grid other than the default, multicolour sprites and
// an animation whose frames use all four layers with negative offsets.
inline Imageset richSpriteset()
{
    Imageset set(3, QStringLiteral("Figuren"), 24, 21, Imageset::Spriteset);
    set.images = {{0, image(24, 21, 4)}, {1, image(24, 21, 5)}, {399, image(24, 21, 6)}};
    set.imageColors = {{0, 2}, {399, 14}};
    set.multiColorSprites = {1, 399, 17};
    set.mode = Imageset::MCM;
    set.colors = {0, 5, 10, 15};
    setView(set, 1.75, false, 20, 20, QColor(255, 0, 128), QColor(0, 255, 0), QColor(17, 34, 51), 2.25);
    set.animations.animations = {animation(
        12, {frame(2, 2, {-4, 3, -128, 127}, {5, -6, 0, -1},
                   {placed(0, 0, 0, 0), placed(1, 0, 1, 1), placed(0, 1, 399, 2), placed(1, 1, 0, 3)}),
             frame(1, 3, {0, -1, -2, -3}, {1, 2, 3, 4}, {placed(0, 2, 1, 3), placed(0, 0, 1, 1)}),
             frame(4, 1, {9, 9, 9, 9}, {-9, -9, -9, -9}, {})})};
    return set;
}

// A multicolour block set with per-block colours and a wide grid.
inline Imageset richBlockset()
{
    Imageset set(0, QStringLiteral("Blöcke"), 8, 8, Imageset::Blockset);
    set.images = {{0, image(8, 8, 7)}, {70, image(8, 8, 8)}};
    set.imageColors = {{70, 13}};
    set.blockColors = {{0, BlockColors {9, 10, 11}}, {5, BlockColors {1, 2, 3}}};
    set.mode = Imageset::MCM;
    set.colors = {4, 3, 2, 1};
    setView(set, 4.5, true, 64, 4, QColor(1, 1, 1), QColor(2, 2, 2), QColor(3, 3, 3), 4.0);
    return set;
}

// A tile set of 2 x 3 tiles with indexes above 255 and empty cells (-1).
inline Tileset richTileset()
{
    Tileset set;
    set.id = 3;
    set.name = QStringLiteral("Kacheln ✓");
    set.imagesetId = 0;
    set.imagesetIsCharset = false;
    set.tileWidth = 2;
    set.tileHeight = 3;
    set.tiles = {{0, tile(2, 3, {0, 1, 256, 511, 65535, 2}, {-1, 1, 15, -1, 8, 0})},
                 {9, tile(2, 3, {300, 300, 300, 300, 300, 300}, {-1, -1, -1, -1, -1, -1})},
                 {1000, tile(2, 3, {7, 6, 5, 4, 3, 2}, {1, 2, 3, 4, 5, 6})}};
    set.zoom = 7.5;
    set.tilesGridVisible = false;
    set.charsGridVisible = false;
    set.gridSizeX = 4096;
    set.gridSizeY = 7;
    return set;
}

inline Tileset plainTileset()
{
    Tileset set;
    set.id = 1;
    set.name = QStringLiteral("T");
    set.imagesetId = 7;
    set.tiles.insert(2, tile(1, 1, {258}, {4}));
    set.gridSizeX = 16;
    return set;
}

// A screen on a tile set, with cells and colours (one on an empty position).
inline Screen richScreen()
{
    Screen screen;
    screen.id = 4;
    screen.name = QStringLiteral("Level ①");
    screen.sourceRef = SourceRef::make(SourceRef::tilesetBit, 3);
    screen.width = 16384;
    screen.height = 300;
    screen.cellIndexes = {{{0, 0}, 9}, {{1, 0}, 1000}, {{0, 299}, 0}, {{16383, 5}, 65535}};
    screen.cellColors = {{{1, 0}, 7}, {{2, 2}, 15}};
    screen.zoom = 0.75;
    screen.outerGridVisible = false;
    screen.innerGridVisible = true;
    return screen;
}

inline Screen plainScreen()
{
    Screen screen;
    screen.id = 0;
    screen.name = QStringLiteral("Title");
    screen.sourceRef = SourceRef::make(SourceRef::blocksetBit, 0);
    screen.width = 40;
    screen.height = 25;
    screen.cellIndexes = {{{39, 24}, 70}};
    screen.cellColors = {{{39, 24}, 1}};
    return screen;
}

// Every kind, several items per kind in an order that is not sorted by
// identifier, so that list order is seen to survive.
inline Project richProject()
{
    Project project;
    project.charsets = {QSharedPointer<Imageset>::create(richCharset()),
                        QSharedPointer<Imageset>::create(plainCharset())};
    project.spritesets = {QSharedPointer<Imageset>::create(richSpriteset())};
    project.blocksets = {QSharedPointer<Imageset>::create(richBlockset())};
    project.tilesets = {QSharedPointer<Tileset>::create(richTileset()),
                        QSharedPointer<Tileset>::create(plainTileset())};
    project.screens = {QSharedPointer<Screen>::create(richScreen()), QSharedPointer<Screen>::create(plainScreen())};
    return project;
}

// Empty when both projects hold equal items in the same order; otherwise the
// first difference of every kind.
inline QString compareProjects(const Project& expected, const Project& actual)
{
    QStringList problems;
    const auto compare = [&problems](const char* kind, const auto& a, const auto& b) {
        if (a.size() != b.size())
            return problems.append(QStringLiteral("%1: %2 items instead of %3").arg(kind).arg(b.size()).arg(a.size()));
        for (int i = 0; i < a.size(); ++i) {
            if (!(*a.at(i) == *b.at(i)))
                return problems.append(QStringLiteral("%1: item %2 (id %3) differs").arg(kind).arg(i).arg(a.at(i)->id));
        }
    };
    compare("charsets", expected.charsets, actual.charsets);
    compare("spritesets", expected.spritesets, actual.spritesets);
    compare("blocksets", expected.blocksets, actual.blocksets);
    compare("tilesets", expected.tilesets, actual.tilesets);
    compare("screens", expected.screens, actual.screens);
    return problems.join(QStringLiteral("; "));
}

} // namespace filetest
