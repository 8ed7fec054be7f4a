#include "editors/imageset/colorpanel.h"

#include "views/palettecombobox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {
// The fourth background of extended background colour mode has no pixel
// code; its radio buttons draw with code 0 of the characters 192-255.
constexpr int bckgnd3Id = 4;

QRadioButton* makeRadio(const QString& name)
{
    auto* radio = new QRadioButton;
    radio->setObjectName(name);
    return radio;
}

PaletteComboBox* makeCombo(const QString& name)
{
    auto* combo = new PaletteComboBox;
    combo->setObjectName(name);
    return combo;
}
}

ColorPanel::ColorPanel(const ImagesetDocument* document, QWidget* parent)
    : QWidget(parent)
    , document(document)
    , buttonGroupLeft(new QButtonGroup(this))
    , buttonGroupRight(new QButtonGroup(this))
    , cbxCol00(makeCombo(QStringLiteral("cbxCol00")))
    , cbxCol01(makeCombo(QStringLiteral("cbxCol01")))
    , cbxCol10(makeCombo(QStringLiteral("cbxCol10")))
    , cbxCol11(makeCombo(QStringLiteral("cbxCol11")))
    , cbxBckgnd3(makeCombo(QStringLiteral("cbxBckgnd3")))
    , radioLBckgnd3(makeRadio(QStringLiteral("radioLBckgnd3")))
    , radioRBckgnd3(makeRadio(QStringLiteral("radioRBckgnd3")))
    , labelBckgnd3(new QLabel(QStringLiteral("Bckgnd 3:")))
    , radioSCM(makeRadio(QStringLiteral("radioSCM")))
    , radioMCM(makeRadio(QStringLiteral("radioMCM")))
    , radioECM(makeRadio(QStringLiteral("radioECM")))
    , chkMixColors(new QCheckBox(QStringLiteral("Use dithering")))
    , btnSwapColors(new QPushButton(QStringLiteral("Swap colors")))
{
    btnSwapColors->setObjectName(QStringLiteral("btnSwapColors"));
    btnSwapColors->setToolTip(QStringLiteral("Swap colors"));
    chkMixColors->setObjectName(QStringLiteral("chkMixColors"));
    chkMixColors->setToolTip(QStringLiteral("Use both foreground and background colors in a dither pattern."));
    buttonGroupLeft->setObjectName(QStringLiteral("buttonGroupLeft"));
    buttonGroupRight->setObjectName(QStringLiteral("buttonGroupRight"));
    labelBckgnd3->setObjectName(QStringLiteral("labelBckgnd3"));

    // A sprite's code 10 shows its own colour and code 11 "Multi 2", so
    // the ids of those two rows change places for sprite sets.
    const bool sprites = document->current().type == Imageset::Spriteset;
    const struct {
        const char* suffix;
        const char* label;
        int id;
        PaletteComboBox* combo;
    } rows[] = {
        {"00", "Bckgnd:", 0, cbxCol00},
        {"01", "Multi 1:", 1, cbxCol01},
        {"10", "Multi 2:", sprites ? 3 : 2, cbxCol10},
        {"11", "Foregnd:", sprites ? 2 : 3, cbxCol11},
    };

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("L")), 0, 0, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("R")), 0, 1, Qt::AlignCenter);
    int line = 1;
    for (const auto& row : rows) {
        QRadioButton* left = makeRadio(QStringLiteral("radioL%1").arg(QLatin1String(row.suffix)));
        QRadioButton* right = makeRadio(QStringLiteral("radioR%1").arg(QLatin1String(row.suffix)));
        buttonGroupLeft->addButton(left, row.id);
        buttonGroupRight->addButton(right, row.id);
        auto* label = new QLabel(QLatin1String(row.label));
        rowLabels.append(label);
        grid->addWidget(left, line, 0);
        grid->addWidget(right, line, 1);
        grid->addWidget(label, line, 2);
        grid->addWidget(row.combo, line, 3);
        ++line;
    }
    buttonGroupLeft->addButton(radioLBckgnd3, bckgnd3Id);
    buttonGroupRight->addButton(radioRBckgnd3, bckgnd3Id);
    grid->addWidget(radioLBckgnd3, line, 0);
    grid->addWidget(radioRBckgnd3, line, 1);
    grid->addWidget(labelBckgnd3, line, 2);
    grid->addWidget(cbxBckgnd3, line, 3);

    auto* modes = new QHBoxLayout;
    auto* modeGroup = new QButtonGroup(this);
    if (document->current().type == Imageset::Charset) {
        radioSCM->setText(QStringLiteral("SCM"));
        radioMCM->setText(QStringLiteral("MCM"));
        radioECM->setText(QStringLiteral("ECM"));
    } else {
        radioSCM->setText(QStringLiteral("Mono"));
        radioSCM->setToolTip(QStringLiteral("Monocolor"));
        radioMCM->setText(QStringLiteral("Multi"));
        radioMCM->setToolTip(QStringLiteral("Multicolor"));
        radioECM->hide();
    }
    modeGroup->addButton(radioSCM, Imageset::SCM);
    modeGroup->addButton(radioMCM, Imageset::MCM);
    modeGroup->addButton(radioECM, Imageset::ECM);
    modes->addWidget(radioSCM);
    modes->addWidget(radioMCM);
    modes->addWidget(radioECM);
    modes->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(modes);
    layout->addLayout(grid);
    layout->addWidget(chkMixColors);
    layout->addWidget(btnSwapColors, 0, Qt::AlignLeft);
    layout->addStretch();

    // The mode buttons' ids are the modes.
    connect(modeGroup, &QButtonGroup::idClicked, this, [this](int id) { emit modeChosen(Imageset::Mode(id)); });
    connect(cbxCol00, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ColorPanel::multiColor00Chosen);
    connect(cbxCol01, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ColorPanel::multiColor01Chosen);
    connect(cbxCol10, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ColorPanel::multiColor10Chosen);
    connect(cbxCol11, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ColorPanel::imageColorChosen);
    connect(cbxBckgnd3, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ColorPanel::bckgnd3Chosen);
    connect(btnSwapColors, &QPushButton::clicked, this, &ColorPanel::swapColorsChosen);

    // Until a slot is chosen the foreground shows the colour new images get.
    cbxCol11->showColor(15);
    buttonGroupLeft->button(rows[3].id)->setChecked(true);
    buttonGroupRight->button(0)->setChecked(true);

    connect(document, &Document::changed, this, &ColorPanel::showCurrent);
    showCurrent();
}

void ColorPanel::setSelection(const QList<int>& selected)
{
    selection = selected;
    showCurrent();
}

int ColorPanel::leftCode() const
{
    return buttonGroupLeft->checkedId();
}

int ColorPanel::rightCode() const
{
    return buttonGroupRight->checkedId();
}

bool ColorPanel::dithering() const
{
    return chkMixColors->isChecked();
}

void ColorPanel::pickCode(Qt::MouseButton button, int code)
{
    if (QAbstractButton* radio = (button == Qt::LeftButton ? buttonGroupLeft : buttonGroupRight)->button(code))
        radio->setChecked(true);
}

void ColorPanel::setDrawingChoice(bool multiColor)
{
    // Hi-res images have only the foreground and the background to draw
    // with: left draws the foreground, right the background.
    if (!multiColor) {
        buttonGroupLeft->button(document->current().type == Imageset::Spriteset ? 2 : 3)->setChecked(true);
        buttonGroupRight->button(0)->setChecked(true);
    }
    for (QAbstractButton* button : buttonGroupLeft->buttons() + buttonGroupRight->buttons())
        button->setEnabled(multiColor);
}

void ColorPanel::showCurrent()
{
    const Imageset& set = document->current();
    const bool ecm = set.type == Imageset::Charset && set.mode == Imageset::ECM;
    const bool blocks = set.type == Imageset::Blockset;
    const int first = selection.isEmpty() ? -1 : selection.first();
    const std::array<int, 4> colors = first >= 0 ? set.colorsFor(first) : set.colors;

    cbxCol00->showColor(blocks && set.mode == Imageset::SCM ? colors[0] : set.colors[0]);
    cbxCol01->showColor(blocks ? colors[1] : set.colors[1]);
    cbxCol10->showColor(blocks ? colors[2] : set.colors[2]);
    cbxBckgnd3->showColor(set.colors[3]);
    if (first >= 0)
        cbxCol11->showColor(set.imageColor(first));

    // Per-block colours need blocks to set them on.
    if (blocks) {
        cbxCol00->setEnabled(set.mode != Imageset::SCM || first >= 0);
        cbxCol01->setEnabled(first >= 0);
        cbxCol10->setEnabled(first >= 0);
    }

    const QStringList labels = ecm ? QStringList {QStringLiteral("Bckgnd 0:"), QStringLiteral("Bckgnd 1:"),
                                                  QStringLiteral("Bckgnd 2:")}
                                   : QStringList {QStringLiteral("Bckgnd:"), QStringLiteral("Multi 1:"),
                                                  QStringLiteral("Multi 2:")};
    for (int i = 0; i < labels.size(); ++i)
        rowLabels.at(i)->setText(labels.at(i));
    for (QWidget* widget : {static_cast<QWidget*>(radioLBckgnd3), static_cast<QWidget*>(radioRBckgnd3),
                            static_cast<QWidget*>(labelBckgnd3), static_cast<QWidget*>(cbxBckgnd3)})
        widget->setVisible(ecm);

    const bool sprites = set.type == Imageset::Spriteset;
    const bool multiColor = sprites ? first >= 0 && set.multiColorSprites.contains(first) : set.mode == Imageset::MCM;
    const Imageset::Mode mode = sprites ? (multiColor ? Imageset::MCM : Imageset::SCM) : set.mode;
    for (QRadioButton* radio : {radioSCM, radioMCM, radioECM}) {
        const QSignalBlocker blocker(radio);
        radio->setChecked((radio == radioSCM && mode == Imageset::SCM) || (radio == radioMCM && mode == Imageset::MCM)
                          || (radio == radioECM && mode == Imageset::ECM));
    }
    setDrawingChoice(multiColor);
}
