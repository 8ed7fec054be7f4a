#pragma once

#include "model/project.h"

#include <QSet>
#include <QSize>

#include <functional>

// A screen's source as the screen draws it: a character set or block set with
// cells of 1 x 1 images, or a tile set with cells of one tile.
struct SourceItem {
    const Dataset* dataset = nullptr; // null when the reference names nothing
    ItemKind kind = ItemKind::Charset;
    QSize cellSize;                   // in images
};

// The project's items as the open editors see them: where an editor holds an
// item, its working copy stands for the stored one, so that other editors
// show unsaved changes at once.
class WorkingCopies {
public:
    // The working copy of an open editor's item, or null.
    using OpenCopy = std::function<const Dataset*(ItemKind kind, qint32 id)>;

    WorkingCopies(const Project& project, OpenCopy openCopy);

    const Dataset* find(ItemKind kind, qint32 id) const;
    // Every item of the kind, in the project's order.
    QList<const Dataset*> all(ItemKind kind) const;

    const Imageset* imageset(qint32 id, bool isCharset) const;
    const Tileset* tileset(qint32 id) const;
    SourceItem source(qint32 sourceRef) const;

    // The tile sets made of the image set, and the screens whose source is
    // the reference (directly, not through a tile set): identifiers.
    QList<qint32> tilesetsUsing(qint32 imagesetId, bool isCharset) const;
    QList<qint32> screensUsing(qint32 sourceRef) const;
    // The image indexes of the set that other items use: every non-empty
    // cell of the tile sets made of it and every cell of the screens drawn
    // from it directly.
    QSet<int> usedIndexes(qint32 imagesetId, bool isCharset) const;

    // Whether an item shows the changed item, directly or through a tile set,
    // and must be drawn anew when that changes.
    bool draws(ItemKind kind, const Dataset& item, ItemKind changedKind, qint32 changedId) const;

private:
    const Project& project;
    OpenCopy openCopy;
};
