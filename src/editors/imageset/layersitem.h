#pragma once

#include "editing/editinggrid.h"
#include "model/imagesetdocument.h"

#include <QGraphicsItem>
#include <QHash>
#include <QPixmap>

#include <array>

// The images placed in the editing grid, layer over layer, two scene units
// per hi-res pixel. Only the exposed cells are drawn, from pictures rendered
// once per slot and kept until that slot changes.
class LayersItem : public QGraphicsItem {
public:
    LayersItem(const ImagesetDocument* document, const EditingGrid* grid);

    bool isLayerShown(int layer) const { return shown[size_t(layer)]; }
    void setLayerShown(int layer, bool visible);
    // The lowest layer drawn shows the background colour unless a reference
    // picture lies behind the pixels.
    void setReferenceBehind(bool behind);

    // After the grid or the set changed in any way.
    void refresh();
    // After drawing changed the images stored at these slots.
    void refreshSlots(const QSet<int>& stored);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    const QPixmap& picture(int slot, bool transparent);

    const ImagesetDocument* document;
    const EditingGrid* grid;
    std::array<bool, EditingGrid::layerCount> shown {true, true, true, true};
    bool referenceBehind = false;
    QHash<int, QPixmap> pictures; // by slot * 2 + transparent
};
