#include "model/project.h"

#include <algorithm>
#include <type_traits>

namespace {
// Calls visit with the project's list of that kind: the one place that maps
// a kind to its list.
template<typename AnyProject, typename Visit>
auto visitList(AnyProject& project, ItemKind kind, Visit visit)
{
    switch (kind) {
    case ItemKind::Charset:
        return visit(project.charsets);
    case ItemKind::Spriteset:
        return visit(project.spritesets);
    case ItemKind::Blockset:
        return visit(project.blocksets);
    case ItemKind::Tileset:
        return visit(project.tilesets);
    case ItemKind::Screen:
        break;
    }
    return visit(project.screens);
}

// The dataset class a list holds (Imageset for an image-set list).
template<typename List>
using ItemClass = typename std::decay_t<List>::value_type::Type;

constexpr int charsetSlots = 256;
}

void Project::clear()
{
    for (ItemKind kind : allItemKinds)
        visitList(*this, kind, [](auto& list) { list.clear(); });
}

QList<QSharedPointer<Dataset>> Project::datasets(ItemKind kind) const
{
    return visitList(*this, kind, [](const auto& list) {
        QList<QSharedPointer<Dataset>> result;
        result.reserve(list.size());
        for (const auto& item : list)
            result.append(item);
        return result;
    });
}

QSharedPointer<Dataset> Project::find(ItemKind kind, qint32 id) const
{
    const QList<QSharedPointer<Dataset>> list = datasets(kind);
    auto it = std::find_if(list.cbegin(), list.cend(),
                           [id](const QSharedPointer<Dataset>& item) { return item->id == id; });
    return it == list.cend() ? QSharedPointer<Dataset>() : *it;
}

void Project::append(ItemKind kind, const QSharedPointer<Dataset>& dataset)
{
    visitList(*this, kind, [&dataset](auto& list) {
        list.append(dataset.staticCast<ItemClass<decltype(list)>>());
    });
}

bool Project::store(ItemKind kind, const Dataset& copy)
{
    return visitList(*this, kind, [&copy](auto& list) {
        for (const auto& item : list) {
            if (item->id == copy.id) {
                *item = static_cast<const ItemClass<decltype(list)>&>(copy);
                return true;
            }
        }
        return false;
    });
}

bool Project::remove(ItemKind kind, qint32 id)
{
    return visitList(*this, kind, [id](auto& list) {
        for (int i = 0; i < list.size(); ++i) {
            if (list.at(i)->id == id) {
                list.removeAt(i);
                return true;
            }
        }
        return false;
    });
}

qint32 Project::newIdentifier(ItemKind kind) const
{
    qint32 largest = -1;
    for (const QSharedPointer<Dataset>& item : datasets(kind))
        largest = std::max(largest, item->id);
    return largest + 1;
}

bool Project::nameTaken(ItemKind kind, const QString& name) const
{
    const QString wanted = name.trimmed();
    const QList<QSharedPointer<Dataset>> list = datasets(kind);
    return std::any_of(list.cbegin(), list.cend(), [&wanted](const QSharedPointer<Dataset>& item) {
        return item->name.trimmed().compare(wanted, Qt::CaseInsensitive) == 0;
    });
}

QString Project::label(ItemKind kind)
{
    return QLatin1String(kindInfo(kind).label);
}

QString Project::defaultName(ItemKind kind, qint32 id)
{
    return QStringLiteral("%1 %2").arg(label(kind)).arg(id, 2, 10, QLatin1Char('0'));
}

QSharedPointer<Dataset> Project::makeItem(ItemKind kind, int tileWidth, int tileHeight) const
{
    const qint32 id = newIdentifier(kind);
    const QString name = defaultName(kind, id);
    switch (kind) {
    case ItemKind::Charset:
        return QSharedPointer<Imageset>::create(id, name, 8, 8, Imageset::Charset);
    case ItemKind::Spriteset:
        return QSharedPointer<Imageset>::create(id, name, 24, 21, Imageset::Spriteset);
    case ItemKind::Blockset:
        return QSharedPointer<Imageset>::create(id, name, 8, 8, Imageset::Blockset);
    case ItemKind::Tileset: {
        auto tileset = QSharedPointer<Tileset>::create();
        tileset->id = id;
        tileset->name = name;
        tileset->tileWidth = tileWidth;
        tileset->tileHeight = tileHeight;
        return tileset;
    }
    case ItemKind::Screen: {
        auto screen = QSharedPointer<Screen>::create();
        screen->id = id;
        screen->name = name;
        return screen;
    }
    }
    return {};
}

QSharedPointer<Dataset> Project::addItem(ItemKind kind, int tileWidth, int tileHeight)
{
    QSharedPointer<Dataset> item = makeItem(kind, tileWidth, tileHeight);
    append(kind, item);
    return item;
}

QSharedPointer<Dataset> Project::cloneItem(ItemKind kind, qint32 id)
{
    const QSharedPointer<Dataset> source = find(kind, id);
    if (!source)
        return {};
    const qint32 newId = newIdentifier(kind);
    QSharedPointer<Dataset> clone = visitList(*this, kind, [&source](const auto& list) {
        using Item = ItemClass<decltype(list)>;
        return QSharedPointer<Dataset>(QSharedPointer<Item>::create(*source.template staticCast<Item>()));
    });
    clone->id = newId;
    clone->name = defaultName(kind, newId);
    append(kind, clone);
    return clone;
}

QSharedPointer<Tileset> Project::buildTileset(ItemKind imagesetKind, qint32 imagesetId)
{
    const bool isCharset = imagesetKind == ItemKind::Charset;
    const auto imageset = find(imagesetKind, imagesetId).dynamicCast<Imageset>();
    if (!imageset || (!isCharset && imagesetKind != ItemKind::Blockset))
        return {};

    auto tileset = QSharedPointer<Tileset>::create();
    tileset->id = newIdentifier(ItemKind::Tileset);
    tileset->name = QStringLiteral("Tileset %1").arg(tileset->id);
    tileset->imagesetId = imagesetId;
    tileset->imagesetIsCharset = isCharset;
    tileset->gridSizeX = 32;
    tileset->gridSizeY = 8;

    const int tileCount = isCharset ? charsetSlots
                                    : (imageset->images.isEmpty() ? 0 : imageset->images.lastKey() + 1);
    for (int k = 0; k < tileCount; ++k) {
        Tile tile(1, 1);
        tile.indexes[0] = k;
        tile.colors[0] = imageset->imageColor(k);
        tileset->tiles.insert(k, tile);
    }
    tilesets.append(tileset);
    return tileset;
}
