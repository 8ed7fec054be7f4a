#include "editors/imageset/imagelistpane.h"

#include "editors/imageset/imagelistscene.h"
#include "editors/imageset/slotswatches.h"
#include "views/customspinbox.h"
#include "views/elidedlabel.h"
#include "views/iconbutton.h"
#include "views/qgraphicsviewzoomable.h"

#include <QApplication>
#include <QDrag>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

ImageListPane::ImageListPane(const ImagesetDocument* document, QWidget* parent)
    : QWidget(parent)
    , document(document)
    , scene(new ImageListScene(document, this))
    , imagesGV(new QGraphicsViewZoomable)
    , btnSave(new QPushButton(QStringLiteral("Save")))
    , btnSelectorGrid(new QPushButton(QStringLiteral("Grid")))
    , btnCopy(makeIconButton(QStringLiteral("btnCopy"), QStringLiteral("Copy"), QStringLiteral("Copy (Alt+C)")))
    , btnCut(makeIconButton(QStringLiteral("btnCut"), QStringLiteral("Cut"), QStringLiteral("Cut (Alt+X)")))
    , btnShowStats(makeIconButton(QStringLiteral("btnShowStats"), QStringLiteral("Stats"), QStringLiteral("Show statistics")))
    , spinBoxSelectorGridSizeX(new CustomSpinBox)
    , spinBoxSelectorGridSizeY(new CustomSpinBox)
    , swatches(new SlotSwatches(QStringLiteral("Images"), QStringLiteral("lblRomChar")))
    , lblImagesStatus(new ElidedLabel)
{
    lblImagesStatus->setObjectName(QStringLiteral("lblImagesStatus"));
    imagesGV->setObjectName(QStringLiteral("imagesGV"));
    imagesGV->setScene(scene);
    imagesGV->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The slot pictures are drawn as the view's background and kept, and only
    // changed cells are repainted, so a hover or selection change only
    // redraws the frames over them.
    imagesGV->setCacheMode(QGraphicsView::CacheBackground);
    imagesGV->setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);

    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnSave->setToolTip(QStringLiteral("Save (Ctrl+S)"));
    btnSelectorGrid->setObjectName(QStringLiteral("btnSelectorGrid"));
    btnSelectorGrid->setToolTip(QStringLiteral("Toggle grid"));
    btnSelectorGrid->setCheckable(true);
    btnSelectorGrid->setChecked(true);
    spinBoxSelectorGridSizeX->setObjectName(QStringLiteral("spinBoxSelectorGridSizeX"));
    spinBoxSelectorGridSizeY->setObjectName(QStringLiteral("spinBoxSelectorGridSizeY"));
    // A character set always has its 256 characters in 32 x 8.
    for (CustomSpinBox* spin : {spinBoxSelectorGridSizeX, spinBoxSelectorGridSizeY}) {
        spin->setRange(1, Imageset::maxGridSize);
        spin->setEnabled(set().type != Imageset::Charset);
    }

    // Two short rows rather than one long one, so that the pane stays
    // readable in narrow windows.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnSave);
    buttons->addWidget(btnSelectorGrid);
    for (QToolButton* button : {btnCopy, btnCut, btnShowStats})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* gridSize = new QHBoxLayout;
    gridSize->addWidget(new QLabel(QStringLiteral("Grid size X:")));
    gridSize->addWidget(spinBoxSelectorGridSizeX);
    gridSize->addWidget(new QLabel(QStringLiteral("Y:")));
    gridSize->addWidget(spinBoxSelectorGridSizeY);
    gridSize->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(gridSize);
    layout->addWidget(imagesGV, 1);
    layout->addWidget(swatches);
    layout->addWidget(lblImagesStatus);

    connect(imagesGV, &QGraphicsViewZoomable::mousePress, this, &ImageListPane::mousePressImagesGV);
    connect(imagesGV, &QGraphicsViewZoomable::mouseMove, this, &ImageListPane::mouseMoveImagesGV);
    connect(imagesGV, &QGraphicsViewZoomable::mouseLeave, this, [this] {
        scene->setHoverIndex(-1);
        updateStatus();
    });
    connect(imagesGV, &QGraphicsViewZoomable::zoomChanged, this, [this](double zoom) {
        scene->setZoom(zoom);
        updateStatus();
    });
    connect(btnSelectorGrid, &QPushButton::toggled, scene, &ImageListScene::setGridVisible);
    for (CustomSpinBox* spin : {spinBoxSelectorGridSizeX, spinBoxSelectorGridSizeY}) {
        connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), this, [this] {
            emit gridResized(spinBoxSelectorGridSizeX->value(), spinBoxSelectorGridSizeY->value());
        });
    }
    btnCopy->setEnabled(false);
    btnCut->setEnabled(false);
    connect(document, &Document::changed, this, &ImageListPane::showCurrent);
    connect(document, &Document::elementsChanged, scene, &ImageListScene::refreshSlots);
    showCurrent();
}

void ImageListPane::showCurrent()
{
    scene->showCurrent();
    {
        const QSignalBlocker blockX(spinBoxSelectorGridSizeX);
        const QSignalBlocker blockY(spinBoxSelectorGridSizeY);
        spinBoxSelectorGridSizeX->setValue(set().selectorGridWidth);
        spinBoxSelectorGridSizeY->setValue(set().selectorGridHeight);
    }
    scene->setSelection(currentSelection);
    updateStatus();
}

void ImageListPane::setSelection(const SlotSelection& selection)
{
    currentSelection = selection;
    btnCopy->setEnabled(!selection.isEmpty());
    btnCut->setEnabled(!selection.isEmpty());
    scene->setSelection(currentSelection);
    updateStatus();
    emit selectionChanged();
}

int ImageListPane::hoverIndex() const
{
    return scene->hoverIndex();
}

double ImageListPane::zoom() const
{
    return imagesGV->zoomFactor();
}

void ImageListPane::setZoom(double zoom)
{
    // A zoom from a file is kept to the steps the view offers.
    zoom = std::isfinite(zoom) ? qBound(1.0, zoom, 32.0) : 1.0;
    imagesGV->setZoom(zoom);
    scene->setZoom(zoom);
    updateStatus();
}

bool ImageListPane::gridVisible() const
{
    return btnSelectorGrid->isChecked();
}

void ImageListPane::setGridVisible(bool visible)
{
    btnSelectorGrid->setChecked(visible);
}

QPoint ImageListPane::gridSize() const
{
    return QPoint(spinBoxSelectorGridSizeX->value(), spinBoxSelectorGridSizeY->value());
}

void ImageListPane::mouseMoveImagesGV(QMouseEvent* event)
{
    scene->setHoverIndex(scene->slotAt(imagesGV->mapToScene(event->pos())));
    // A drag takes the selection along when it starts on a selected slot.
    if ((event->buttons() & Qt::LeftButton) && pressIndex >= 0 && currentSelection.contains(pressIndex)
        && (event->pos() - pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        startDrag();
        return;
    }
    updateStatus();
}

void ImageListPane::mousePressImagesGV(QMouseEvent* event)
{
    const int slot = scene->slotAt(imagesGV->mapToScene(event->pos()));
    scene->setHoverIndex(slot);
    if (event->button() == Qt::RightButton) {
        updateStatus();
        emit menuRequested(event->globalPos(), slot);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    pressIndex = slot;
    pressPos = event->pos();
    if (slot < 0)
        return;

    SlotSelection selection = currentSelection;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers & Qt::ControlModifier)
        selection.ctrlClick(slot);
    else if (modifiers & Qt::ShiftModifier)
        selection.shiftClick(slot);
    else if (modifiers & Qt::AltModifier)
        selection.altClick(slot, spinBoxSelectorGridSizeX->value());
    else
        selection.click(slot);
    setSelection(selection);
}

QMimeData* ImageListPane::selectionMimeData() const
{
    auto* mime = new QMimeData;
    mime->setData(Slots::dragFormat(set()), Slots::dragPayload(set(), currentSelection).toUtf8());
    return mime;
}

void ImageListPane::startDrag()
{
    const double zoom = imagesGV->zoomFactor();
    QPixmap picture = set().images.contains(set().patternSlot(pressIndex)) ? scene->slotPixmap(pressIndex)
                                                                        : QPixmap(set().imageWidth, set().imageHeight);
    if (!set().images.contains(set().patternSlot(pressIndex)))
        picture.fill(Qt::black);
    auto* drag = new QDrag(this);
    drag->setMimeData(selectionMimeData());
    drag->setPixmap(picture.scaled(picture.size() * zoom));
    drag->setHotSpot(QPoint(int(4 * zoom), int(4 * zoom)));
    drag->exec(Qt::MoveAction);
}

void ImageListPane::updateStatus()
{
    const int hover = scene->hoverIndex();
    lblImagesStatus->setText(QStringLiteral("| %1: %2 | Selected: %3 | Zoom: %4%")
                                 .arg(Imageset::kindWord(set().type))
                                 .arg(hover >= 0 ? QStringLiteral("%1").arg(hover, 5) : QStringLiteral("---"))
                                 .arg(currentSelection.indexes.size())
                                 .arg(QString::number(imagesGV->zoomFactor() * 100, 'g', 6)));
    swatches->show(set(), hover);
}
