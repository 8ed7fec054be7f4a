#include "views/palettecombobox.h"

#include "model/palette.h"

#include <QPixmap>
#include <QSignalBlocker>

PaletteComboBox::PaletteComboBox(QWidget* parent)
    : QComboBox(parent)
{
    for (int i = 0; i < Palette::size; ++i) {
        QPixmap swatch(16, 16);
        swatch.fill(QColor::fromRgb(Palette::color(i)));
        addItem(QIcon(swatch), QString::number(i));
    }
}

void PaletteComboBox::showColor(int colorIndex)
{
    const QSignalBlocker blocker(this);
    setCurrentIndex(colorIndex & (Palette::size - 1));
}
