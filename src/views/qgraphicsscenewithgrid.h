#pragma once

#include <QColor>
#include <QGraphicsScene>
#include <QImage>
#include <QLine>
#include <QRect>
#include <QRectF>
#include <QRegion>
#include <QVector>

#include <functional>

// The editing area of the image-set editor. Around the pixel items the editor
// adds, the scene paints the background colour and an optional reference
// image behind them, and in front of them the reference image (when set in
// front), the pixel grid, the image grid, the selection outlines, the hover
// frame and the reference image's frame while its tool is active.
//
// Scene units: one hi-res pixel is 2 x 2 units, so a multicolour pixel is 4
// units wide. Grid cell (col, row) covers x from 2 * col * imageWidth to
// 2 * (col + 1) * imageWidth and y from 2 * row * imageHeight to
// 2 * (row + 1) * imageHeight.
//
// The scene knows nothing of the editor: the editor hands it the state below
// through the setters, each of which schedules a repaint. Lines are drawn
// 1 / viewZoom units wide, so the editor passes on the zoom of the view the
// scene is shown in (setViewZoom, e.g. from QGraphicsViewZoomable::zoomChanged).
class QGraphicsSceneWithGrid : public QGraphicsScene {
    Q_OBJECT
public:
    // What the current layer shows in a grid cell.
    enum CellMode { NoSlot = -1, HiResCell = 0, MultiColorCell = 1 };
    // Answers a CellMode for a cell; decides where the pixel grid is drawn
    // and how wide its columns are.
    using CellModeFunction = std::function<int(int col, int row)>;

    explicit QGraphicsSceneWithGrid(QObject* parent = nullptr);

    // Fills everything behind the pixels (black initially).
    QColor backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const QColor& color);

    // The reference image, drawn scaled into its rectangle; a null image
    // means there is none. It lies behind the pixels unless set in front,
    // and while its tool is active a white frame marks its rectangle.
    const QImage& referenceImage() const { return referenceImage_; }
    void setReferenceImage(const QImage& image);
    QRectF referenceRect() const { return referenceRect_; }
    void setReferenceRect(const QRectF& rect);
    bool isReferenceInFront() const { return referenceInFront; }
    void setReferenceInFront(bool inFront);
    bool isReferenceToolActive() const { return referenceToolActive; }
    void setReferenceToolActive(bool active);

    // The size of one image in hi-res pixels (8 x 8 initially) and the number
    // of grid cells (1 x 1 initially).
    int imageWidth() const { return imageWidth_; }
    int imageHeight() const { return imageHeight_; }
    void setImageSize(int width, int height);
    int gridCols() const { return gridCols_; }
    int gridRows() const { return gridRows_; }
    void setGridSize(int cols, int rows);
    // Without a function every cell counts as NoSlot.
    void setCellMode(const CellModeFunction& function);

    // The pixel grid: pixel boundaries inside every cell that has a slot.
    bool isPixelsGridVisible() const { return pixelsGridVisible; }
    void setPixelsGridVisible(bool visible);
    QColor pixelsGridColor() const { return pixelsGridColor_; }
    void setPixelsGridColor(const QColor& color);
    // The image grid: the cell boundaries. The outer frame of the whole grid
    // is drawn in imagesGridColor even while the image grid is hidden.
    bool isImagesGridVisible() const { return imagesGridVisible; }
    void setImagesGridVisible(bool visible);
    QColor imagesGridColor() const { return imagesGridColor_; }
    void setImagesGridColor(const QColor& color);

    // The committed selection in scene units; its outline is computed here,
    // once per change, not on every paint.
    const QRegion& selection() const { return selection_; }
    const QVector<QLine>& selectionOutline() const { return selectionOutline_; }
    void setSelection(const QRegion& region);
    // A selection a tool is still building; its outline is computed while
    // painting.
    const QRegion& pendingRegion() const { return pendingRegion_; }
    void setPendingRegion(const QRegion& region);

    // The cell under the mouse, framed in white; (-1, -1) for none.
    int hoverCol() const { return hoverCol_; }
    int hoverRow() const { return hoverRow_; }
    void setHoverCell(int col, int row);

    // The zoom factor of the view showing the scene (1.0 initially).
    double viewZoom() const { return viewZoom_; }
    void setViewZoom(double zoomFactor);

    // Scene rectangles of one cell and of the whole grid.
    QRect cellRect(int col, int row) const;
    QRect gridRect() const;

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    QVector<QLine> pixelsGridLines(const QRectF& exposed) const;
    QVector<QLine> imagesGridLines() const;
    void drawOutline(QPainter* painter, const QVector<QLine>& allLines, const QRectF& exposed) const;

    QColor backgroundColor_ = Qt::black;
    QImage referenceImage_;
    QRectF referenceRect_;
    bool referenceInFront = false;
    bool referenceToolActive = false;
    int imageWidth_ = 8;
    int imageHeight_ = 8;
    int gridCols_ = 1;
    int gridRows_ = 1;
    CellModeFunction cellModeOf;
    bool pixelsGridVisible = false;
    QColor pixelsGridColor_ = Qt::gray;
    bool imagesGridVisible = false;
    QColor imagesGridColor_ = Qt::white;
    QRegion selection_;
    QVector<QLine> selectionOutline_;
    QRegion pendingRegion_;
    int hoverCol_ = -1;
    int hoverRow_ = -1;
    double viewZoom_ = 1.0;
};
