#pragma once

#include "editing/slotselection.h"
#include "model/imagesetdocument.h"

#include <QGraphicsScene>
#include <QHash>
#include <QPixmap>

// The image list: every slot of the set as a small picture in a grid of
// list cells, one scene unit per hi-res pixel, with the grid, the selection
// frames and the hover frame drawn over it. Only the slots in view are drawn;
// their pictures are rendered once and kept until the set's images or
// colours change, so hovering and selecting redraw only the frames.
class ImageListScene : public QGraphicsScene {
    Q_OBJECT

public:
    explicit ImageListScene(const ImagesetDocument* document, QObject* parent = nullptr);

    // Shows the document's current state; every picture is rendered anew.
    void showCurrent();
    // Drops every rendered picture (after images, colours or modes changed).
    void invalidatePictures();
    // Renders anew the slots that show the images stored at these slots.
    void refreshSlots(const QSet<int>& stored);
    void setGridVisible(bool visible);
    void setSelection(const SlotSelection& selection);
    void setHoverIndex(int index);
    // Frames and lines stay one screen pixel wide (two for frames) at any zoom.
    void setZoom(double zoom);

    int hoverIndex() const { return hover; }
    // The slot of the list cell under a scene position, -1 outside the grid.
    int slotAt(const QPointF& position) const;
    QRectF cellRect(int slot) const;
    // The picture of a slot as the list shows it.
    QPixmap slotPixmap(int slot);

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    void updateCell(int slot);

    const Imageset& set() const { return document->current(); }

    const ImagesetDocument* document;
    QSize emptySlotSize; // the image size the empty-slot picture was drawn for
    QHash<int, QPixmap> pictures;
    QPixmap emptySlotPixmap;
    bool gridVisible = true;
    QList<int> selected;
    int hover = -1;
    double zoom = 1.0;
};
