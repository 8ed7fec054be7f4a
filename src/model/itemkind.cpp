#include "model/itemkind.h"

#include <algorithm>
#include <iterator>

namespace {
const ItemKindInfo kinds[] = {
    {ItemKind::Charset, CharsetsNode, CharsetNode, "Charset", "Charsets", "mzchar", "charset", "Char"},
    {ItemKind::Spriteset, SpritesetsNode, SpritesetNode, "Spriteset", "Spritesets", "mzsprites",
     "spriteset", "Sprite"},
    {ItemKind::Blockset, BlocksetsNode, BlocksetNode, "Blockset", "Blocksets", "mzblocks", "blockset",
     "Block"},
    {ItemKind::Tileset, TilesetsNode, TilesetNode, "Tileset", "Tilesets", "mztiles", "tileset", nullptr},
    {ItemKind::Screen, ScreensNode, ScreenNode, "Screen", "Screens", "mzscreen", "screen", nullptr},
};

template<typename Match>
const ItemKindInfo* findKind(Match match)
{
    const auto it = std::find_if(std::begin(kinds), std::end(kinds), match);
    return it == std::end(kinds) ? nullptr : it;
}
}

const ItemKindInfo& kindInfo(ItemKind kind)
{
    return *findKind([kind](const ItemKindInfo& info) { return info.kind == kind; });
}

ItemKind itemKindOf(int node)
{
    const ItemKindInfo* info = findKind(
        [node](const ItemKindInfo& info) { return info.categoryNode == node || info.itemNode == node; });
    Q_ASSERT(info);
    return info ? info->kind : ItemKind::Charset;
}

int categoryNodeOf(ItemKind kind)
{
    return kindInfo(kind).categoryNode;
}

int itemNodeOf(ItemKind kind)
{
    return kindInfo(kind).itemNode;
}

std::optional<ItemKind> itemKindOfReference(const QString& word)
{
    const ItemKindInfo* info =
        findKind([&word](const ItemKindInfo& info) { return word == QLatin1String(info.reference); });
    return info ? std::optional<ItemKind>(info->kind) : std::nullopt;
}

bool isImagesetKind(ItemKind kind)
{
    return kindInfo(kind).isImageset();
}
