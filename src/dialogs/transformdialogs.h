#pragma once

#include <QDialog>
#include <QPoint>

class QCheckBox;
class QDoubleSpinBox;
class QRadioButton;
class QSpinBox;

// Where a rotation or scaling turns about: the working area's middle, or a
// pixel the user gives (in absolute coordinates of the editing area).
struct TransformCentre {
    bool manual = false;
    QPoint point;
};

struct RotateOptions {
    double angle = 0.0; // degrees, 0-180
    bool right = false; // clockwise on screen; left is counter-clockwise
    TransformCentre centre;
    bool keepAspect = false; // turn multicolour pixels as they look: twice as wide
};

struct ScaleOptions {
    double width = 100.0; // percent
    double height = 100.0;
    TransformCentre centre;
    bool keepAspect = false; // the height follows the width
};

// "Rotate": the angle, the centre and the direction of a rotation.
class RotateDialog : public QDialog {
    Q_OBJECT

public:
    // Opens with the options last used; the centre ranges over the area.
    RotateDialog(const RotateOptions& options, const QPoint& areaEnd, QWidget* parent = nullptr);
    RotateOptions options() const;

private:
    QDoubleSpinBox* doubleSpinBoxAngle;
    QRadioButton* radioBtnManual;
    QSpinBox* spinBoxCx;
    QSpinBox* spinBoxCy;
    QRadioButton* radioBtnRight;
    QCheckBox* chkBoxKeepAR;
};

// "Scale": the factors and the centre of a scaling.
class ScaleDialog : public QDialog {
    Q_OBJECT

public:
    ScaleDialog(const ScaleOptions& options, const QPoint& areaEnd, QWidget* parent = nullptr);
    ScaleOptions options() const;

private:
    QDoubleSpinBox* doubleSpinBoxSx;
    QDoubleSpinBox* doubleSpinBoxSy;
    QRadioButton* radioBtnManual;
    QSpinBox* spinBoxCx;
    QSpinBox* spinBoxCy;
    QCheckBox* chkBoxKeepAR;
};
