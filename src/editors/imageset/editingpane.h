#pragma once

#include "editing/editinggrid.h"
#include "dialogs/transformdialogs.h"
#include "editing/clipboards.h"
#include "editing/transforms.h"
#include "editing/tool.h"
#include "editors/imageset/imagesettools.h"

#include <QWidget>

#include <array>
#include <functional>

class ColorPanel;
class CustomSpinBox;
class ElidedLabel;
class LayersItem;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QDragMoveEvent;
class QDropEvent;
class QGraphicsPathItem;
class QGraphicsSceneWithGrid;
class QGraphicsViewZoomable;
class QKeyEvent;
class QMenu;
class QMouseEvent;
class QRadioButton;
class QToolButton;
class SlotSelection;
class SlotSwatches;

// The right pane of the image-set editor, where pixels are drawn: a grid of
// cells showing slots of the set on four stacked layers, the drawing tools,
// the layer controls and the grid size, with the colours of the image under
// the mouse and a status line.
class EditingPane : public QWidget, private ToolHost {
    Q_OBJECT

public:
    enum ToolId { Draw, Line, Ellipse, Rectangle, Fill, SelectMove, FloodSelect, Reference };

    // The pane shows the document's current state and draws with the codes
    // the colour panel chooses.
    EditingPane(ImagesetDocument* document, ColorPanel* colors, BitmapClipboard* clipboard,
                QWidget* parent = nullptr);
    ~EditingPane() override;

    const EditingGrid& grid() const { return editingGrid; }
    int currentLayer() const { return layer; }
    void setCurrentLayer(int layer);
    int currentTool() const { return tools.activeId(); }
    void chooseTool(int id);

    // "Edit selection" and "Edit current": the selected slots, or the slot
    // alone, into the active layer.
    void editSlots(const SlotSelection& selection, int slot);
    // A drop of slots or tiles onto a cell; false when the payload is not
    // for this set.
    bool dropSlots(const QString& format, const QByteArray& payload, const QPoint& cell);

    // The reference picture, shown behind the pixels or in front of them at
    // one picture pixel per scene unit from the grid's corner; a null
    // picture removes it.
    void setReference(const QImage& picture, bool inFront);
    // "Set as background"/"Set as foreground": the selected slots, or the
    // slot alone, as the reference picture, in rows as wide as the
    // selection's rectangle (or the grid).
    void referenceFromSlots(const SlotSelection& selection, int slot, bool inFront);
    // "Set/clear image": checked asks for a picture file, unchecked removes it.
    void setDecalImage(bool checked);
    // "Move/resize image": the reference tool, refused without a picture.
    void toolEditDecalImage(bool checked);

    // The transformations of the active layer's pixels, each one undo step.
    void shiftLeft();
    void shiftRight();
    void shiftUp();
    void shiftDown();
    void rotate();
    void scale();
    void invert();
    void mirror();
    void flip();
    void eraser();
    // The last values of the rotation and scale dialogs.
    RotateOptions rotateOptions;
    ScaleOptions scaleOptions;

    // Ctrl+C: the selected pixels onto the clipboard; Ctrl+V: pasted at the
    // grid's top left corner, selected, to be dragged where they belong.
    void copyPixels();
    void pastePixels();

    void clearSelection();
    void invertSelection();
    void clearLayer(int layer);
    void clearGrid();

    QGraphicsViewZoomable* view() const { return editorGV; }
    QGraphicsSceneWithGrid* editingScene() const { return scene; }
    // The slot under the mouse, -1 for none.
    int hoverSlot() const;
    // The menu of a right click beside the grid: the colours of the
    // background and the grids; the caller owns it.
    QMenu* colorMenu();

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void showCurrent();
    void showChangedSlots(const QSet<int>& stored);

private:
    // ToolHost
    ImagesetDocument& document() override { return *doc; }
    LayerCanvas canvas() const override;
    Pen pen(Qt::MouseButton button, bool multiColor) const override;
    void pickCode(Qt::MouseButton button, int code) override;
    void refuseMixedKinds() override;
    void showShape(Drawing::Shape shape, const QPointF& from, const QPointF& to) override;
    void hideShape() override;
    void showBand(const QRegion& band) override;
    QSize referenceSize() const override;
    QRect referenceRect() const override;
    void setReferenceRect(const QRect& rect) override;

    ToolEvent toolEvent(const QPoint& viewPos, Qt::MouseButton button, Qt::MouseButtons buttons,
                        Qt::KeyboardModifiers modifiers) const;
    void mousePressEditorGV(QMouseEvent* event);
    void mouseMoveEditorGV(QMouseEvent* event);
    void mouseReleaseEditorGV(QMouseEvent* event);
    void keyEditorGV(QKeyEvent* event);
    void dragEnterEditor(QDragMoveEvent* event);
    void dropEditor(QDropEvent* event);
    using Operation = std::function<QSet<int>(Imageset&, const LayerCanvas&, bool multiColor, const QRegion&)>;
    // Runs a transformation as one step after the checks every one makes:
    // a layer with slots, a rectangular selection for shifts, images of one
    // kind (not needed to erase). ask may end it before anything changes.
    void transform(const Operation& operation, bool shift = false, bool anyKind = false,
                   const std::function<bool(bool multiColor, const QRect& area)>& ask = {});
    void shift(Transform::Direction direction);
    // After the grid's cells changed: the size fields' minimums follow.
    void gridChanged();
    void updateStatus();
    // Copy needs a selection, paste pixels on the clipboard.
    void updateClipboardButtons();
    void updateCursor(Qt::KeyboardModifiers modifiers);
    void setHover(const QPoint& pixel);

    ImagesetDocument* doc;
    ColorPanel* colors;
    BitmapClipboard* clipboard;
    EditingGrid editingGrid;
    int layer = 0;
    ToolBox tools;
    QPoint hoverPixel {-1, -1};

    QGraphicsSceneWithGrid* scene;
    LayersItem* layers;
    QGraphicsPathItem* shapeLight;
    QGraphicsPathItem* shapeDark;
    QGraphicsViewZoomable* editorGV;
    QButtonGroup* toolButtons;
    QToolButton* btnImagesGrid;
    QToolButton* btnPixelsGrid;
    QToolButton* btnCopyEditor;
    QToolButton* btnPasteEditor;
    QToolButton* btnSetDecalImage;
    QToolButton* btnEditDecalImage;
    int previousTool = Draw; // chosen again when the reference tool ends
    bool loadInFront = false;
    bool shownOnce = false;
    std::array<QRadioButton*, EditingGrid::layerCount> radioLayers;
    std::array<QCheckBox*, EditingGrid::layerCount> chkShowLayers;
    CustomSpinBox* spinBoxGridSizeX;
    CustomSpinBox* spinBoxGridSizeY;
    SlotSwatches* swatches;
    ElidedLabel* lblEditorStatus;
};
