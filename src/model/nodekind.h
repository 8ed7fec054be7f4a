#pragma once

#include <QString>

// The kinds of project items, numbered as the project tree and the editor
// windows number them: categories 0-4 and their items 6-10.
enum NodeKind : int {
    CharsetsNode = 0,
    SpritesetsNode = 1,
    BlocksetsNode = 2,
    TilesetsNode = 3,
    ScreensNode = 4,
    CharsetNode = 6,
    SpritesetNode = 7,
    BlocksetNode = 8,
    TilesetNode = 9,
    ScreenNode = 10,
};

// The five kinds of items a project holds, in the order of the project file
// and of the tree.
enum class ItemKind : int { Charset = 0, Spriteset = 1, Blockset = 2, Tileset = 3, Screen = 4 };

constexpr ItemKind allItemKinds[] = {ItemKind::Charset, ItemKind::Spriteset, ItemKind::Blockset,
                                     ItemKind::Tileset, ItemKind::Screen};

constexpr bool isCategoryNode(int node) { return node >= CharsetsNode && node <= ScreensNode; }
constexpr bool isItemNode(int node) { return node >= CharsetNode && node <= ScreenNode; }
constexpr bool isKnownNode(int node) { return isCategoryNode(node) || isItemNode(node); }
// Accepts a category code or an item code of the same kind.
constexpr ItemKind itemKindOf(int node) { return ItemKind(isItemNode(node) ? node - 6 : node); }
constexpr int categoryNodeOf(ItemKind kind) { return int(kind); }
constexpr int itemNodeOf(ItemKind kind) { return int(kind) + 6; }
