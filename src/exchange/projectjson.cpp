#include "exchange/projectjson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <algorithm>

namespace {
// JSON text of one value, as the toolkit escapes and formats it.
QString scalar(const QJsonValue& value)
{
    const QByteArray array = QJsonDocument(QJsonArray {value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString array(const QStringList& items)
{
    return QLatin1Char('[') + items.join(QLatin1Char(',')) + QLatin1Char(']');
}

template<typename Container>
QString numbers(const Container& values)
{
    QStringList items;
    for (int value : values)
        items.append(QString::number(value));
    return array(items);
}

QString rgb(const QColor& color)
{
    return numbers(QList<int> {color.red(), color.green(), color.blue()});
}

// An object whose fields keep the order they are added in.
class Object {
public:
    Object& field(const char* name, const QString& json)
    {
        fields.append(QStringLiteral("\"%1\":%2").arg(QLatin1String(name), json));
        return *this;
    }
    Object& field(const char* name, int value) { return field(name, QString::number(value)); }
    Object& field(const char* name, double value) { return field(name, scalar(value)); }
    Object& field(const char* name, bool value)
    {
        return field(name, value ? QStringLiteral("true") : QStringLiteral("false"));
    }
    Object& text(const char* name, const QString& value) { return field(name, scalar(value)); }
    QString json() const { return QLatin1Char('{') + fields.join(QLatin1Char(',')) + QLatin1Char('}'); }

private:
    QStringList fields;
};

QString animationsJson(const Animationset& set)
{
    QStringList animations;
    for (const Animation& animation : set.animations) {
        QStringList frames;
        for (const AnimationFrame& frame : animation.frames) {
            QStringList placed;
            for (const PlacedImage& image : frame.placedImages)
                placed.append(numbers(QList<int> {image.x, image.y, image.index, image.layer}));
            frames.append(Object()
                              .field("gridX", frame.gridX)
                              .field("gridY", frame.gridY)
                              .field("offsetX", numbers(frame.offsetX))
                              .field("offsetY", numbers(frame.offsetY))
                              .field("placedImages", array(placed))
                              .json());
        }
        animations.append(Object().field("speed", animation.speed).field("frames", array(frames)).json());
    }
    return Object().field("zoom", set.zoom).field("animations", array(animations)).json();
}

QString imagesetJson(const Imageset& set)
{
    QStringList images;
    for (auto it = set.images.cbegin(); it != set.images.cend(); ++it) {
        images.append(Object()
                          .field("slot", it.key())
                          .field("width", it->width)
                          .field("height", it->height)
                          .text("bytes", QString::fromLatin1(it->bytes.toHex()))
                          .json());
    }
    QStringList imageColors;
    for (auto it = set.imageColors.cbegin(); it != set.imageColors.cend(); ++it)
        imageColors.append(numbers(QList<int> {it.key(), it.value()}));
    QList<int> sprites = set.multiColorSprites.values();
    std::sort(sprites.begin(), sprites.end());
    QStringList blockColors;
    for (auto it = set.blockColors.cbegin(); it != set.blockColors.cend(); ++it)
        blockColors.append(numbers(QList<int> {it.key(), it->c0, it->c1, it->c2}));

    return Object()
        .field("id", set.id)
        .text("name", set.name)
        .field("images", array(images))
        .field("imageColors", array(imageColors))
        .field("multiColorSprites", numbers(sprites))
        .field("colors", numbers(set.colors))
        .field("blockColors", array(blockColors))
        .field("mode", set.mode)
        .field("imageWidth", set.imageWidth)
        .field("imageHeight", set.imageHeight)
        .field("imageSize", set.imageSize)
        .field("type", set.type)
        .field("selectorZoom", set.selectorZoom)
        .field("selectorGridWidth", set.selectorGridWidth)
        .field("selectorGridHeight", set.selectorGridHeight)
        .field("selectorGridVisible", set.selectorGridVisible)
        .field("backgroundColor", rgb(set.backgroundColor))
        .field("pixelsGridColor", rgb(set.pixelsGridColor))
        .field("imagesGridColor", rgb(set.imagesGridColor))
        .field("animations", animationsJson(set.animations))
        .json();
}

QString tilesetJson(const Tileset& tileset)
{
    QStringList tiles;
    for (auto it = tileset.tiles.cbegin(); it != tileset.tiles.cend(); ++it) {
        tiles.append(Object()
                         .field("index", it.key())
                         .field("width", it->width)
                         .field("height", it->height)
                         .field("indexes", numbers(it->indexes))
                         .field("colors", numbers(it->colors))
                         .json());
    }
    return Object()
        .field("id", tileset.id)
        .text("name", tileset.name)
        .field("imagesetId", tileset.imagesetId)
        .field("imagesetIsCharset", tileset.imagesetIsCharset)
        .field("tiles", array(tiles))
        .field("tileWidth", tileset.tileWidth)
        .field("tileHeight", tileset.tileHeight)
        .field("zoom", tileset.zoom)
        .field("tilesGridVisible", tileset.tilesGridVisible)
        .field("charsGridVisible", tileset.charsGridVisible)
        .field("gridSizeX", tileset.gridSizeX)
        .field("gridSizeY", tileset.gridSizeY)
        .json();
}

QString cellsJson(const QMap<CellPos, int>& cells)
{
    QStringList items;
    for (auto it = cells.cbegin(); it != cells.cend(); ++it)
        items.append(numbers(QList<int> {it.key().x, it.key().y, it.value()}));
    return array(items);
}

QString screenJson(const Screen& screen)
{
    return Object()
        .field("id", screen.id)
        .text("name", screen.name)
        .field("sourceRef", screen.sourceRef)
        .field("cellIndexes", cellsJson(screen.cellIndexes))
        .field("cellColors", cellsJson(screen.cellColors))
        .field("width", screen.width)
        .field("height", screen.height)
        .field("zoom", screen.zoom)
        .field("outerGridVisible", screen.outerGridVisible)
        .field("innerGridVisible", screen.innerGridVisible)
        .json();
}

template<typename T, typename ToJson>
QString list(const QList<QSharedPointer<T>>& items, ToJson toJson)
{
    if (items.isEmpty())
        return QStringLiteral("[]");
    QStringList lines;
    for (const QSharedPointer<T>& item : items)
        lines.append(toJson(*item));
    return QStringLiteral("[\n") + lines.join(QStringLiteral(",\n")) + QStringLiteral("\n]");
}
}

QByteArray ProjectJson::dump(const Project& project, const FileVersion& version)
{
    const QString json = QStringLiteral("{\"version\":%1,\n\"charsets\":%2,\n\"spritesets\":%3,\n"
                                        "\"blocksets\":%4,\n\"tilesets\":%5,\n\"screens\":%6}\n")
                             .arg(numbers(QList<int> {version.major, version.minor, version.patch}),
                                  list(project.charsets, imagesetJson), list(project.spritesets, imagesetJson),
                                  list(project.blocksets, imagesetJson), list(project.tilesets, tilesetJson),
                                  list(project.screens, screenJson));
    return json.toUtf8();
}
