#pragma once

#include "editing/layerpixels.h"
#include "editing/tool.h"
#include "model/imagesetdocument.h"

// What the drawing tools of the image-set editor work with; the editing pane
// provides it.
class ToolHost {
public:
    virtual ~ToolHost() = default;

    virtual ImagesetDocument& document() = 0;
    // The active layer of the editing grid as a picture.
    virtual LayerCanvas canvas() const = 0;
    // What a mouse button draws into an image of the kind.
    virtual Pen pen(Qt::MouseButton button, bool multiColor) const = 0;
    // The colour pick: makes the code the one the button draws.
    virtual void pickCode(Qt::MouseButton button, int code) = 0;
    // Refuses an operation on hi-res and multicolour images at once.
    virtual void refuseMixedKinds() = 0;
    // The outline of a shape being dragged between two scene points, or
    // none.
    virtual void showShape(Drawing::Shape shape, const QPointF& from, const QPointF& to) = 0;
    virtual void hideShape() = 0;
    // The rubber band of a selection being dragged; empty for none.
    virtual void showBand(const QRegion& band) = 0;
    // The reference picture's own size (empty without one) and its place in
    // scene units.
    virtual QSize referenceSize() const = 0;
    virtual QRect referenceRect() const = 0;
    virtual void setReferenceRect(const QRect& rect) = 0;
};

// Tool 0: draws pixels while a button is held, one undo step per stroke;
// with Ctrl over a multicolour image it picks the code under the mouse.
class FreehandTool : public Tool {
public:
    explicit FreehandTool(ToolHost& host)
        : host(host)
    {
    }
    void press(const ToolEvent& event) override { draw(event, event.button); }
    void move(const ToolEvent& event) override;
    void release(const ToolEvent&) override { strokeStarted = true; }
    void deactivate() override { strokeStarted = true; }
    QCursor cursor(const ToolEvent& hover) const override;

private:
    void draw(const ToolEvent& event, Qt::MouseButton button);

    ToolHost& host;
    bool strokeStarted = true; // the next pixel drawn records a step
};

// Tools 1-3: a line, ellipse or rectangle dragged from corner to corner and
// drawn on release, clipped to the selection.
class ShapeTool : public Tool {
public:
    ShapeTool(ToolHost& host, Drawing::Shape shape)
        : host(host)
        , shape(shape)
    {
    }
    void press(const ToolEvent& event) override;
    void move(const ToolEvent& event) override;
    void release(const ToolEvent& event) override;
    void deactivate() override;

private:
    ToolHost& host;
    Drawing::Shape shape;
    bool dragging = false;
    bool multiColor = false;
    Pen pen;
    QPoint start;
    QPoint end;
};

// Tool 4 fills the area of equal code under the mouse; tool 6 selects it,
// adding to the selection with Ctrl and taking it away with Alt.
class FloodTool : public Tool {
public:
    FloodTool(ToolHost& host, bool selects)
        : host(host)
        , selects(selects)
    {
    }
    void press(const ToolEvent& event) override;
    QCursor cursor(const ToolEvent& hover) const override;

private:
    ToolHost& host;
    bool selects;
};

// Tool 5: a press inside the selection moves the selected pixels, a press
// elsewhere drags a rubber band that becomes the selection (with Ctrl added
// to it, with Alt taken from it).
class SelectMoveTool : public Tool {
public:
    explicit SelectMoveTool(ToolHost& host)
        : host(host)
    {
    }
    void press(const ToolEvent& event) override;
    void move(const ToolEvent& event) override;
    void release(const ToolEvent& event) override;
    void deactivate() override;
    QCursor cursor(const ToolEvent& hover) const override;

private:
    enum class Drag { None, Move, Band };

    ToolHost& host;
    Drag drag = Drag::None;
    bool multiColor = false;
    QPoint last; // the last unit of a move, the first pixel of a band
    QRegion band;
};

// Tool 7: moves the reference picture, or resizes it by the edges grabbed;
// with a modifier held the picture keeps its aspect ratio.
class ReferenceTool : public Tool {
public:
    explicit ReferenceTool(ToolHost& host)
        : host(host)
    {
    }
    void press(const ToolEvent& event) override;
    void move(const ToolEvent& event) override;
    void release(const ToolEvent&) override { edges = -1; }
    void deactivate() override { edges = -1; }
    QCursor cursor(const ToolEvent& hover) const override;

private:
    ToolHost& host;
    int edges = -1; // grabbed, -1 for none
    QPoint last;
};

namespace ToolCursors {
// Tools that add to or take from the selection while Ctrl or Alt is held.
QCursor selecting(Qt::KeyboardModifiers modifiers);
}
