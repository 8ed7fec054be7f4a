#pragma once

#include "model/imageset.h"
#include "model/itemkind.h"
#include "model/screen.h"
#include "model/tileset.h"

#include <QList>
#include <QSharedPointer>

// Every dataset of a project, one list per kind in creation order.
// Identifiers are unique within a kind; an item is addressed by its kind and
// identifier. References between items are identifiers too, so removing an
// item leaves the items that name it as they are.
class Project {
public:
    QList<QSharedPointer<Imageset>> charsets;
    QList<QSharedPointer<Imageset>> spritesets;
    QList<QSharedPointer<Imageset>> blocksets;
    QList<QSharedPointer<Tileset>> tilesets;
    QList<QSharedPointer<Screen>> screens;

    void clear();
    QList<QSharedPointer<Dataset>> datasets(ItemKind kind) const;
    QSharedPointer<Dataset> find(ItemKind kind, qint32 id) const;
    // Appends an item of the list's own class (an Imageset to an image-set list).
    void append(ItemKind kind, const QSharedPointer<Dataset>& dataset);
    // Replaces the item of the kind that has the copy's identifier by the
    // copy, entirely; false when no item has that identifier.
    bool store(ItemKind kind, const Dataset& copy);
    // Removes the item; false when no item of that kind has the identifier.
    bool remove(ItemKind kind, qint32 id);

    // The largest identifier of the kind plus one, 0 for an empty list; the
    // identifier of a removed last item is thus used again.
    qint32 newIdentifier(ItemKind kind) const;
    // True when an item of the kind already has this name, both trimmed and
    // compared without regard to case.
    bool nameTaken(ItemKind kind, const QString& name) const;

    // A new item of the kind with the next identifier and the default name,
    // not yet in the project. Tile sets get the given tile size.
    QSharedPointer<Dataset> makeItem(ItemKind kind, int tileWidth = 1, int tileHeight = 1) const;
    // makeItem, appended to the project.
    QSharedPointer<Dataset> addItem(ItemKind kind, int tileWidth = 1, int tileHeight = 1);
    // A copy of every field of the item under the next identifier and the
    // default name, appended; null when there is no such item.
    QSharedPointer<Dataset> cloneItem(ItemKind kind, qint32 id);
    // A tile set of 1 x 1 tiles, tile k showing image k of the character set
    // (all 256) or block set (up to its last image) in that image's colour,
    // appended; null when there is no such set.
    QSharedPointer<Tileset> buildTileset(ItemKind imagesetKind, qint32 imagesetId);

    // "Charset", "Spriteset", ... : the label of a kind in names and file types.
    static QString label(ItemKind kind);
    // "Charset 03": the label and the identifier in at least two digits.
    static QString defaultName(ItemKind kind, qint32 id);
};
