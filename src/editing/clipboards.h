#pragma once

#include "editing/layerpixels.h"
#include "editing/slotselection.h"

#include <QMap>
#include <QRegion>
#include <utility>

// Whole images copied or cut from an image list, pasted into the list of
// the same set or of another set of the kind. One clipboard serves every
// image-set editor.
class ImageClipboard {
public:
    struct Entry {
        ImageData image;
        int imageColor = 15;
        int source = 0; // slot it came from
        bool multiColor = false;
        BlockColors block;
    };

    bool isEmpty() const { return entries.isEmpty(); }
    bool isCut() const { return cut; }

    // Takes the selected slots: at their places in the selection's
    // rectangle, or one after the other in a row. A cut changes the set only
    // when it is pasted.
    void take(const Imageset& set, const SlotSelection& selection, bool cut);
    // Why the entries cannot be pasted into the set; empty when they can: a
    // cut goes back into its own set only, and images keep their size.
    QString pasteRefusal(const Imageset& set) const;
    // Pastes with the first cell at a slot: rows continue in the following
    // rows of the list, entries beyond its last slot are dropped. A cut
    // first empties its sources (those not written again) and then is gone,
    // so it pastes once. Returns the slots written.
    QList<int> pasteInto(Imageset& set, int slot);

private:
    QMap<std::pair<int, int>, Entry> entries; // by (row, column)
    bool cut = false;
    qint32 sourceSetId = -1;
    Imageset::Type sourceType = Imageset::Charset;
};

// Pixels copied from the editing pane's selection.
class BitmapClipboard {
public:
    bool isEmpty() const { return buffers.lifted.isEmpty(); }
    bool isMultiColor() const { return buffers.multiColor; }

    // The codes of the units inside the selection, by their place in its
    // bounding rectangle.
    void copy(const Imageset& set, const LayerCanvas& canvas, const QRegion& selection, bool multiColor);
    // The pixels as a move of pasted pixels: lifted at the picture's top
    // left corner over the picture as it is, ready to be dragged on.
    MoveBuffers pasteBuffers(const Imageset& set, const LayerCanvas& canvas) const;
    // The scene region the pasted pixels cover.
    QRegion pastedRegion() const;

private:
    MoveBuffers buffers; // lifted and liftedRect at the origin; under unused
};
