#include "model/workingcopies.h"

#include "model/sourceref.h"

namespace {
qint32 imagesetRef(qint32 id, bool isCharset)
{
    return SourceRef::make(isCharset ? SourceRef::charsetBit : SourceRef::blocksetBit, id);
}

ItemKind imagesetKind(bool isCharset)
{
    return isCharset ? ItemKind::Charset : ItemKind::Blockset;
}
}

WorkingCopies::WorkingCopies(const Project& project, OpenCopy openCopy)
    : project(project)
    , openCopy(std::move(openCopy))
{
}

const Dataset* WorkingCopies::find(ItemKind kind, qint32 id) const
{
    if (const Dataset* open = openCopy(kind, id))
        return open;
    return project.find(kind, id).data();
}

QList<const Dataset*> WorkingCopies::all(ItemKind kind) const
{
    QList<const Dataset*> items;
    for (const QSharedPointer<Dataset>& stored : project.datasets(kind)) {
        const Dataset* open = openCopy(kind, stored->id);
        items.append(open ? open : stored.data());
    }
    return items;
}

const Imageset* WorkingCopies::imageset(qint32 id, bool isCharset) const
{
    return static_cast<const Imageset*>(find(imagesetKind(isCharset), id));
}

const Tileset* WorkingCopies::tileset(qint32 id) const
{
    return static_cast<const Tileset*>(find(ItemKind::Tileset, id));
}

SourceItem WorkingCopies::source(qint32 sourceRef) const
{
    SourceItem source;
    const qint32 id = SourceRef::idOf(sourceRef);
    if (SourceRef::isTileset(sourceRef)) {
        source.kind = ItemKind::Tileset;
        if (const Tileset* tiles = tileset(id)) {
            source.dataset = tiles;
            source.cellSize = QSize(tiles->tileWidth, tiles->tileHeight);
        }
    } else if (SourceRef::isCharset(sourceRef) || SourceRef::isBlockset(sourceRef)) {
        const bool isCharset = SourceRef::isCharset(sourceRef);
        source.kind = imagesetKind(isCharset);
        source.dataset = imageset(id, isCharset);
        if (source.dataset)
            source.cellSize = QSize(1, 1);
    }
    return source;
}

QList<qint32> WorkingCopies::tilesetsUsing(qint32 imagesetId, bool isCharset) const
{
    QList<qint32> ids;
    for (const Dataset* item : all(ItemKind::Tileset)) {
        const auto* tiles = static_cast<const Tileset*>(item);
        if (tiles->imagesetId == imagesetId && tiles->imagesetIsCharset == isCharset)
            ids.append(tiles->id);
    }
    return ids;
}

QList<qint32> WorkingCopies::screensUsing(qint32 sourceRef) const
{
    QList<qint32> ids;
    for (const Dataset* item : all(ItemKind::Screen)) {
        if (static_cast<const Screen*>(item)->sourceRef == sourceRef)
            ids.append(item->id);
    }
    return ids;
}

QSet<int> WorkingCopies::usedIndexes(qint32 imagesetId, bool isCharset) const
{
    QSet<int> used;
    for (qint32 id : tilesetsUsing(imagesetId, isCharset)) {
        for (const Tile& tile : tileset(id)->tiles) {
            for (int cell = 0; cell < tile.colors.size() && cell < tile.indexes.size(); ++cell) {
                if (tile.colors.at(cell) != Tile::emptyColor)
                    used.insert(tile.indexes.at(cell));
            }
        }
    }
    for (qint32 id : screensUsing(imagesetRef(imagesetId, isCharset))) {
        for (int index : static_cast<const Screen*>(find(ItemKind::Screen, id))->cellIndexes)
            used.insert(index);
    }
    return used;
}

bool WorkingCopies::draws(ItemKind kind, const Dataset& item, ItemKind changedKind, qint32 changedId) const
{
    const bool changedIsImageset = changedKind == ItemKind::Charset || changedKind == ItemKind::Blockset;
    const bool changedIsCharset = changedKind == ItemKind::Charset;
    if (kind == ItemKind::Tileset) {
        const auto& tiles = static_cast<const Tileset&>(item);
        return changedIsImageset && tiles.imagesetId == changedId && tiles.imagesetIsCharset == changedIsCharset;
    }
    if (kind != ItemKind::Screen)
        return false;
    const qint32 ref = static_cast<const Screen&>(item).sourceRef;
    if (changedKind == ItemKind::Tileset)
        return ref == SourceRef::make(SourceRef::tilesetBit, changedId);
    if (!changedIsImageset)
        return false;
    if (ref == imagesetRef(changedId, changedIsCharset))
        return true;
    const SourceItem source = this->source(ref);
    return source.kind == ItemKind::Tileset && source.dataset
        && draws(ItemKind::Tileset, *source.dataset, changedKind, changedId);
}
