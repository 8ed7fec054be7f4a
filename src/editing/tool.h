#pragma once

#include <QCursor>
#include <QPointF>

#include <map>
#include <memory>

// A mouse or key event as a tool sees it: positions in the editing area's
// scene units (two per hi-res pixel) and in hi-res pixels.
struct ToolEvent {
    QPointF scenePos;
    QPoint pixel;                                         // floor(scenePos / 2)
    Qt::MouseButton button = Qt::NoButton;                // pressed or released; none for a move
    Qt::MouseButtons buttons = Qt::NoButton;              // held
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// One drawing tool of an editing pane: freehand, a shape, a fill, a
// selection, moving the reference picture. The pane turns its view's mouse
// and key events into calls on the active tool only; a tool keeps what it
// needs between press and release (a shape's corners, a move's start) and
// works on the data through the context it was made with.
class Tool {
public:
    virtual ~Tool() = default;

    // The tool was chosen, or another one was: an operation in progress ends.
    virtual void activate() {}
    virtual void deactivate() {}

    virtual void press(const ToolEvent& /*event*/) {}
    virtual void move(const ToolEvent& /*event*/) {}
    virtual void release(const ToolEvent& /*event*/) {}
    // A key was pressed or released (modifiers change cursors); true when the
    // tool used the key.
    virtual bool key(int /*key*/, Qt::KeyboardModifiers /*modifiers*/) { return false; }

    // The cursor over the position with the modifiers held.
    virtual QCursor cursor(const ToolEvent& /*hover*/) const { return QCursor(Qt::ArrowCursor); }
};

// The tools of a pane by number, exactly one of them active.
class ToolBox {
public:
    // Takes the tool; the first tool added becomes the active one.
    void add(int id, std::unique_ptr<Tool> tool);
    // Deactivates the active tool and activates the chosen one; an unknown
    // number changes nothing.
    void choose(int id);

    int activeId() const { return active; }
    Tool* activeTool() const;

    void press(const ToolEvent& event);
    void move(const ToolEvent& event);
    void release(const ToolEvent& event);
    bool key(int key, Qt::KeyboardModifiers modifiers);
    QCursor cursor(const ToolEvent& hover) const;

private:
    std::map<int, std::unique_ptr<Tool>> tools;
    int active = -1;
};
