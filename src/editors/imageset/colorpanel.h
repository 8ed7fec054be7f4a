#pragma once

#include "model/imagesetdocument.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class PaletteComboBox;

// The colours of an image set and the pixel codes the mouse buttons draw
// with: one row per colour source (background, multicolour 1 and 2,
// foreground, and the fourth background of extended background colour mode),
// each with a palette choice and a radio button for the left and the right
// mouse button, plus the mode buttons. The button ids are the pixel codes.
class ColorPanel : public QWidget {
    Q_OBJECT

public:
    // The panel shows the document's current state and follows its changes.
    explicit ColorPanel(const ImagesetDocument* document, QWidget* parent = nullptr);

    // The slots selected in the image list; the panel shows the colours and
    // mode as they apply to them (the first of them for per-slot colours).
    void setSelection(const QList<int>& selection);
    // Shows the current state anew, also after a choice that changed nothing.
    void showCurrent();

    // The pixel codes the left and right mouse buttons draw with.
    int leftCode() const;
    int rightCode() const;
    // "Use dithering": the left button draws a dither pattern.
    bool dithering() const;
    // Chooses the code for a mouse button, as the colour pick does.
    void pickCode(Qt::MouseButton button, int code);

signals:
    void multiColor00Chosen(int colorIndex);
    void multiColor01Chosen(int colorIndex);
    void multiColor10Chosen(int colorIndex);
    void bckgnd3Chosen(int colorIndex);
    void imageColorChosen(int colorIndex);
    // The mode buttons: SCM ("Mono"), MCM ("Multi") or ECM.
    void modeChosen(Imageset::Mode mode);
    void swapColorsChosen();

private:
    void setDrawingChoice(bool multiColor);

    const ImagesetDocument* document;
    QList<int> selection;
    QButtonGroup* buttonGroupLeft;
    QButtonGroup* buttonGroupRight;
    QList<QLabel*> rowLabels;
    PaletteComboBox* cbxCol00;
    PaletteComboBox* cbxCol01;
    PaletteComboBox* cbxCol10;
    PaletteComboBox* cbxCol11;
    PaletteComboBox* cbxBckgnd3;
    QRadioButton* radioLBckgnd3;
    QRadioButton* radioRBckgnd3;
    QLabel* labelBckgnd3;
    QRadioButton* radioSCM;
    QRadioButton* radioMCM;
    QRadioButton* radioECM;
    QCheckBox* chkMixColors;
    QPushButton* btnSwapColors;
};
