#pragma once

#include "model/document.h"
#include "model/imageset.h"

#include <QPoint>
#include <QRegion>

struct MoveBuffers;

// The editing pane's part of every undo state of an image set: the selected
// pixels and what a move of them carries.
struct ImagesetEditing {
    QRegion selection; // in scene units, two per hi-res pixel
    // The pixels a move picked up and the picture they were lifted from,
    // built when a move begins and kept through the moves that follow, so
    // that moving the selection away and back restores what it covered.
    QSharedPointer<const MoveBuffers> moving;
    QPoint moveOffset; // of the selection since the buffers were built

    // Any step but a move, which keeps them, makes the buffers stale.
    void itemEdited() { moving.reset(); }
};

// The character, sprite or block set an image-set editor works on.
class ImagesetDocument : public ItemDocument<Imageset, ImagesetEditing> {
public:
    using ItemDocument::ItemDocument;
};
