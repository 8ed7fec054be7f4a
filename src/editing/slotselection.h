#pragma once

#include "editing/editinggrid.h"
#include "model/imageset.h"

#include <QList>
#include <QRect>

// The slots selected in an image list, in the order they were selected, and
// the rectangle of list cells they cover when they were chosen as one.
struct SlotSelection {
    QList<int> indexes;
    QRect rect; // in list cells; empty unless made as a rectangle

    // The slot a Shift or Alt click extends from: the single selected slot.
    int anchor() const { return indexes.size() == 1 ? indexes.first() : -1; }
    bool isEmpty() const { return indexes.isEmpty(); }
    bool contains(int slot) const { return indexes.contains(slot); }

    // The mouse gestures of the list. A plain click on a selected slot keeps
    // the selection, so that several slots can be dragged together.
    void click(int slot);
    void ctrlClick(int slot);
    // From the anchor to the slot, one by one; without anchor just the slot.
    void shiftClick(int slot);
    // The rectangle of list cells between the anchor and the slot.
    void altClick(int slot, int gridWidth);

    void clear();
    void selectAll(int slotCount);
    void selectNonEmpty(const Imageset& set);
    void invert(int slotCount);
    // The slots shown in a layer of the editing grid, row by row; a
    // rectangle when they fill one in a list of gridWidth columns.
    void selectPlaced(const EditingGrid& grid, int layer, int gridWidth);
};

namespace Slots {
// The text a drag of selected slots carries: set identifier, the selection
// rectangle's width and height (-1, -1 when it is none), 1, 1, then every
// selected slot with its image colour.
QString dragPayload(const Imageset& set, const SlotSelection& selection);
// The MIME format of that text: "text/charset_index" and so on.
QString dragFormat(const Imageset& set);

// Empties the slots: their images, image colours, block colours and
// multicolour marks.
void clear(Imageset& set, const QList<int>& slotList);
}
