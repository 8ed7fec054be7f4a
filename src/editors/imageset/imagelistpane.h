#pragma once

#include "editing/slotselection.h"
#include "model/imagesetdocument.h"

#include <QWidget>

class CustomSpinBox;
class ElidedLabel;
class ImageListScene;
class SlotSwatches;
class QGraphicsViewZoomable;
class QMimeData;
class QMouseEvent;
class QPushButton;
class QToolButton;

// The left pane of the image-set editor: the list of all slots, where the
// user hovers, selects and drags images, with the list's grid controls, the
// colour swatches of the hovered slot and a status line.
class ImageListPane : public QWidget {
    Q_OBJECT

public:
    // The pane shows the document's current state and follows its changes.
    explicit ImageListPane(const ImagesetDocument* document, QWidget* parent = nullptr);

    // Shows the current state anew, which may have changed in any way: its
    // pictures are rendered again.
    void showCurrent();

    const SlotSelection& selection() const { return currentSelection; }
    void setSelection(const SlotSelection& selection);
    int hoverIndex() const;
    double zoom() const;
    void setZoom(double zoom);
    bool gridVisible() const;
    void setGridVisible(bool visible);
    QPoint gridSize() const;

    // The data a drag of the selection carries.
    QMimeData* selectionMimeData() const;

    QGraphicsViewZoomable* view() const { return imagesGV; }
    QPushButton* saveButton() const { return btnSave; }
    QToolButton* copyButton() const { return btnCopy; }
    QToolButton* cutButton() const { return btnCut; }
    QToolButton* statisticsButton() const { return btnShowStats; }

signals:
    void selectionChanged();
    void gridResized(int columns, int rows);
    // Right click on the list; the slot under the mouse or -1.
    void menuRequested(const QPoint& globalPosition, int hoverSlot);

private slots:
    void mousePressImagesGV(QMouseEvent* event);
    void mouseMoveImagesGV(QMouseEvent* event);

private:
    void updateStatus();
    void startDrag();

    const Imageset& set() const { return document->current(); }

    const ImagesetDocument* document;
    SlotSelection currentSelection;
    int pressIndex = -1;
    QPoint pressPos;

    ImageListScene* scene;
    QGraphicsViewZoomable* imagesGV;
    QPushButton* btnSave;
    QPushButton* btnSelectorGrid;
    QToolButton* btnCopy;
    QToolButton* btnCut;
    QToolButton* btnShowStats;
    CustomSpinBox* spinBoxSelectorGridSizeX;
    CustomSpinBox* spinBoxSelectorGridSizeY;
    SlotSwatches* swatches;
    ElidedLabel* lblImagesStatus;
};
