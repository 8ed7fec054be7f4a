#pragma once

#include "editing/slotselection.h"
#include "model/imageset.h"

#include <QWidget>

class CustomSpinBox;
class ImageListScene;
class QFrame;
class QGraphicsViewZoomable;
class QLabel;
class QMimeData;
class QMouseEvent;
class QPushButton;

// The left pane of the image-set editor: the list of all slots, where the
// user hovers, selects and drags images, with the list's grid controls, the
// colour swatches of the hovered slot and a status line.
class ImageListPane : public QWidget {
    Q_OBJECT

public:
    explicit ImageListPane(Imageset::Type setType, QWidget* parent = nullptr);

    // Shows the set (the editor's current state, which may have changed in
    // any way: its pictures are rendered anew); the pane keeps a pointer.
    void setImageset(const Imageset* set);
    void refresh();

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
    void showSwatch(QFrame* frame, QLabel* label, int colorIndex, const QString& text);

    const Imageset::Type setType;
    const Imageset* set = nullptr;
    SlotSelection currentSelection;
    int pressIndex = -1;
    QPoint pressPos;

    ImageListScene* scene;
    QGraphicsViewZoomable* imagesGV;
    QPushButton* btnSave;
    QPushButton* btnSelectorGrid;
    CustomSpinBox* spinBoxSelectorGridSizeX;
    CustomSpinBox* spinBoxSelectorGridSizeY;
    QFrame* frameImagesBackgndColor;
    QFrame* frameImagesMulti1;
    QFrame* frameImagesMulti2;
    QFrame* frameImagesForegndColor;
    QLabel* lblImagesBackcolor;
    QLabel* lblImagesMulti1;
    QLabel* lblImagesMulti2;
    QLabel* lblImagesForecolor;
    QLabel* lblRomChar;
    QLabel* lblImagesStatus;
};
