#pragma once

// A byte builder for project and item files, independent of the program's own
// record writer, and a richly filled sample project for round trips.

#include "model/project.h"
#include "model/projectfile.h"
#include "support/core/datatable.h"

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

// tests/data/project/rich.mzprj, readable in rich.json beside it: every kind,
// several items per kind in an order not sorted by identifier, fields away
// from their defaults, non-ASCII names, a character set in extended
// background mode with two animations, multicolour sprites animated on all
// four layers with negative offsets, per-block colours, tiles with indexes
// above 255 and empty cells, a screen of 16384 columns on a tile set.
inline Project richProject()
{
    Project project;
    if (!ProjectFile::read(datatable::path(QStringLiteral("project/rich.mzprj")), project).ok())
        qFatal("cannot read the rich sample project");
    return project;
}

inline Imageset richCharset() { return *richProject().charsets.at(0); }
// Multicolour, an empty name and a single image.
inline Imageset plainCharset() { return *richProject().charsets.at(1); }
inline Imageset richSpriteset() { return *richProject().spritesets.at(0); }
inline Imageset richBlockset() { return *richProject().blocksets.at(0); }
inline Tileset richTileset() { return *richProject().tilesets.at(0); }
// One 1 x 1 tile on character set 7.
inline Tileset plainTileset() { return *richProject().tilesets.at(1); }
// 40 x 25 cells on block set 0, one cell filled.
inline Screen plainScreen() { return *richProject().screens.at(1); }

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
