#include "editors/imageset/editingpane.h"

#include "dialogs/prompt.h"
#include "editing/slotpayload.h"
#include "editing/transforms.h"
#include "editing/slotselection.h"
#include "editors/imageset/colorpanel.h"
#include "editors/imageset/layersitem.h"
#include "editors/imageset/slotswatches.h"
#include "views/customspinbox.h"
#include "views/elidedlabel.h"
#include "views/iconbutton.h"
#include "views/qgraphicsscenewithgrid.h"
#include "views/qgraphicsviewzoomable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGraphicsPathItem>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {
QGraphicsPathItem* makeOutline(Qt::GlobalColor color, double dashOffset)
{
    auto* item = new QGraphicsPathItem;
    QPen pen(color, 1.0);
    pen.setCosmetic(true); // one screen pixel at every zoom
    pen.setDashPattern({4.0, 4.0});
    pen.setDashOffset(dashOffset);
    item->setPen(pen);
    item->setZValue(1.0);
    item->hide();
    return item;
}

// The MIME formats a set takes slots from: its own kind's list and, for
// characters and blocks, tile sets made of them.
QStringList acceptedFormats(const Imageset& set)
{
    switch (set.type) {
    case Imageset::Charset:
        return {QStringLiteral("text/charset_index"), QStringLiteral("text/tileset_charset_index")};
    case Imageset::Blockset:
        return {QStringLiteral("text/blockset_index"), QStringLiteral("text/tileset_blockset_index")};
    case Imageset::Spriteset:
        break;
    }
    return {QStringLiteral("text/spriteset_index")};
}

QString acceptedFormat(const Imageset& set, const QMimeData* mime)
{
    for (const QString& format : acceptedFormats(set)) {
        if (mime->hasFormat(format))
            return format;
    }
    return QString();
}
}

EditingPane::EditingPane(ImagesetDocument* document, ColorPanel* colors, BitmapClipboard* clipboard,
                         QWidget* parent)
    : QWidget(parent)
    , doc(document)
    , colors(colors)
    , clipboard(clipboard)
    , scene(new QGraphicsSceneWithGrid(this))
    , layers(new LayersItem(document, &editingGrid))
    , shapeLight(makeOutline(Qt::white, 0.0))
    , shapeDark(makeOutline(Qt::black, 4.0))
    , editorGV(new QGraphicsViewZoomable)
    , toolButtons(new QButtonGroup(this))
    , btnImagesGrid(makeIconButton(QStringLiteral("btnImagesGrid"), QStringLiteral("Grid"), QStringLiteral("Toggle grid"), true))
    , btnPixelsGrid(makeIconButton(QStringLiteral("btnPixelsGrid"), QStringLiteral("PixelsGrid"),
                               QStringLiteral("Toggle pixels grid"), true))
    , btnCopyEditor(makeIconButton(QStringLiteral("btnCopyEditor"), QStringLiteral("Copy"), QStringLiteral("Copy (Ctrl+C)")))
    , btnPasteEditor(makeIconButton(QStringLiteral("btnPasteEditor"), QStringLiteral("Paste"), QStringLiteral("Paste (Ctrl+V)")))
    , btnSetDecalImage(makeIconButton(QStringLiteral("btnSetDecalImage"), QStringLiteral("DecalImage"),
                                  QStringLiteral("Set/clear image"), true))
    , btnEditDecalImage(makeIconButton(QStringLiteral("btnEditDecalImage"), QStringLiteral("DecalMove"),
                                   QStringLiteral("Move/resize image"), true))
    , spinBoxGridSizeX(new CustomSpinBox)
    , spinBoxGridSizeY(new CustomSpinBox)
    , swatches(new SlotSwatches(QStringLiteral("Editor"), QStringLiteral("lblRomCharEditor")))
    , lblEditorStatus(new ElidedLabel)
{
    const Imageset& set = doc->current();
    // The first slots in order, so that drawing can start at once.
    const bool sprites = set.type == Imageset::Spriteset;
    editingGrid.resize(sprites ? 4 : 8, sprites ? 2 : 4);
    QList<int> first;
    for (int slot = 0; slot < editingGrid.columns() * editingGrid.rows(); ++slot)
        first << slot;
    editingGrid.fill(0, first);

    scene->addItem(layers);
    scene->addItem(shapeLight);
    scene->addItem(shapeDark);
    editorGV->setObjectName(QStringLiteral("editorGV"));
    editorGV->setScene(scene);
    editorGV->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    editorGV->setAcceptDrops(true);
    editorGV->setMouseTracking(true);
    editorGV->setZoom(sprites ? 2.0 : 3.0);
    scene->setViewZoom(editorGV->zoomFactor());

    ToolHost& host = *this;
    tools.add(Draw, std::make_unique<FreehandTool>(host));
    tools.add(Line, std::make_unique<ShapeTool>(host, Drawing::Shape::Line));
    tools.add(Ellipse, std::make_unique<ShapeTool>(host, Drawing::Shape::Ellipse));
    tools.add(Rectangle, std::make_unique<ShapeTool>(host, Drawing::Shape::Rectangle));
    tools.add(Fill, std::make_unique<FloodTool>(host, false));
    tools.add(SelectMove, std::make_unique<SelectMoveTool>(host));
    tools.add(FloodSelect, std::make_unique<FloodTool>(host, true));
    tools.add(Reference, std::make_unique<ReferenceTool>(host));

    // Rows that stay short, so that the pane keeps readable when narrow.
    auto* toolRow = new QHBoxLayout;
    const struct {
        const char* name;
        const char* icon;
        const char* toolTip;
    } toolList[] = {{"btnToolDraw", "ToolDraw", "Freehand draw"},     {"btnToolLine", "ToolLine", "Line"},
                    {"btnToolEllipse", "ToolEllipse", "Ellipse"},     {"btnToolRect", "ToolRect", "Rectangle"},
                    {"btnToolFloodFill", "ToolFill", "Flood fill"},   {"btnToolSelect", "ToolSelect", "Select and move"},
                    {"btnToolFloodSel", "ToolFloodSel", "Flood fill selection"}};
    for (int id = 0; id < int(std::size(toolList)); ++id) {
        QToolButton* button = makeIconButton(QLatin1String(toolList[id].name), QLatin1String(toolList[id].icon),
                                         QLatin1String(toolList[id].toolTip), true);
        toolButtons->addButton(button, id);
        toolRow->addWidget(button);
    }
    toolButtons->button(Draw)->setChecked(true);
    toolRow->addWidget(btnEditDecalImage);
    toolRow->addStretch();

    auto* commandRow = new QHBoxLayout;
    QToolButton* btnClearSelection = makeIconButton(QStringLiteral("btnClearSelection"), QStringLiteral("ClearSelection"),
                                                QStringLiteral("Clear selection (Ctrl+D)"));
    QToolButton* btnInvSelection = makeIconButton(QStringLiteral("btnInvSelection"), QStringLiteral("InvertSelection"),
                                              QStringLiteral("Invert selection"));
    QToolButton* btnClearGrid = makeIconButton(QStringLiteral("btnClearGrid"), QStringLiteral("ClearGrid"),
                                           QStringLiteral("Clear grid for all layers"));
    btnImagesGrid->setChecked(true);
    scene->setImagesGridVisible(true);
    for (QToolButton* button : {btnCopyEditor, btnPasteEditor, btnClearSelection, btnInvSelection, btnImagesGrid,
                                btnPixelsGrid, btnClearGrid, btnSetDecalImage})
        commandRow->addWidget(button);
    commandRow->addStretch();

    auto* transformRow = new QHBoxLayout;
    const struct {
        const char* name;
        const char* icon;
        const char* toolTip;
        void (EditingPane::*slot)();
    } transforms[] = {{"btnShiftLeft", "ShiftLeft", "Shift left", &EditingPane::shiftLeft},
                      {"btnShiftRight", "ShiftRight", "Shift right", &EditingPane::shiftRight},
                      {"btnShiftUp", "ShiftUp", "Shift up", &EditingPane::shiftUp},
                      {"btnShiftDown", "ShiftDown", "Shift down", &EditingPane::shiftDown},
                      {"btnRotate", "Rotate", "Rotate", &EditingPane::rotate},
                      {"btnScale", "Scale", "Resize", &EditingPane::scale},
                      {"btnInvert", "Invert", "Invert", &EditingPane::invert},
                      {"btnMirror", "Mirror", "Mirror", &EditingPane::mirror},
                      {"btnFlip", "Flip", "Flip", &EditingPane::flip},
                      {"btnEraser", "Eraser", "Erase all", &EditingPane::eraser}};
    for (const auto& entry : transforms) {
        QToolButton* button = makeIconButton(QLatin1String(entry.name), QLatin1String(entry.icon), QLatin1String(entry.toolTip));
        connect(button, &QToolButton::clicked, this, entry.slot);
        transformRow->addWidget(button);
    }
    transformRow->addStretch();

    auto* layerGrid = new QGridLayout;
    auto* layerGroup = new QButtonGroup(this);
    for (int i = 0; i < EditingGrid::layerCount; ++i) {
        const QString number = QString::number(i + 1);
        radioLayers[size_t(i)] = new QRadioButton(QStringLiteral("Layer ") + number);
        radioLayers[size_t(i)]->setObjectName(QStringLiteral("radioLayer%1").arg(i));
        radioLayers[size_t(i)]->setToolTip(QStringLiteral("Activate layer %1 (key '%1')").arg(number));
        layerGroup->addButton(radioLayers[size_t(i)], i);
        chkShowLayers[size_t(i)] = new QCheckBox;
        chkShowLayers[size_t(i)]->setObjectName(QStringLiteral("chkShowLayer%1").arg(i));
        chkShowLayers[size_t(i)]->setToolTip(QStringLiteral("Show/hide layer %1").arg(number));
        chkShowLayers[size_t(i)]->setChecked(true);
        QToolButton* clear = makeIconButton(QStringLiteral("btnClearGridLayer%1").arg(i), QStringLiteral("ClearGrid"),
                                        QStringLiteral("Clear grid for the layer %1").arg(number));
        connect(clear, &QToolButton::clicked, this, [this, i] { clearLayer(i); });
        connect(chkShowLayers[size_t(i)], &QCheckBox::toggled, this, [this, i](bool shown) {
            layers->setLayerShown(i, shown);
        });
        auto* entry = new QHBoxLayout;
        entry->addWidget(chkShowLayers[size_t(i)]);
        entry->addWidget(radioLayers[size_t(i)]);
        entry->addWidget(clear);
        entry->addStretch();
        layerGrid->addLayout(entry, i / 2, i % 2);
    }
    radioLayers[0]->setChecked(true);

    auto* gridSize = new QHBoxLayout;
    spinBoxGridSizeX->setObjectName(QStringLiteral("spinBoxGridSizeX"));
    spinBoxGridSizeY->setObjectName(QStringLiteral("spinBoxGridSizeY"));
    gridSize->addWidget(new QLabel(QStringLiteral("Grid size X:")));
    gridSize->addWidget(spinBoxGridSizeX);
    gridSize->addWidget(new QLabel(QStringLiteral("Y:")));
    gridSize->addWidget(spinBoxGridSizeY);
    gridSize->addStretch();

    lblEditorStatus->setObjectName(QStringLiteral("lblEditorStatus"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(toolRow);
    layout->addLayout(commandRow);
    layout->addLayout(transformRow);
    layout->addLayout(layerGrid);
    layout->addLayout(gridSize);
    layout->addWidget(editorGV, 1);
    layout->addWidget(swatches);
    layout->addWidget(lblEditorStatus);

    connect(toolButtons, &QButtonGroup::idClicked, this, &EditingPane::chooseTool);
    connect(layerGroup, &QButtonGroup::idClicked, this, &EditingPane::setCurrentLayer);
    connect(btnCopyEditor, &QToolButton::clicked, this, &EditingPane::copyPixels);
    connect(btnPasteEditor, &QToolButton::clicked, this, &EditingPane::pastePixels);
    connect(btnClearSelection, &QToolButton::clicked, this, &EditingPane::clearSelection);
    connect(btnInvSelection, &QToolButton::clicked, this, &EditingPane::invertSelection);
    connect(btnClearGrid, &QToolButton::clicked, this, &EditingPane::clearGrid);
    connect(btnSetDecalImage, &QToolButton::clicked, this, &EditingPane::setDecalImage);
    connect(btnEditDecalImage, &QToolButton::clicked, this, &EditingPane::toolEditDecalImage);
    connect(btnImagesGrid, &QToolButton::toggled, scene, &QGraphicsSceneWithGrid::setImagesGridVisible);
    connect(btnPixelsGrid, &QToolButton::toggled, scene, &QGraphicsSceneWithGrid::setPixelsGridVisible);
    for (CustomSpinBox* spin : {spinBoxGridSizeX, spinBoxGridSizeY}) {
        connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), this, [this] {
            editingGrid.resize(spinBoxGridSizeX->value(), spinBoxGridSizeY->value());
            gridChanged();
        });
    }
    connect(editorGV, &QGraphicsViewZoomable::zoomChanged, scene, &QGraphicsSceneWithGrid::setViewZoom);
    connect(editorGV, &QGraphicsViewZoomable::mousePress, this, &EditingPane::mousePressEditorGV);
    connect(editorGV, &QGraphicsViewZoomable::mouseMove, this, &EditingPane::mouseMoveEditorGV);
    connect(editorGV, &QGraphicsViewZoomable::mouseRelease, this, &EditingPane::mouseReleaseEditorGV);
    // Keys reach the pane while the mouse is over it, without taking them
    // from the rest of the program.
    connect(editorGV, &QGraphicsViewZoomable::mouseEnter, this, [this] {
        editorGV->setFocus(Qt::MouseFocusReason);
        updateClipboardButtons();
    });
    connect(editorGV, &QGraphicsViewZoomable::mouseLeave, this, [this] { setHover(QPoint(-1, -1)); });
    connect(editorGV, &QGraphicsViewZoomable::mouseWheel, this, [this] { setHover(QPoint(-1, -1)); });
    connect(editorGV, &QGraphicsViewZoomable::keyPress, this, &EditingPane::keyEditorGV);
    connect(editorGV, &QGraphicsViewZoomable::keyRelease, this, &EditingPane::keyEditorGV);
    connect(editorGV, &QGraphicsViewZoomable::dragEnter, this, &EditingPane::dragEnterEditor);
    connect(editorGV, &QGraphicsViewZoomable::dragMove, this, &EditingPane::dragEnterEditor);
    connect(editorGV, &QGraphicsViewZoomable::drop, this, &EditingPane::dropEditor);
    connect(doc, &Document::changed, this, &EditingPane::showCurrent);
    connect(doc, &Document::elementsChanged, this, &EditingPane::showChangedSlots);

    scene->setCellMode([this](int column, int row) {
        const int slot = editingGrid.slotAt(layer, column, row);
        if (slot < 0)
            return int(QGraphicsSceneWithGrid::NoSlot);
        return int(doc->current().isMultiColorImage(slot) ? QGraphicsSceneWithGrid::MultiColorCell
                                                          : QGraphicsSceneWithGrid::HiResCell);
    });
    gridChanged();
    showCurrent();
}

EditingPane::~EditingPane() = default;

void EditingPane::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The grid starts at the top left corner of the view.
    if (!shownOnce) {
        shownOnce = true;
        editorGV->horizontalScrollBar()->setValue(editorGV->horizontalScrollBar()->minimum());
        editorGV->verticalScrollBar()->setValue(editorGV->verticalScrollBar()->minimum());
    }
}

LayerCanvas EditingPane::canvas() const
{
    return LayerCanvas(editingGrid, layer, doc->current().imageWidth, doc->current().imageHeight);
}

Pen EditingPane::pen(Qt::MouseButton button, bool multiColor) const
{
    return Pen::forButton(button, colors->dithering(), multiColor, colors->leftCode(), colors->rightCode());
}

void EditingPane::pickCode(Qt::MouseButton button, int code)
{
    colors->pickCode(button, code);
}

void EditingPane::refuseMixedKinds()
{
    Prompt::critical(this, QStringLiteral("Operation not permitted!"),
                     QStringLiteral("Can't apply this operation to both mono and multi color %1s.")
                         .arg(Imageset::kindWord(doc->current().type).toLower()));
}

void EditingPane::showShape(Drawing::Shape shape, const QPointF& from, const QPointF& to)
{
    QPainterPath path;
    switch (shape) {
    case Drawing::Shape::Line:
        path.moveTo(from);
        path.lineTo(to);
        break;
    case Drawing::Shape::Ellipse:
        path.addEllipse(QRectF(from, to).normalized());
        break;
    case Drawing::Shape::Rectangle:
        path.addRect(QRectF(from, to).normalized());
        break;
    }
    for (QGraphicsPathItem* outline : {shapeLight, shapeDark}) {
        outline->setPath(path);
        outline->show();
    }
}

void EditingPane::hideShape()
{
    shapeLight->hide();
    shapeDark->hide();
}

void EditingPane::showBand(const QRegion& band)
{
    scene->setPendingRegion(band);
}

void EditingPane::setCurrentLayer(int newLayer)
{
    if (newLayer < 0 || newLayer >= EditingGrid::layerCount)
        return;
    // The selection belongs to the pixels of one layer: it ends with it.
    tools.choose(tools.activeId());
    if (!doc->extra().selection.isEmpty()) {
        doc->step([](Imageset&, ImagesetEditing& editing) {
            editing.selection = QRegion();
            return true;
        });
    }
    layer = newLayer;
    radioLayers[size_t(layer)]->setChecked(true);
    scene->update();
    updateStatus();
}

void EditingPane::chooseTool(int id)
{
    if (id != Reference && btnEditDecalImage->isChecked()) {
        btnEditDecalImage->setChecked(false);
        scene->setReferenceToolActive(false);
    }
    tools.choose(id);
    if (QAbstractButton* button = toolButtons->button(tools.activeId()))
        button->setChecked(true);
}

void EditingPane::editSlots(const SlotSelection& selection, int slot)
{
    const QList<int> slotList = selection.isEmpty() ? (slot >= 0 ? QList<int> {slot} : QList<int>()) : selection.indexes;
    editingGrid.clear(layer);
    if (!selection.rect.isEmpty())
        editingGrid.resize(selection.rect.width(), selection.rect.height());
    editingGrid.fill(layer, slotList);
    gridChanged();
}

bool EditingPane::dropSlots(const QString& format, const QByteArray& payloadText, const QPoint& cell)
{
    const std::optional<SlotPayload> payload = SlotPayload::parse(payloadText);
    // A payload of another set, or of another kind with an equal
    // identifier, is not for this pane.
    if (!payload || payload->setId != doc->current().id || !acceptedFormats(doc->current()).contains(format))
        return false;
    for (const auto& [at, slot] : payload->placements(cell, editingGrid.columns()))
        editingGrid.place(layer, at.x(), at.y(), slot);
    gridChanged();
    return true;
}

QSize EditingPane::referenceSize() const
{
    return scene->referenceImage().size();
}

QRect EditingPane::referenceRect() const
{
    return scene->referenceRect().toRect();
}

void EditingPane::setReferenceRect(const QRect& rect)
{
    scene->setReferenceRect(rect);
    updateStatus();
}

void EditingPane::setReference(const QImage& picture, bool inFront)
{
    if (picture.isNull() && btnEditDecalImage->isChecked())
        toolEditDecalImage(false);
    scene->setReferenceImage(picture);
    scene->setReferenceRect(picture.isNull() ? QRect() : QRect(QPoint(0, 0), picture.size()));
    scene->setReferenceInFront(inFront);
    layers->setReferenceBehind(!picture.isNull() && !inFront);
    const QSignalBlocker blocker(btnSetDecalImage);
    btnSetDecalImage->setChecked(!picture.isNull());
    updateStatus();
}

void EditingPane::setDecalImage(bool checked)
{
    if (!checked) {
        setReference(QImage(), false);
        return;
    }
    int choice = loadInFront ? 1 : 0;
    const QString file = Prompt::getOpenFileName(this, QStringLiteral("Open Image"),
                                                 QStringLiteral("Image Files (*.png *.jpg *.bmp)"),
                                                 {QStringLiteral("Load as background"), QStringLiteral("Load as foreground")},
                                                 choice);
    const QImage picture = file.isEmpty() ? QImage() : QImage(file);
    if (picture.isNull()) {
        btnSetDecalImage->setChecked(false);
        return;
    }
    loadInFront = choice == 1;
    setReference(picture, loadInFront);
}

void EditingPane::referenceFromSlots(const SlotSelection& selection, int slot, bool inFront)
{
    const Imageset& set = doc->current();
    const QList<int> slotList = selection.isEmpty() ? (slot >= 0 ? QList<int> {slot} : QList<int>()) : selection.indexes;
    if (slotList.isEmpty())
        return;
    const int columns = selection.rect.isEmpty() ? editingGrid.columns() : selection.rect.width();
    const int rows = (slotList.size() + columns - 1) / columns;
    QImage picture(2 * set.imageWidth * qMin(columns, slotList.size()), 2 * set.imageHeight * rows,
                   QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    for (int i = 0; i < slotList.size(); ++i) {
        const QImage image = set.toImage(slotList.at(i), inFront);
        if (!image.isNull())
            painter.drawImage(QRect((i % columns) * 2 * set.imageWidth, (i / columns) * 2 * set.imageHeight,
                                    2 * set.imageWidth, 2 * set.imageHeight),
                              image);
    }
    painter.end();
    setReference(picture, inFront);
}

void EditingPane::toolEditDecalImage(bool checked)
{
    if (checked && scene->referenceImage().isNull()) {
        btnEditDecalImage->setChecked(false);
        Prompt::critical(this, QStringLiteral("Error!"), QStringLiteral("No background/foreground image set."));
        return;
    }
    btnEditDecalImage->setChecked(checked);
    scene->setReferenceToolActive(checked);
    if (checked) {
        if (tools.activeId() != Reference)
            previousTool = tools.activeId();
        tools.choose(Reference);
        // None of the drawing tools is active while the picture moves.
        toolButtons->setExclusive(false);
        if (QAbstractButton* button = toolButtons->checkedButton())
            button->setChecked(false);
        toolButtons->setExclusive(true);
    } else if (tools.activeId() == Reference) {
        chooseTool(previousTool);
    }
}

void EditingPane::transform(const Operation& operation, bool shift, bool anyKind,
                            const std::function<bool(bool multiColor, const QRect& area)>& ask)
{
    if (editingGrid.isEmpty(layer))
        return;
    const QRegion selection = doc->extra().selection;
    if (shift && selection.rectCount() > 1) {
        Prompt::critical(this, QStringLiteral("Operation not permitted!"), QStringLiteral("The selection must be a rectangle."));
        return;
    }
    const std::optional<bool> kind = anyKind ? std::optional<bool>(false)
        : canvas().commonKind(doc->current(), selection.rectCount() == 1 ? selection : QRegion());
    if (!kind) {
        refuseMixedKinds();
        return;
    }
    // The working area in pixels, for the dialogs' centres.
    const QRect area = selection.isEmpty() ? QRect(0, 0, canvas().width(), canvas().height())
                                           : QRect(selection.boundingRect().topLeft() / 2,
                                                   selection.boundingRect().bottomRight() / 2);
    if (ask && !ask(*kind, area))
        return;
    const LayerCanvas layerCanvas = canvas();
    QSet<int> changed;
    doc->step(
        [&](Imageset& set, ImagesetEditing& editing) {
            changed = operation(set, layerCanvas, *kind, editing.selection);
            return !changed.isEmpty();
        },
        &changed);
}

void EditingPane::shift(Transform::Direction direction)
{
    transform([direction](Imageset& s, const LayerCanvas& c, bool m, const QRegion& r) {
        return Transform::shift(s, c, m, r, direction);
    }, true);
}

void EditingPane::shiftLeft()
{
    shift(Transform::Direction::Left);
}

void EditingPane::shiftRight()
{
    shift(Transform::Direction::Right);
}

void EditingPane::shiftUp()
{
    shift(Transform::Direction::Up);
}

void EditingPane::shiftDown()
{
    shift(Transform::Direction::Down);
}

namespace {
// A manual centre in units: a multicolour pixel covers two hi-res ones.
std::optional<QPoint> centreUnit(const TransformCentre& centre, bool multiColor)
{
    if (!centre.manual)
        return std::nullopt;
    return multiColor ? QPoint(centre.point.x() / 2, centre.point.y()) : centre.point;
}
}

void EditingPane::rotate()
{
    transform(
        [this](Imageset& s, const LayerCanvas& c, bool m, const QRegion& r) {
            return Transform::rotate(s, c, m, r, rotateOptions.angle, rotateOptions.right,
                                     centreUnit(rotateOptions.centre, m), m && rotateOptions.keepAspect ? 2.0 : 1.0);
        },
        false, false,
        [this](bool, const QRect& area) {
            RotateDialog dialog(rotateOptions, area.bottomRight(), this);
            if (!Prompt::exec(&dialog))
                return false;
            rotateOptions = dialog.options();
            return true;
        });
}

void EditingPane::scale()
{
    transform(
        [this](Imageset& s, const LayerCanvas& c, bool m, const QRegion& r) {
            return Transform::scale(s, c, m, r, scaleOptions.width, scaleOptions.height, centreUnit(scaleOptions.centre, m));
        },
        false, false,
        [this](bool, const QRect& area) {
            ScaleDialog dialog(scaleOptions, area.bottomRight(), this);
            if (!Prompt::exec(&dialog))
                return false;
            scaleOptions = dialog.options();
            return scaleOptions.width != 100.0 || scaleOptions.height != 100.0;
        });
}

void EditingPane::invert()
{
    transform(&Transform::invert);
}

void EditingPane::mirror()
{
    transform(&Transform::mirror);
}

void EditingPane::flip()
{
    transform(&Transform::flip);
}

void EditingPane::eraser()
{
    transform(&Transform::erase, false, true);
}

void EditingPane::copyPixels()
{
    const QRegion selection = doc->extra().selection;
    if (selection.isEmpty())
        return;
    const std::optional<bool> kind = canvas().commonKind(doc->current(), selection);
    if (!kind) {
        refuseMixedKinds();
        return;
    }
    clipboard->copy(doc->current(), canvas(), selection, *kind);
    updateClipboardButtons();
}

void EditingPane::pastePixels()
{
    if (clipboard->isEmpty())
        return;
    const std::optional<bool> kind = canvas().commonKind(doc->current(), QRegion());
    if (!kind) {
        refuseMixedKinds();
        return;
    }
    if (*kind != clipboard->isMultiColor()) {
        Prompt::critical(this, QStringLiteral("Operation not permitted!"),
                         QStringLiteral("Cannot paste, incompatible image types."));
        return;
    }
    // The pasted pixels float over the picture as a move does, so that a
    // drag with "Select and move" takes them on and leaves the picture below.
    const LayerCanvas layerCanvas = canvas();
    const auto buffers =
        QSharedPointer<const MoveBuffers>::create(clipboard->pasteBuffers(doc->current(), layerCanvas));
    const QRegion pasted = clipboard->pastedRegion();
    doc->step([&](Imageset& set, ImagesetEditing& editing) {
        Drawing::moveLifted(set, layerCanvas, *buffers, QPoint(), QPoint());
        editing.moving = buffers;
        editing.moveOffset = QPoint();
        editing.selection = pasted;
        return true;
    });
}

void EditingPane::updateClipboardButtons()
{
    btnCopyEditor->setEnabled(!doc->extra().selection.isEmpty());
    btnPasteEditor->setEnabled(!clipboard->isEmpty());
}

void EditingPane::clearSelection()
{
    if (doc->extra().selection.isEmpty())
        return;
    doc->step([](Imageset&, ImagesetEditing& editing) {
        editing.selection = QRegion();
        return true;
    });
}

void EditingPane::invertSelection()
{
    const QRegion whole = scene->gridRect();
    doc->step([&whole](Imageset&, ImagesetEditing& editing) {
        editing.selection = whole - editing.selection;
        return true;
    });
}

void EditingPane::clearLayer(int clearedLayer)
{
    editingGrid.clear(clearedLayer);
    gridChanged();
}

void EditingPane::clearGrid()
{
    for (int i = 0; i < EditingGrid::layerCount; ++i)
        editingGrid.clear(i);
    gridChanged();
}

int EditingPane::hoverSlot() const
{
    const Imageset& set = doc->current();
    if (hoverPixel.x() < 0)
        return -1;
    return editingGrid.slotAt(layer, hoverPixel.x() / set.imageWidth, hoverPixel.y() / set.imageHeight);
}

void EditingPane::gridChanged()
{
    editingGrid.resize(editingGrid.columns(), editingGrid.rows());
    const QSize used = editingGrid.usedExtent();
    {
        const QSignalBlocker blockX(spinBoxGridSizeX);
        const QSignalBlocker blockY(spinBoxGridSizeY);
        spinBoxGridSizeX->setRange(used.width(), EditingGrid::maxSize);
        spinBoxGridSizeY->setRange(used.height(), EditingGrid::maxSize);
        spinBoxGridSizeX->setValue(editingGrid.columns());
        spinBoxGridSizeY->setValue(editingGrid.rows());
    }
    scene->setGridSize(editingGrid.columns(), editingGrid.rows());
    scene->setSceneRect(scene->gridRect().adjusted(-8, -8, 8, 8));
    layers->refresh();
    scene->update();
    updateStatus();
}

void EditingPane::showCurrent()
{
    const Imageset& set = doc->current();
    scene->setImageSize(set.imageWidth, set.imageHeight);
    scene->setBackgroundColor(set.backgroundColor);
    scene->setPixelsGridColor(set.pixelsGridColor);
    scene->setImagesGridColor(set.imagesGridColor);
    scene->setSelection(doc->extra().selection);
    scene->setSceneRect(scene->gridRect().adjusted(-8, -8, 8, 8));
    layers->refresh();
    updateStatus();
    updateClipboardButtons();
}

void EditingPane::showChangedSlots(const QSet<int>& stored)
{
    layers->refreshSlots(stored);
    if (scene->selection() != doc->extra().selection) {
        scene->setSelection(doc->extra().selection);
        updateClipboardButtons();
    }
    updateStatus();
}

ToolEvent EditingPane::toolEvent(const QPoint& viewPos, Qt::MouseButton button, Qt::MouseButtons buttons,
                                 Qt::KeyboardModifiers modifiers) const
{
    ToolEvent event;
    event.scenePos = editorGV->mapToScene(viewPos);
    event.pixel = QPoint(int(std::floor(event.scenePos.x() / 2)), int(std::floor(event.scenePos.y() / 2)));
    event.button = button;
    event.buttons = buttons;
    event.modifiers = modifiers;
    return event;
}

void EditingPane::mousePressEditorGV(QMouseEvent* event)
{
    const ToolEvent toolEvent = this->toolEvent(event->pos(), event->button(), event->buttons(), event->modifiers());
    if (event->button() == Qt::RightButton && !scene->gridRect().contains(toolEvent.scenePos.toPoint())) {
        QMenu* menu = colorMenu();
        menu->exec(event->globalPos());
        menu->deleteLater();
        return;
    }
    tools.press(toolEvent);
    updateCursor(event->modifiers());
}

void EditingPane::mouseMoveEditorGV(QMouseEvent* event)
{
    const ToolEvent toolEvent = this->toolEvent(event->pos(), Qt::NoButton, event->buttons(), event->modifiers());
    setHover(toolEvent.pixel);
    tools.move(toolEvent);
    updateCursor(event->modifiers());
}

void EditingPane::mouseReleaseEditorGV(QMouseEvent* event)
{
    tools.release(toolEvent(event->pos(), event->button(), event->buttons(), event->modifiers()));
    updateCursor(event->modifiers());
}

void EditingPane::keyEditorGV(QKeyEvent* event)
{
    if (event->type() == QEvent::KeyPress && event->modifiers() == Qt::NoModifier && event->key() >= Qt::Key_1
        && event->key() <= Qt::Key_4) {
        setCurrentLayer(event->key() - Qt::Key_1);
    } else if (event->type() == QEvent::KeyPress && event->matches(QKeySequence::Deselect)) {
        clearSelection();
    } else if (event->type() == QEvent::KeyPress && event->key() == Qt::Key_D
               && event->modifiers() == Qt::ControlModifier) {
        clearSelection();
    } else if (event->type() == QEvent::KeyPress && event->matches(QKeySequence::Copy)) {
        copyPixels();
    } else if (event->type() == QEvent::KeyPress && event->matches(QKeySequence::Paste)) {
        pastePixels();
    } else {
        tools.key(event->key(), event->modifiers());
    }
    updateCursor(event->modifiers());
}

void EditingPane::updateCursor(Qt::KeyboardModifiers modifiers)
{
    editorGV->viewport()->setCursor(tools.cursor(toolEvent(editorGV->viewport()->mapFromGlobal(QCursor::pos()),
                                                           Qt::NoButton, Qt::NoButton, modifiers)));
}

void EditingPane::dragEnterEditor(QDragMoveEvent* event)
{
    if (!acceptedFormat(doc->current(), event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void EditingPane::dropEditor(QDropEvent* event)
{
    const QString format = acceptedFormat(doc->current(), event->mimeData());
    const ToolEvent at = toolEvent(event->pos(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    const Imageset& set = doc->current();
    const QPoint cell(int(std::floor(double(at.pixel.x()) / set.imageWidth)),
                      int(std::floor(double(at.pixel.y()) / set.imageHeight)));
    if (!format.isEmpty() && cell.x() >= 0 && cell.y() >= 0
        && dropSlots(format, event->mimeData()->data(format), cell))
        event->acceptProposedAction();
}

QMenu* EditingPane::colorMenu()
{
    const QString kind = Imageset::kindWord(doc->current().type).toLower();
    auto* menu = new QMenu(this);
    const struct {
        QString entry;
        QString title;
        QColor Imageset::*color;
    } choices[] = {
        {QStringLiteral("Set background color..."), QStringLiteral("Select the background color..."),
         &Imageset::backgroundColor},
        {QStringLiteral("Set pixels grid color..."), QStringLiteral("Select the pixels grid color..."),
         &Imageset::pixelsGridColor},
        {QStringLiteral("Set %1s grid color...").arg(kind), QStringLiteral("Select the %1s grid color...").arg(kind),
         &Imageset::imagesGridColor},
    };
    for (const auto& choice : choices) {
        menu->addAction(choice.entry, this, [this, choice] {
            QColor color;
            if (Prompt::getColor(this, choice.title, doc->current().*choice.color, color))
                doc->edit([&](Imageset& set) { set.*choice.color = color; });
        });
    }
    return menu;
}

void EditingPane::setHover(const QPoint& pixel)
{
    const QRect picture(0, 0, canvas().width(), canvas().height());
    hoverPixel = picture.contains(pixel) ? pixel : QPoint(-1, -1);
    const Imageset& set = doc->current();
    if (hoverPixel.x() >= 0)
        scene->setHoverCell(hoverPixel.x() / set.imageWidth, hoverPixel.y() / set.imageHeight);
    else
        scene->setHoverCell(-1, -1);
    updateStatus();
}

void EditingPane::updateStatus()
{
    const Imageset& set = doc->current();
    const int slot = hoverSlot();
    QString absolute = QStringLiteral("-, -"), relative = absolute;
    if (hoverPixel.x() >= 0) {
        const LayerCanvas::Spot spot = canvas().locate(set, hoverPixel.x(), hoverPixel.y());
        absolute = QStringLiteral("%1, %2").arg(hoverPixel.x()).arg(hoverPixel.y());
        relative = spot.editable() ? QStringLiteral("%1, %2").arg(spot.x).arg(spot.y)
                                   : QStringLiteral("%1, %2").arg(hoverPixel.x() % set.imageWidth)
                                         .arg(hoverPixel.y() % set.imageHeight);
    }
    QString reference;
    if (!scene->referenceImage().isNull()) {
        const QRect rect = referenceRect();
        reference = QStringLiteral(" | %1 image: (x: %2, y: %3) - (w: %4, h: %5)")
                        .arg(scene->isReferenceInFront() ? QStringLiteral("Foreground") : QStringLiteral("Background"))
                        .arg(rect.x())
                        .arg(rect.y())
                        .arg(rect.width())
                        .arg(rect.height());
    }
    lblEditorStatus->setText(QStringLiteral("| %1: %2 | Abs: (%3) | Rel: (%4)%5")
                                 .arg(Imageset::kindWord(set.type))
                                 .arg(slot >= 0 ? QStringLiteral("%1").arg(slot, 5) : QStringLiteral("---"))
                                 .arg(absolute, relative, reference));
    swatches->show(set, slot);
}
