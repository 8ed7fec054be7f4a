#pragma once

#include "convert/pictureconversion.h"
#include "convert/picturepreparation.h"

#include <QDialog>
#include <QImage>

#include <array>

class ImageDrawer;
class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QTimer;

// "Import image": the picture adjusted and reduced to the palette, live,
// with the colour choices for the conversion. The result is the reduced
// picture and the colour ranges of the boxes.
class ImportImage : public QDialog {
    Q_OBJECT

public:
    // source: the picture already fitted to the targets; setup: the kind of
    // images made (its ranges are ignored, the boxes give them).
    ImportImage(const QImage& source, const PictureConversion::Setup& setup,
                const PicturePreparation::Settings& settings, QWidget* parent = nullptr);

    PicturePreparation::Settings settings() const;
    // The picture the conversion starts from: reduced with the current
    // settings, also when the full colours are shown.
    QImage outputPicture();
    // The setup with the ranges of the colour boxes: "(Auto)" every colour
    // the box offers, any other item that colour alone.
    PictureConversion::Setup conversionSetup() const;
    QString statusText() const;
    // The picture shown in the preview.
    QImage previewPicture() const;

public slots:
    void pickBckgnd() { armPicking(Background); }
    void pickMulti1() { armPicking(Multi1); }
    void pickMulti2() { armPicking(Multi2); }
    void pickBckgnd3() { armPicking(Background3); }
    void pickForegnd() { armPicking(Foreground); }
    // Asks for the preview to be made again, once for any number of
    // changes within one turn of the event loop.
    void renderImage();
    void ditheringMethodChanged();

private:
    enum Box { Background, Multi1, Multi2, Background3, Foreground, boxCount };

    // What a reduction depends on besides the method.
    struct ReductionKey {
        int brightness, contrast, gamma, saturation, strength, colorSpace;
        bool operator==(const ReductionKey& other) const;
    };

    void render();
    // Adjusts the picture again when the settings changed since, and with
    // reduced set reduces it again when they changed since the last
    // reduction or the method changed.
    void refresh(bool reduced);
    ReductionKey currentKey() const;
    void armPicking(Box box);
    void showStatus(const QPoint& picturePoint);
    void picked(const QPoint& picturePoint, Qt::MouseButton button);

    QImage source;
    PictureConversion::Setup setup;
    QSize cell;
    QImage adjusted;
    QImage output;
    bool hasReduction = false;
    ReductionKey lastKey {};
    ReductionKey adjustedFor {};
    int armedBox = -1;
    QTimer* renderTimer;

    QCheckBox* chkShowFullColors;
    QCheckBox* chkPutInEditor;
    ImageDrawer* lblImage;
    QLabel* lblStatus;
    std::array<QComboBox*, boxCount> boxes {};
    QSpinBox* spinBrightness;
    QSpinBox* spinContrast;
    QSpinBox* spinGamma;
    QSpinBox* spinSaturation;
    QSpinBox* spinDitherStrength;
    QComboBox* cbxColSpace;
    QComboBox* cbxDitherMethod;
};
