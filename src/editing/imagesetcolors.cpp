#include "editing/imagesetcolors.h"

#include <utility>

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

namespace {
void swapCodes(ImageData& image, bool multiColor, int first, int second)
{
    const int width = multiColor ? image.width / 2 : image.width;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int code = image.code(x, y, multiColor);
            if (code == first || code == second)
                image.setCode(x, y, multiColor, code == first ? second : first);
        }
    }
}

// The set-wide colour a code of a multicolour character or sprite shows.
int* sharedColor(Imageset& set, int code)
{
    if (set.type == Imageset::Spriteset && code == 3)
        return &set.colors[2];
    return code >= 0 && code <= 2 ? &set.colors[size_t(code)] : nullptr;
}
}

QString ImagesetColors::swapRefusal(const Imageset& set, int first, int second)
{
    switch (set.type) {
    case Imageset::Charset:
        if (set.mode != Imageset::MCM || first == 3 || second == 3)
            return QStringLiteral("Can't swap the foreground color for Charsets or Spritesets!");
        break;
    case Imageset::Spriteset:
        if (set.multiColorSprites.isEmpty() || first == 2 || second == 2)
            return QStringLiteral("Can't swap the foreground color for Charsets or Spritesets!");
        break;
    case Imageset::Blockset:
        if (set.mode == Imageset::MCM && (first == 0 || second == 0))
            return QStringLiteral("Can't swap the background color for multicolor Blocksets!");
        break;
    }
    return QString();
}

void ImagesetColors::swapColors(Imageset& set, const QList<int>& selected, int first, int second)
{
    if (first == second || !swapRefusal(set, first, second).isEmpty())
        return;
    if (set.type != Imageset::Blockset) {
        for (auto it = set.images.begin(); it != set.images.end(); ++it) {
            if (set.isMultiColorImage(it.key()))
                swapCodes(*it, true, first, second);
        }
        int* a = sharedColor(set, first);
        int* b = sharedColor(set, second);
        if (a && b)
            std::swap(*a, *b);
        return;
    }
    const bool multiColor = set.mode == Imageset::MCM;
    const QList<int> blocks = selected.isEmpty() ? set.images.keys() : selected;
    for (int slot : blocks) {
        if (set.images.contains(slot))
            swapCodes(set.images[slot], multiColor, first, second);
        // The block's own colours behind the codes: its background c0 (mono)
        // or c1 and c2, and its image colour for the foreground.
        int imageColor = set.imageColor(slot);
        BlockColors& own = set.ensureBlockColors(slot);
        const auto colorOf = [&](int code) -> int& {
            if (code == (multiColor ? 3 : 1))
                return imageColor;
            return code == 0 ? own.c0 : code == 1 ? own.c1 : own.c2;
        };
        std::swap(colorOf(first), colorOf(second));
        if (imageColor != set.imageColor(slot))
            set.imageColors.insert(slot, imageColor);
    }
}
