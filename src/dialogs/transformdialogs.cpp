#include "dialogs/transformdialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
template<typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The group of the centre: "Centered" or "Manual" at the spin boxes' pixel.
QGroupBox* centreGroup(const QString& title, const TransformCentre& centre, const QPoint& areaEnd,
                       QRadioButton*& manual, QSpinBox*& x, QSpinBox*& y)
{
    auto* group = new QGroupBox(title);
    auto* centred = named(new QRadioButton(QStringLiteral("Centered")), "radioBtnCentered");
    manual = named(new QRadioButton(QStringLiteral("Manual")), "radioBtnManual");
    x = named(new QSpinBox, "spinBoxCx");
    y = named(new QSpinBox, "spinBoxCy");
    x->setRange(0, qMax(0, areaEnd.x()));
    y->setRange(0, qMax(0, areaEnd.y()));
    x->setValue(centre.point.x());
    y->setValue(centre.point.y());
    (centre.manual ? manual : centred)->setChecked(true);
    QObject::connect(manual, &QRadioButton::toggled, x, &QSpinBox::setEnabled);
    QObject::connect(manual, &QRadioButton::toggled, y, &QSpinBox::setEnabled);
    x->setEnabled(centre.manual);
    y->setEnabled(centre.manual);
    auto* layout = new QGridLayout(group);
    layout->addWidget(centred, 0, 0);
    layout->addWidget(manual, 1, 0);
    layout->addWidget(new QLabel(QStringLiteral("x:")), 1, 1);
    layout->addWidget(x, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("y:")), 1, 3);
    layout->addWidget(y, 1, 4);
    return group;
}

void addButtons(QDialog* dialog, QVBoxLayout* layout)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
}

QDoubleSpinBox* factorBox(const char* name, double value)
{
    auto* box = named(new QDoubleSpinBox, name);
    box->setDecimals(2);
    box->setRange(0.1, 1000.0);
    box->setSuffix(QStringLiteral(" %"));
    box->setValue(value);
    return box;
}
}

RotateDialog::RotateDialog(const RotateOptions& options, const QPoint& areaEnd, QWidget* parent)
    : QDialog(parent)
    , doubleSpinBoxAngle(named(new QDoubleSpinBox, "doubleSpinBoxAngle"))
    , radioBtnRight(named(new QRadioButton(QStringLiteral("Right")), "radioBtnRight"))
    , chkBoxKeepAR(named(new QCheckBox(QStringLiteral("Keep aspect ratio")), "chkBoxKeepAR"))
{
    setWindowTitle(QStringLiteral("Rotate"));
    doubleSpinBoxAngle->setDecimals(1);
    doubleSpinBoxAngle->setRange(0.0, 180.0);
    doubleSpinBoxAngle->setValue(options.angle);
    auto* angle = new QGroupBox(QStringLiteral("Angle"));
    auto* angleLayout = new QHBoxLayout(angle);
    angleLayout->addWidget(doubleSpinBoxAngle);
    angleLayout->addWidget(new QLabel(QStringLiteral("degrees")));

    auto* direction = new QGroupBox(QStringLiteral("Direction"));
    auto* left = named(new QRadioButton(QStringLiteral("Left")), "radioBtnLeft");
    (options.right ? radioBtnRight : left)->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(left);
    directionLayout->addWidget(radioBtnRight);

    auto* extra = new QGroupBox(QStringLiteral("Options"));
    chkBoxKeepAR->setChecked(options.keepAspect);
    chkBoxKeepAR->setToolTip(QStringLiteral("Turn multicolor pixels as they look, twice as wide as high."));
    (new QVBoxLayout(extra))->addWidget(chkBoxKeepAR);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(angle);
    layout->addWidget(centreGroup(QStringLiteral("Rot. center (abs. coordinates)"), options.centre, areaEnd,
                                  radioBtnManual, spinBoxCx, spinBoxCy));
    layout->addWidget(direction);
    layout->addWidget(extra);
    addButtons(this, layout);
}

RotateOptions RotateDialog::options() const
{
    RotateOptions options;
    options.angle = doubleSpinBoxAngle->value();
    options.right = radioBtnRight->isChecked();
    options.centre = {radioBtnManual->isChecked(), QPoint(spinBoxCx->value(), spinBoxCy->value())};
    options.keepAspect = chkBoxKeepAR->isChecked();
    return options;
}

ScaleDialog::ScaleDialog(const ScaleOptions& options, const QPoint& areaEnd, QWidget* parent)
    : QDialog(parent)
    , doubleSpinBoxSx(factorBox("doubleSpinBoxSx", options.width))
    , doubleSpinBoxSy(factorBox("doubleSpinBoxSy", options.height))
    , chkBoxKeepAR(named(new QCheckBox(QStringLiteral("Keep aspect ratio")), "chkBoxKeepAR"))
{
    setWindowTitle(QStringLiteral("Scale"));
    auto* factor = new QGroupBox(QStringLiteral("Factor"));
    auto* factorLayout = new QGridLayout(factor);
    factorLayout->addWidget(new QLabel(QStringLiteral("Width:")), 0, 0);
    factorLayout->addWidget(doubleSpinBoxSx, 0, 1);
    factorLayout->addWidget(new QLabel(QStringLiteral("Height:")), 1, 0);
    factorLayout->addWidget(doubleSpinBoxSy, 1, 1);

    auto* extra = new QGroupBox(QStringLiteral("Options"));
    (new QVBoxLayout(extra))->addWidget(chkBoxKeepAR);
    // While the aspect ratio is kept the height follows the width.
    const auto follow = [this] {
        doubleSpinBoxSy->setEnabled(!chkBoxKeepAR->isChecked());
        if (chkBoxKeepAR->isChecked())
            doubleSpinBoxSy->setValue(doubleSpinBoxSx->value());
    };
    connect(chkBoxKeepAR, &QCheckBox::toggled, this, follow);
    connect(doubleSpinBoxSx, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, follow);
    chkBoxKeepAR->setChecked(options.keepAspect);
    follow();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(factor);
    layout->addWidget(centreGroup(QStringLiteral("Scaling center (abs. coordinates)"), options.centre, areaEnd,
                                  radioBtnManual, spinBoxCx, spinBoxCy));
    layout->addWidget(extra);
    addButtons(this, layout);
}

ScaleOptions ScaleDialog::options() const
{
    ScaleOptions options;
    options.width = doubleSpinBoxSx->value();
    options.height = doubleSpinBoxSy->value();
    options.centre = {radioBtnManual->isChecked(), QPoint(spinBoxCx->value(), spinBoxCy->value())};
    options.keepAspect = chkBoxKeepAR->isChecked();
    return options;
}
