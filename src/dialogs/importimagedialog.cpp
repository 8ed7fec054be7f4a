#include "dialogs/importimagedialog.h"

#include "convert/ditherlut.h"
#include "views/elidedlabel.h"
#include "views/iconbutton.h"
#include "views/imagedrawer.h"
#include "views/palettecombobox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using PicturePreparation::Settings;

namespace {

QSpinBox* makeSpin(const QString& name, int minimum, int maximum, int step = 1)
{
    auto* spin = new QSpinBox;
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    spin->setSingleStep(step);
    return spin;
}

// The palette look-up of the program's tables; without tables (they are
// made at start-up) each colour is matched directly.
PicturePreparation::Nearest nearestIn(int colorSpace)
{
    const auto space = DitherLut::ColorSpace(colorSpace == DitherLut::Ciede2000 ? DitherLut::Ciede2000 : DitherLut::Rgb);
    if (const quint8* table = DitherLut::current().table(space))
        return [table](QRgb color) { return int(table[color & 0xFFFFFF]); };
    return [space](QRgb color) { return ColorMatch::nearest(ColorMatch::Space(space), Palette::current(), color); };
}

}

bool ImportImage::ReductionKey::operator==(const ReductionKey& other) const
{
    return brightness == other.brightness && contrast == other.contrast && gamma == other.gamma
        && saturation == other.saturation && strength == other.strength && colorSpace == other.colorSpace;
}

ImportImage::ImportImage(const QImage& source, const PictureConversion::Setup& setup, const Settings& settings,
                         QWidget* parent)
    : QDialog(parent)
    , source(source.convertToFormat(QImage::Format_RGB32))
    , setup(setup)
    , cell(setup.cellSize())
    , renderTimer(new QTimer(this))
    , chkShowFullColors(new QCheckBox(QStringLiteral("Show full colors")))
    , chkPutInEditor(new QCheckBox(QStringLiteral("Put the imported elements in the editor")))
    , lblImage(new ImageDrawer)
    , lblStatus(new ElidedLabel)
    , spinBrightness(makeSpin(QStringLiteral("spinBrightness"), -1000, 1000))
    , spinContrast(makeSpin(QStringLiteral("spinContrast"), 0, 1000))
    , spinGamma(makeSpin(QStringLiteral("spinGamma"), 1, 1000))
    , spinSaturation(makeSpin(QStringLiteral("spinSaturation"), -100, 100))
    , spinDitherStrength(makeSpin(QStringLiteral("spinDitherStrength"), 1, 10000, 2))
    , cbxColSpace(new QComboBox)
    , cbxDitherMethod(new QComboBox)
{
    setObjectName(QStringLiteral("ImportImageDialog"));
    setWindowTitle(QStringLiteral("Import image"));
    resize(820, 540);
    chkShowFullColors->setObjectName(QStringLiteral("chkShowFullColors"));
    chkPutInEditor->setObjectName(QStringLiteral("chkPutInEditor"));
    lblImage->setObjectName(QStringLiteral("lblImage"));
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setFont(QFont(QStringLiteral("monospace")));
    cbxColSpace->setObjectName(QStringLiteral("cbxColSpace"));
    cbxDitherMethod->setObjectName(QStringLiteral("cbxDitherMethod"));
    renderTimer->setSingleShot(true);
    renderTimer->setInterval(0);

    auto* imageGroup = new QGroupBox(QStringLiteral("Image"));
    auto* imageLayout = new QVBoxLayout(imageGroup);
    imageLayout->addWidget(chkShowFullColors);
    imageLayout->addWidget(lblImage, 1);

    // The colour boxes: the sixteen colours and "(Auto)". The foreground of
    // a multicolour character set offers the eight colours its code 11 can
    // show; the conversion stores them with the multicolour mark.
    const bool ecm = setup.ecm();
    const bool blocks = setup.type == Imageset::Blockset;
    const struct {
        const char* name;
        const char* pickName;
        const char* label;
        void (ImportImage::*pick)();
        bool shown;
    } rows[boxCount] = {
        {"cbxBckgnd", "btnPickBckgnd", ecm ? "Bckgnd 0:" : "Background:", &ImportImage::pickBckgnd, true},
        {"cbxMulti1", "btnPickMulti1", ecm ? "Bckgnd 1:" : "Multi 1:", &ImportImage::pickMulti1, setup.multiColor() || ecm},
        {"cbxMulti2", "btnPickMulti2", ecm ? "Bckgnd 2:" : "Multi 2:", &ImportImage::pickMulti2, setup.multiColor() || ecm},
        {"cbxBckgnd3", "btnPickBckgnd3", "Bckgnd 3:", &ImportImage::pickBckgnd3, ecm},
        {"cbxForegnd", "btnPickForegnd", "Foreground:", &ImportImage::pickForegnd, true},
    };
    auto* optionsGroup = new QGroupBox(QStringLiteral("Options"));
    auto* options = new QGridLayout(optionsGroup);
    int line = 0;
    for (int box = 0; box < boxCount; ++box) {
        auto* combo = new PaletteComboBox;
        combo->setObjectName(QLatin1String(rows[box].name));
        if (box == Foreground && setup.type == Imageset::Charset && setup.multiColor()) {
            while (combo->count() > 8)
                combo->removeItem(8);
        }
        combo->addItem(QStringLiteral("(Auto)"));
        combo->setMaxVisibleItems(combo->count());
        boxes[size_t(box)] = combo;
        QToolButton* pick = makeIconButton(QLatin1String(rows[box].pickName), QStringLiteral("ColorPicker"),
                                           QStringLiteral("Pick color"));
        connect(pick, &QToolButton::clicked, this, rows[box].pick);
        if (box == Background3 && blocks) {
            // Block sets have no fourth background at all.
            combo->setParent(this);
            combo->hide();
            pick->setParent(this);
            pick->hide();
            continue;
        }
        auto* label = new QLabel(QLatin1String(rows[box].label));
        options->addWidget(label, line, 0);
        options->addWidget(combo, line, 1);
        options->addWidget(pick, line, 2);
        for (QWidget* widget : {static_cast<QWidget*>(label), static_cast<QWidget*>(combo), static_cast<QWidget*>(pick)})
            widget->setVisible(rows[box].shown);
        ++line;
    }
    const struct {
        const char* label;
        QSpinBox* spin;
    } adjustments[] = {{"Brightness:", spinBrightness}, {"Contrast:", spinContrast}, {"Gamma:", spinGamma},
                       {"Saturation:", spinSaturation}};
    for (const auto& adjustment : adjustments) {
        options->addWidget(new QLabel(QLatin1String(adjustment.label)), line, 0);
        options->addWidget(adjustment.spin, line++, 1, 1, 2);
    }
    cbxColSpace->addItems({QStringLiteral("RGB"), QStringLiteral("CIEDE2000")});
    options->addWidget(new QLabel(QStringLiteral("Color space:")), line, 0);
    options->addWidget(cbxColSpace, line++, 1, 1, 2);
    // The box's own text says it all; beside a row label it would leave the
    // preview too narrow.
    options->addWidget(chkPutInEditor, line++, 0, 1, 3);
    options->setRowStretch(line, 1);

    auto* ditherGroup = new QGroupBox(QStringLiteral("Dithering"));
    auto* dithering = new QFormLayout(ditherGroup);
    cbxDitherMethod->addItems({QStringLiteral("None"), QStringLiteral("Floyd-Steinberg")});
    dithering->addRow(QStringLiteral("Method:"), cbxDitherMethod);
    dithering->addRow(QStringLiteral("Strength:"), spinDitherStrength);

    auto* buttons = new QDialogButtonBox;
    QPushButton* okButton = buttons->addButton(QStringLiteral("Import"), QDialogButtonBox::AcceptRole);
    QPushButton* cancelButton = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    okButton->setObjectName(QStringLiteral("okButton"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    okButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addWidget(optionsGroup, 1);
    side->addWidget(ditherGroup);
    side->addWidget(buttons);
    // The status line runs under the whole dialog, where all of it fits.
    auto* layout = new QGridLayout(this);
    layout->addWidget(imageGroup, 0, 0);
    layout->addLayout(side, 0, 1);
    layout->addWidget(lblStatus, 1, 0, 1, 2);
    layout->setColumnStretch(0, 1);

    // The settings, then the signals, so that applying them renders once.
    chkShowFullColors->setChecked(settings.showFullColors);
    chkPutInEditor->setChecked(settings.putInEditor);
    const int indexes[boxCount] = {settings.backgroundIndex, settings.multi1Index, settings.multi2Index,
                                   settings.background3Index, settings.foregroundIndex};
    for (int box = 0; box < boxCount; ++box) {
        QComboBox* combo = boxes[size_t(box)];
        combo->setCurrentIndex(qBound(0, indexes[box], combo->count() - 1));
    }
    spinBrightness->setValue(settings.brightness);
    spinContrast->setValue(settings.contrast);
    spinGamma->setValue(settings.gamma);
    spinSaturation->setValue(settings.saturation);
    spinDitherStrength->setValue(settings.ditherStrength);
    cbxColSpace->setCurrentIndex(qBound(0, settings.colorSpace, 1));
    cbxDitherMethod->setCurrentIndex(qBound(0, settings.ditherMethod, 1));
    spinDitherStrength->setEnabled(false);

    connect(renderTimer, &QTimer::timeout, this, &ImportImage::render);
    connect(chkShowFullColors, &QCheckBox::stateChanged, this, &ImportImage::renderImage);
    for (QSpinBox* spin : {spinBrightness, spinContrast, spinGamma, spinSaturation, spinDitherStrength})
        connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), this, &ImportImage::renderImage);
    connect(cbxColSpace, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ImportImage::renderImage);
    connect(cbxDitherMethod, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ImportImage::ditheringMethodChanged);
    connect(lblImage, &ImageDrawer::hovered, this, &ImportImage::showStatus);
    connect(lblImage, &ImageDrawer::clicked, this, &ImportImage::picked);

    render();
    showStatus(QPoint(-1, -1));
}

Settings ImportImage::settings() const
{
    Settings settings;
    settings.showFullColors = chkShowFullColors->isChecked();
    settings.putInEditor = chkPutInEditor->isChecked();
    settings.backgroundIndex = boxes[Background]->currentIndex();
    settings.multi1Index = boxes[Multi1]->currentIndex();
    settings.multi2Index = boxes[Multi2]->currentIndex();
    settings.background3Index = boxes[Background3]->currentIndex();
    settings.foregroundIndex = boxes[Foreground]->currentIndex();
    settings.brightness = spinBrightness->value();
    settings.contrast = spinContrast->value();
    settings.gamma = spinGamma->value();
    settings.saturation = spinSaturation->value();
    settings.ditherStrength = spinDitherStrength->value();
    settings.colorSpace = cbxColSpace->currentIndex();
    settings.ditherMethod = cbxDitherMethod->currentIndex();
    return settings;
}

QImage ImportImage::outputPicture()
{
    refresh(true);
    return output;
}

PictureConversion::Setup ImportImage::conversionSetup() const
{
    PictureConversion::Setup result = setup;
    PictureConversion::Range* ranges[boxCount] = {&result.background, &result.multi1, &result.multi2,
                                                  &result.background3, &result.foreground};
    for (int box = 0; box < boxCount; ++box) {
        const QComboBox* combo = boxes[size_t(box)];
        const int autoItem = combo->count() - 1;
        *ranges[box] = combo->currentIndex() >= autoItem ? PictureConversion::Range {0, autoItem - 1}
                                                           : PictureConversion::Range::single(combo->currentIndex());
    }
    return result;
}

QString ImportImage::statusText() const
{
    return lblStatus->text();
}

QImage ImportImage::previewPicture() const
{
    return lblImage->image();
}

void ImportImage::renderImage()
{
    renderTimer->start();
}

void ImportImage::ditheringMethodChanged()
{
    // No method offered so far has a strength.
    spinDitherStrength->setEnabled(cbxDitherMethod->currentIndex() == 2);
    hasReduction = false;
    renderImage();
}

ImportImage::ReductionKey ImportImage::currentKey() const
{
    return {spinBrightness->value(), spinContrast->value(),       spinGamma->value(),
            spinSaturation->value(), spinDitherStrength->value(), cbxColSpace->currentIndex()};
}

void ImportImage::render()
{
    const bool fullColors = chkShowFullColors->isChecked();
    refresh(!fullColors);
    lblImage->setImage(fullColors ? adjusted : output);
}

void ImportImage::refresh(bool reduced)
{
    const ReductionKey key = currentKey();
    // The strength and the colour space do not change the adjusted colours.
    const ReductionKey adjustment {key.brightness, key.contrast, key.gamma, key.saturation, 0, 0};
    if (adjusted.isNull() || !(adjustment == adjustedFor)) {
        adjusted = PicturePreparation::adjust(source, settings(), setup.widePixels());
        adjustedFor = adjustment;
    }
    if (!reduced || (hasReduction && key == lastKey))
        return;
    output = PicturePreparation::reduce(adjusted, PicturePreparation::Method(cbxDitherMethod->currentIndex()),
                                        setup.widePixels(), Palette::current(), nearestIn(cbxColSpace->currentIndex()));
    lastKey = key;
    hasReduction = true;
}

void ImportImage::showStatus(const QPoint& point)
{
    const QString none = QStringLiteral("---");
    QString x = none, y = none, color = none;
    if (point.x() >= 0 && hasReduction && output.valid(point)) {
        const QRgb shown = adjusted.pixel(point);
        x = QStringLiteral("%1").arg(point.x(), 3);
        y = QStringLiteral("%1").arg(point.y(), 3);
        color = QStringLiteral("%1 (R: %2, G: %3, B: %4)")
                    .arg(output.pixelIndex(point), 2)
                    .arg(qRed(shown), 3)
                    .arg(qGreen(shown), 3)
                    .arg(qBlue(shown), 3);
    }
    lblStatus->setText(QStringLiteral("Projected size: (%1 x %2) | x: %3, y: %4, col: %5")
                           .arg(source.width() / cell.width())
                           .arg(source.height() / cell.height())
                           .arg(x, y, color));
}

void ImportImage::armPicking(Box box)
{
    armedBox = box;
    lblImage->setCursor(colorPickerCursor());
}

void ImportImage::picked(const QPoint& point, Qt::MouseButton button)
{
    if (armedBox < 0)
        return;
    if (button == Qt::RightButton) {
        armedBox = -1;
        lblImage->unsetCursor();
        return;
    }
    if (button != Qt::LeftButton || point.x() < 0 || !hasReduction || !output.valid(point))
        return;
    // A colour the box does not offer leaves it, and picking, as they were.
    QComboBox* combo = boxes[size_t(armedBox)];
    const int color = output.pixelIndex(point);
    if (color >= combo->count() - 1)
        return;
    combo->setCurrentIndex(color);
    armedBox = -1;
    lblImage->unsetCursor();
}
