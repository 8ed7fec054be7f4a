#include "editors/imageset/imagelistpane.h"

#include "editors/imageset/imagelistscene.h"
#include "model/charrom.h"
#include "model/palette.h"
#include "views/customspinbox.h"
#include "views/elidedlabel.h"
#include "views/qgraphicsviewzoomable.h"

#include <QApplication>
#include <QDrag>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>

namespace {
QFrame* makeSwatch(const QString& name)
{
    auto* frame = new QFrame;
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::Box);
    frame->setFixedSize(16, 16);
    return frame;
}

QLabel* makeLabel(const QString& name)
{
    auto* label = new QLabel;
    label->setObjectName(name);
    return label;
}

// A character of the ROM's first set as the machine draws it: set bits in
// grey (colour 12) on a transparent ground, doubled to 16 x 16.
QPixmap romGlyph(int character)
{
    const QByteArray rows = CharRom::character(0, character);
    QImage glyph(8, 8, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (quint8(rows.at(y)) & (0x80 >> x))
                glyph.setPixel(x, y, Palette::color(12));
        }
    }
    return QPixmap::fromImage(glyph.scaled(16, 16));
}
}

ImageListPane::ImageListPane(const ImagesetDocument* document, QWidget* parent)
    : QWidget(parent)
    , document(document)
    , scene(new ImageListScene(document, this))
    , imagesGV(new QGraphicsViewZoomable)
    , btnSave(new QPushButton(QStringLiteral("Save")))
    , btnSelectorGrid(new QPushButton(QStringLiteral("Grid")))
    , spinBoxSelectorGridSizeX(new CustomSpinBox)
    , spinBoxSelectorGridSizeY(new CustomSpinBox)
    , frameImagesBackgndColor(makeSwatch(QStringLiteral("frameImagesBackgndColor")))
    , frameImagesMulti1(makeSwatch(QStringLiteral("frameImagesMulti1")))
    , frameImagesMulti2(makeSwatch(QStringLiteral("frameImagesMulti2")))
    , frameImagesForegndColor(makeSwatch(QStringLiteral("frameImagesForegndColor")))
    , lblImagesBackcolor(makeLabel(QStringLiteral("lblImagesBackcolor")))
    , lblImagesMulti1(makeLabel(QStringLiteral("lblImagesMulti1")))
    , lblImagesMulti2(makeLabel(QStringLiteral("lblImagesMulti2")))
    , lblImagesForecolor(makeLabel(QStringLiteral("lblImagesForecolor")))
    , lblRomChar(makeLabel(QStringLiteral("lblRomChar")))
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
    lblRomChar->setFixedSize(16, 16);
    lblRomChar->setVisible(set().type == Imageset::Charset);

    // Two short rows rather than one long one, so that the pane stays
    // readable in narrow windows.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnSave);
    buttons->addWidget(btnSelectorGrid);
    buttons->addStretch();
    auto* gridSize = new QHBoxLayout;
    gridSize->addWidget(new QLabel(QStringLiteral("Grid size X:")));
    gridSize->addWidget(spinBoxSelectorGridSizeX);
    gridSize->addWidget(new QLabel(QStringLiteral("Y:")));
    gridSize->addWidget(spinBoxSelectorGridSizeY);
    gridSize->addStretch();

    auto* swatches = new QHBoxLayout;
    const std::pair<QFrame*, QLabel*> pairs[] = {{frameImagesBackgndColor, lblImagesBackcolor},
                                                 {frameImagesMulti1, lblImagesMulti1},
                                                 {frameImagesMulti2, lblImagesMulti2},
                                                 {frameImagesForegndColor, lblImagesForecolor}};
    // The fields keep their width whatever number they show, so that the
    // swatches after them stay in place.
    for (const auto& [frame, label] : pairs) {
        const bool foreground = label == lblImagesForecolor;
        const QFontMetrics metrics = label->fontMetrics();
        label->setFixedWidth(foreground ? qMax(metrics.horizontalAdvance(QStringLiteral("15 (Multi)")),
                                               metrics.horizontalAdvance(QStringLiteral("15 (Mono)")))
                                        : metrics.horizontalAdvance(QStringLiteral("15")));
        swatches->addWidget(frame);
        swatches->addWidget(label);
    }
    swatches->addWidget(lblRomChar);
    swatches->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(gridSize);
    layout->addWidget(imagesGV, 1);
    layout->addLayout(swatches);
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
    connect(document, &Document::changed, this, &ImageListPane::showCurrent);
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

void ImageListPane::showSwatch(QFrame* frame, QLabel* label, int colorIndex, const QString& text)
{
    if (colorIndex < 0) {
        frame->setStyleSheet(QStringLiteral("background-color: transparent"));
        label->setText(QStringLiteral("--"));
        return;
    }
    const QColor color = QColor::fromRgb(Palette::color(colorIndex));
    frame->setStyleSheet(
        QStringLiteral("background-color: rgb(%1, %2, %3)").arg(color.red()).arg(color.green()).arg(color.blue()));
    label->setText(text);
}

void ImageListPane::updateStatus()
{
    const int hover = scene->hoverIndex();
    lblImagesStatus->setText(QStringLiteral("| %1: %2 | Selected: %3 | Zoom: %4%")
                                 .arg(Imageset::kindWord(set().type))
                                 .arg(hover >= 0 ? QStringLiteral("%1").arg(hover, 5) : QStringLiteral("---"))
                                 .arg(currentSelection.indexes.size())
                                 .arg(QString::number(imagesGV->zoomFactor() * 100, 'g', 6)));
    if (hover < 0) {
        for (const auto& [frame, label] : {std::pair<QFrame*, QLabel*>(frameImagesBackgndColor, lblImagesBackcolor),
                                           {frameImagesMulti1, lblImagesMulti1},
                                           {frameImagesMulti2, lblImagesMulti2},
                                           {frameImagesForegndColor, lblImagesForecolor}})
            showSwatch(frame, label, -1, QString());
        lblRomChar->clear();
        return;
    }
    const std::array<int, 4> colors = set().colorsFor(hover);
    showSwatch(frameImagesBackgndColor, lblImagesBackcolor, colors[0], QString::number(colors[0]));
    showSwatch(frameImagesMulti1, lblImagesMulti1, colors[1], QString::number(colors[1]));
    showSwatch(frameImagesMulti2, lblImagesMulti2, colors[2], QString::number(colors[2]));
    const int imageColor = set().imageColor(hover);
    if (set().type == Imageset::Charset && set().mode == Imageset::MCM) {
        // The colour RAM's top bit only marks the character multicolour.
        showSwatch(frameImagesForegndColor, lblImagesForecolor, imageColor & 7,
                   QStringLiteral("%1%2").arg(imageColor).arg(set().isMultiColorImage(hover) ? QStringLiteral(" (Multi)")
                                                                                           : QStringLiteral(" (Mono)")));
    } else {
        showSwatch(frameImagesForegndColor, lblImagesForecolor, imageColor, QString::number(imageColor));
    }
    if (set().type == Imageset::Charset)
        lblRomChar->setPixmap(romGlyph(hover));
}
