#include "editors/imageset/imagesettools.h"

#include "editing/referenceframe.h"
#include "views/iconbutton.h"

#include <QPixmap>

#include <cmath>

namespace {
// The centre of a pixel in scene units, where selections are tested.
QPoint centre(const QPoint& pixel)
{
    return QPoint(2 * pixel.x() + 1, 2 * pixel.y() + 1);
}

Qt::MouseButton heldButton(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton) ? Qt::LeftButton : (buttons & Qt::RightButton) ? Qt::RightButton : Qt::NoButton;
}

// A new selection: added to the old one with Ctrl, taken from it with Alt,
// in its place otherwise.
void select(ImagesetDocument& document, const QRegion& area, Qt::KeyboardModifiers modifiers)
{
    document.step([&](Imageset&, ImagesetEditing& editing) {
        if (modifiers & Qt::ControlModifier)
            editing.selection |= area;
        else if (modifiers & Qt::AltModifier)
            editing.selection -= area;
        else
            editing.selection = area;
        return true;
    });
}

// The kind of the images an operation concerns, or none after refusing.
std::optional<bool> commonKindOrRefuse(ToolHost& host, const QRegion& selection)
{
    const std::optional<bool> kind = host.canvas().commonKind(host.document().current(), selection);
    if (!kind)
        host.refuseMixedKinds();
    return kind;
}
}

namespace ToolCursors {
QCursor selecting(Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier)
        return QCursor(Qt::DragCopyCursor);
    if (modifiers & Qt::AltModifier)
        return QCursor(Qt::ForbiddenCursor);
    return QCursor(Qt::CrossCursor);
}
}

void FreehandTool::move(const ToolEvent& event)
{
    if (heldButton(event.buttons) != Qt::NoButton)
        draw(event, heldButton(event.buttons));
}

void FreehandTool::draw(const ToolEvent& event, Qt::MouseButton button)
{
    ImagesetDocument& document = host.document();
    const LayerCanvas canvas = host.canvas();
    const QPoint pixel = event.pixel;
    const LayerCanvas::Spot spot = canvas.locate(document.current(), pixel.x(), pixel.y());
    if (!spot.editable() || button == Qt::NoButton)
        return;
    if ((event.modifiers & Qt::ControlModifier) && spot.multiColor) {
        host.pickCode(button, canvas.code(document.current(), pixel.x(), pixel.y()));
        return;
    }
    const Pen pen = host.pen(button, spot.multiColor);
    const QRegion selection = document.extra().selection;
    if ((!selection.isEmpty() && !selection.contains(centre(pixel)))
        || canvas.code(document.current(), pixel.x(), pixel.y()) == pen.codeAt(pixel.x(), pixel.y(), spot.multiColor))
        return;
    QSet<int> changed;
    const auto change = [&](Imageset& set, ImagesetEditing&) {
        const int slot = Drawing::setPixel(set, canvas, pixel.x(), pixel.y(), pen);
        changed << slot;
        return slot >= 0;
    };
    // The first pixel that changes records the stroke's step.
    if (!strokeStarted)
        document.amend(change, &changed);
    else if (document.step(change, &changed))
        strokeStarted = false;
}

QCursor FreehandTool::cursor(const ToolEvent& hover) const
{
    const LayerCanvas::Spot spot = host.canvas().locate(host.document().current(), hover.pixel.x(), hover.pixel.y());
    return (hover.modifiers & Qt::ControlModifier) && spot.multiColor ? colorPickerCursor() : QCursor();
}

void ShapeTool::press(const ToolEvent& event)
{
    const LayerCanvas canvas = host.canvas();
    if (dragging || !QRect(0, 0, canvas.width(), canvas.height()).contains(event.pixel)
        || (event.button != Qt::LeftButton && event.button != Qt::RightButton))
        return;
    const std::optional<bool> kind = commonKindOrRefuse(host, host.document().extra().selection);
    if (!kind)
        return;
    multiColor = *kind;
    pen = host.pen(event.button, multiColor);
    start = end = event.pixel;
    dragging = true;
    host.showShape(shape, centre(start), centre(end));
}

void ShapeTool::move(const ToolEvent& event)
{
    if (!dragging)
        return;
    end = event.pixel;
    host.showShape(shape, centre(start), centre(end));
}

void ShapeTool::release(const ToolEvent& event)
{
    if (!dragging)
        return;
    dragging = false;
    host.hideShape();
    const LayerCanvas canvas = host.canvas();
    ImagesetDocument& document = host.document();
    if (canvas.locate(document.current(), event.pixel.x(), event.pixel.y()).editable())
        end = event.pixel;
    QSet<int> changed;
    document.step(
        [&](Imageset& set, ImagesetEditing& editing) {
            changed = Drawing::drawShape(set, canvas, shape, start, end, pen, multiColor, editing.selection);
            return !changed.isEmpty();
        },
        &changed);
}

void ShapeTool::deactivate()
{
    dragging = false;
    host.hideShape();
}

void FloodTool::press(const ToolEvent& event)
{
    ImagesetDocument& document = host.document();
    const LayerCanvas canvas = host.canvas();
    if ((event.button != Qt::LeftButton && event.button != Qt::RightButton)
        || !canvas.locate(document.current(), event.pixel.x(), event.pixel.y()).editable())
        return;
    const std::optional<bool> kind = commonKindOrRefuse(host, document.extra().selection);
    if (!kind)
        return;
    if (!selects) {
        const Pen pen = host.pen(event.button, *kind);
        QSet<int> changed;
        document.step(
            [&](Imageset& set, ImagesetEditing& editing) {
                changed = Drawing::floodFill(set, canvas, event.pixel, pen, *kind, editing.selection);
                return !changed.isEmpty();
            },
            &changed);
        return;
    }
    select(document, Drawing::floodArea(document.current(), canvas, event.pixel, *kind), event.modifiers);
}

QCursor FloodTool::cursor(const ToolEvent& hover) const
{
    return selects ? ToolCursors::selecting(hover.modifiers) : QCursor();
}

void SelectMoveTool::press(const ToolEvent& event)
{
    if (event.button != Qt::LeftButton || drag != Drag::None)
        return;
    ImagesetDocument& document = host.document();
    const LayerCanvas canvas = host.canvas();
    const ImagesetEditing& editing = document.extra();
    if (!editing.selection.isEmpty() && editing.selection.contains(centre(event.pixel))
        && !(event.modifiers & (Qt::ControlModifier | Qt::ShiftModifier))) {
        const std::optional<bool> kind = commonKindOrRefuse(host, QRegion());
        if (!kind)
            return;
        multiColor = *kind;
        // Buffers of earlier moves are kept while they fit, so that moving
        // on restores what the selection covered on its way.
        QSharedPointer<const MoveBuffers> buffers = editing.moving;
        QPoint offset = editing.moveOffset;
        const QSize size(canvas.width() / (multiColor ? 2 : 1), canvas.height());
        if (!buffers || buffers->layer != canvas.layerIndex() || buffers->multiColor != multiColor
            || buffers->gridGeneration != canvas.editingGrid().generation() || buffers->size != size) {
            buffers = QSharedPointer<const MoveBuffers>::create(
                Drawing::lift(document.current(), canvas, editing.selection, multiColor));
            offset = QPoint();
        }
        document.step([&](Imageset&, ImagesetEditing& next) {
            next.moving = buffers;
            next.moveOffset = offset;
            return true;
        });
        drag = Drag::Move;
        last = Drawing::unitOf(event.pixel, multiColor);
        return;
    }
    multiColor = canvas.locate(document.current(), event.pixel.x(), event.pixel.y()).multiColor;
    drag = Drag::Band;
    last = event.pixel;
    band = Drawing::band(last, last, multiColor);
    host.showBand(band);
}

void SelectMoveTool::move(const ToolEvent& event)
{
    if (drag == Drag::Band) {
        band = Drawing::band(last, event.pixel, multiColor);
        host.showBand(band);
        return;
    }
    if (drag != Drag::Move)
        return;
    const QPoint unit = Drawing::unitOf(event.pixel, multiColor);
    const QPoint delta = unit - last;
    if (delta.isNull())
        return;
    last = unit;
    const LayerCanvas canvas = host.canvas();
    QSet<int> changed;
    host.document().amend(
        [&](Imageset& set, ImagesetEditing& editing) {
            if (!editing.moving)
                return false;
            changed = Drawing::moveLifted(set, canvas, *editing.moving, editing.moveOffset, editing.moveOffset + delta);
            editing.moveOffset += delta;
            editing.selection.translate(delta.x() * (multiColor ? 4 : 2), delta.y() * 2);
            return true;
        },
        &changed);
}

void SelectMoveTool::release(const ToolEvent& event)
{
    if (drag == Drag::Band) {
        host.showBand(QRegion());
        select(host.document(), band, event.modifiers);
    }
    drag = Drag::None;
}

void SelectMoveTool::deactivate()
{
    if (drag == Drag::Band)
        host.showBand(QRegion());
    drag = Drag::None;
}

QCursor SelectMoveTool::cursor(const ToolEvent& hover) const
{
    if (hover.modifiers & (Qt::ControlModifier | Qt::AltModifier))
        return ToolCursors::selecting(hover.modifiers);
    const QRegion& selection = host.document().extra().selection;
    return selection.contains(centre(hover.pixel)) ? QCursor(Qt::SizeAllCursor) : QCursor();
}

namespace {
QPoint scenePoint(const ToolEvent& event)
{
    return QPoint(int(std::floor(event.scenePos.x())), int(std::floor(event.scenePos.y())));
}
}

void ReferenceTool::press(const ToolEvent& event)
{
    if (event.button != Qt::LeftButton || host.referenceSize().isEmpty())
        return;
    last = scenePoint(event);
    edges = ReferenceFrame::grab(host.referenceRect(), last);
}

void ReferenceTool::move(const ToolEvent& event)
{
    if (edges < 0)
        return;
    const QPoint point = scenePoint(event);
    host.setReferenceRect(ReferenceFrame::drag(host.referenceRect(), edges, point - last,
                                               event.modifiers != Qt::NoModifier, host.referenceSize()));
    last = point;
}

QCursor ReferenceTool::cursor(const ToolEvent& hover) const
{
    using namespace ReferenceFrame;
    switch (grab(host.referenceRect(), scenePoint(hover))) {
    case -1:
        return QCursor();
    case 0:
        return QCursor(Qt::SizeAllCursor);
    case Left:
    case Right:
        return QCursor(Qt::SizeHorCursor);
    case Top:
    case Bottom:
        return QCursor(Qt::SizeVerCursor);
    case Top | Left:
    case Bottom | Right:
        return QCursor(Qt::SizeFDiagCursor);
    default:
        return QCursor(Qt::SizeBDiagCursor);
    }
}
