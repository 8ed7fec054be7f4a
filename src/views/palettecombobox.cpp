#include "views/palettecombobox.h"

#include "model/palette.h"

#include <QAbstractItemView>
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
    // Wide enough for every colour number beside its swatch, the list too.
    setMinimumContentsLength(2);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    view()->setTextElideMode(Qt::ElideNone);
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 2 * view()->frameWidth() + 8);
}

void PaletteComboBox::showColor(int colorIndex)
{
    const QSignalBlocker blocker(this);
    setCurrentIndex(colorIndex & (Palette::size - 1));
}
