#pragma once

#include "model/imageset.h"

#include <QList>

// The colour and mode controls of the image-set editor as operations on the
// set and the slots selected in it.
namespace ImagesetColors {
// The background: a mono block set's selected blocks each get their own
// (their screen colours created from the set's when missing); any other set
// changes its set-wide background.
void setMultiColor00(Imageset& set, const QList<int>& selected, int colorIndex);
// Multicolour 1 and 2: a block set's selected blocks in either mode, else
// the set-wide colour.
void setMultiColor01(Imageset& set, const QList<int>& selected, int colorIndex);
void setMultiColor10(Imageset& set, const QList<int>& selected, int colorIndex);
// Background 3 of extended background colour mode.
void setBckgnd3(Imageset& set, int colorIndex);
// The per-image colour of every selected slot.
void setImageColor(Imageset& set, const QList<int>& selected, int colorIndex);

// The mode buttons: character and block sets take the mode as a whole;
// a sprite set makes the selected sprites multicolour (MCM) or mono (SCM).
// The bitmaps never change: the same bytes are read in the new mode.
void setMode(Imageset& set, const QList<int>& selected, Imageset::Mode mode);

// Why two pixel codes cannot be swapped in the set; empty when they can.
// The image colour is per image while the other colours are shared, so no
// character or sprite code showing it can be swapped (nor anything in sets
// without multicolour images); a multicolour block set's background is
// shared by all blocks.
QString swapRefusal(const Imageset& set, int first, int second);
// Swaps two pixel codes so that the picture keeps its look while its bits
// change: in the multicolour images of character and sprite sets, with the
// set-wide colours behind the codes; in the selected blocks (all blocks when
// none is selected), with each block's own colours.
void swapColors(Imageset& set, const QList<int>& selected, int first, int second);
}
