#pragma once

#include "model/project.h"

#include <QString>

// An item of a project named on the command line: "charset:ID",
// "spriteset:ID", "blockset:ID", "tileset:ID", "screen:ID", and for the
// animations of an image set "KIND:ID/anim:A" or "KIND:ID/anim:A/frame:F".
struct ItemRef {
    ItemKind kind = ItemKind::Charset;
    qint32 id = 0;
    int animation = -1; // -1: the item itself
    int frame = -1;     // -1: the whole animation

    // False when the text is not such a name.
    static bool parse(const QString& text, ItemRef& ref);
    static QString kindWord(ItemKind kind);
};

// The dataset an item name refers to, or an explanation of why there is none.
struct ResolvedItem {
    QSharedPointer<Dataset> dataset;
    QString error;
};
ResolvedItem resolveItem(const Project& project, const ItemRef& ref, const QString& text);
