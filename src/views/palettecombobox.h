#pragma once

#include <QComboBox>

// A choice among the 16 palette colours, each item a swatch with its colour
// number; the current index is the colour number.
class PaletteComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit PaletteComboBox(QWidget* parent = nullptr);

    // Shows the colour without announcing a change.
    void showColor(int colorIndex);
};
