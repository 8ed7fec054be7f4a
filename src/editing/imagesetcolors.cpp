#include "editing/imagesetcolors.h"

namespace {
// Sets one screen colour of each selected block.
void setBlockColor(Imageset& set, const QList<int>& selected, int BlockColors::*color, int colorIndex)
{
    for (int slot : selected)
        set.ensureBlockColors(slot).*color = colorIndex;
}
}

void ImagesetColors::setMultiColor00(Imageset& set, const QList<int>& selected, int colorIndex)
{
    if (set.type == Imageset::Blockset && set.mode == Imageset::SCM)
        setBlockColor(set, selected, &BlockColors::c0, colorIndex);
    else
        set.colors[0] = colorIndex;
}

void ImagesetColors::setMultiColor01(Imageset& set, const QList<int>& selected, int colorIndex)
{
    if (set.type == Imageset::Blockset)
        setBlockColor(set, selected, &BlockColors::c1, colorIndex);
    else
        set.colors[1] = colorIndex;
}

void ImagesetColors::setMultiColor10(Imageset& set, const QList<int>& selected, int colorIndex)
{
    if (set.type == Imageset::Blockset)
        setBlockColor(set, selected, &BlockColors::c2, colorIndex);
    else
        set.colors[2] = colorIndex;
}

void ImagesetColors::setBckgnd3(Imageset& set, int colorIndex)
{
    set.colors[3] = colorIndex;
}

void ImagesetColors::setImageColor(Imageset& set, const QList<int>& selected, int colorIndex)
{
    for (int slot : selected)
        set.imageColors.insert(slot, colorIndex);
}

void ImagesetColors::setMode(Imageset& set, const QList<int>& selected, Imageset::Mode mode)
{
    if (set.type != Imageset::Spriteset) {
        set.mode = mode;
        return;
    }
    for (int slot : selected) {
        if (mode == Imageset::MCM)
            set.multiColorSprites.insert(slot);
        else
            set.multiColorSprites.remove(slot);
    }
}
