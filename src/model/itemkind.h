#pragma once

#include <QString>

#include <optional>

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

// Everything the program says about a kind of item, in one row per kind, so
// that a new kind or a new word is added in one place.
struct ItemKindInfo {
    ItemKind kind;
    NodeKind categoryNode;
    NodeKind itemNode;
    const char* label;     // "Charset": default item names and file types
    const char* category;  // "Charsets": the tree's category node
    const char* extension; // "mzchar": the single-item file
    const char* reference; // "charset": how mosaikon-cli names the kind
    const char* imageWord; // "Char": one image of an image set; null for other kinds

    bool isImageset() const { return imageWord != nullptr; }
};

const ItemKindInfo& kindInfo(ItemKind kind);

constexpr bool isCategoryNode(int node) { return node >= CharsetsNode && node <= ScreensNode; }
constexpr bool isItemNode(int node) { return node >= CharsetNode && node <= ScreenNode; }
constexpr bool isKnownNode(int node) { return isCategoryNode(node) || isItemNode(node); }
// The kind of a category node or an item node (a known node only).
ItemKind itemKindOf(int node);
int categoryNodeOf(ItemKind kind);
int itemNodeOf(ItemKind kind);
// The kind mosaikon-cli calls by this word ("charset", ...), if any.
std::optional<ItemKind> itemKindOfReference(const QString& word);
bool isImagesetKind(ItemKind kind);
