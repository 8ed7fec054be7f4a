#pragma once

#include <QVector>
#include <QWidget>

class Imageset;
class QFrame;
class QLabel;

// The colours of one slot as small swatches with their palette numbers
// (background, multicolour 1 and 2, foreground) and, for characters, the ROM
// glyph of the same code. Both panes of the image-set editor show the slot
// under the mouse this way.
class SlotSwatches : public QWidget {
    Q_OBJECT

public:
    // Object names: frame<Pane>BackgndColor, lbl<Pane>Backcolor, ... and
    // romLabelName for the glyph, so that tests and styles find them.
    SlotSwatches(const QString& pane, const QString& romLabelName, QWidget* parent = nullptr);

    // Shows a slot's colours; -1 clears the swatches.
    void show(const Imageset& set, int slot);

private:
    void showSwatch(int row, int colorIndex, const QString& text);

    QList<QFrame*> frames;
    QList<QLabel*> labels;
    QLabel* romGlyph;
    QVector<int> shownColors; // palette index per row as last shown
    int shownGlyph = -1;
};
