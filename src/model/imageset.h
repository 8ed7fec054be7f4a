#pragma once

#include "model/animationset.h"
#include "model/dataset.h"
#include "model/itemkind.h"
#include "model/slotmap.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QMap>
#include <QMetaType>
#include <QSet>

#include <array>

// One image's bitmap in the video chip's layout: rows of bytesPerRow bytes,
// the leftmost pixel in the most significant bit.
struct ImageData {
    ImageData() = default;
    ImageData(int width, int height);

    QByteArray bytes;
    int width = 0;       // hi-res pixels
    int height = 0;      // pixel rows
    int bytesPerRow = 0; // width / 8

    bool isEmpty() const { return bytes.isEmpty(); }
    // The code of a pixel: a bit of a hi-res pixel (x in hi-res pixels), a
    // bit pair of a multicolour one (x in multicolour pixels, from the most
    // significant pair); 0 outside the bitmap.
    int code(int x, int y, bool multiColor) const;
    // Replaces a pixel's code (taken AND 3, or AND 1 for hi-res); returns
    // whether it changed.
    bool setCode(int x, int y, bool multiColor, int code);
    bool operator==(const ImageData& other) const
    {
        return width == other.width && height == other.height && bytes == other.bytes;
    }
};

// The screen colours of one block of a block set.
struct BlockColors {
    int c0 = 6;
    int c1 = 1;
    int c2 = 2;

    bool operator==(const BlockColors& other) const
    {
        return c0 == other.c0 && c1 == other.c1 && c2 == other.c2;
    }
};

// A character set, sprite set or block set: sparse images by slot index with
// the colours needed to show them, and the editor's view settings.
class Imageset : public Dataset {
public:
    enum Type { Charset = 0, Spriteset = 1, Blockset = 2 };
    // Standard (hi-res, "Mono" for sprites and blocks), multicolour, and
    // extended background colour (character sets only).
    enum Mode { SCM = 0, MCM = 1, ECM = 2 };

    static constexpr int maxGridSize = 256;

    Imageset() = default;
    Imageset(qint32 id, const QString& name, int width, int height, Type type);
    Imageset(const Imageset&) = default;
    Imageset& operator=(const Imageset&) = default;

    bool load(RecordReader& in) override;
    void save(RecordWriter& out) const override;
    bool operator==(const Imageset& other) const;
    // Whether the image size, byte size and mode fit the kind of set, as every
    // set the program makes does.
    bool hasKindShape() const;

    // "Char", "Sprite" or "Block": how the program names one image of a kind.
    static QString kindWord(Type type);
    // The project's kind of item for a type of set.
    static ItemKind itemKindOf(Type type);

    // The per-image colour of a slot: its colour-RAM or sprite colour, or a
    // block's foreground; 15 where none was set.
    int imageColor(int index) const { return imageColors.value(index, 15); }

    // The slot's bitmap, or an empty image for an empty slot.
    ImageData image(int index) const { return images.value(index); }
    // Extended background colour mode, which only character sets have.
    bool isEcm() const { return type == Charset && mode == ECM; }
    // The slot whose bitmap a slot shows: in extended background colour mode
    // the two top bits of a character code pick the background, so the 256
    // characters share the 64 patterns of slots 0-63.
    int patternSlot(int index) const;
    // The bitmap a slot shows, after the pattern mapping.
    ImageData displayedImage(int index) const { return image(patternSlot(index)); }
    bool isMultiColorImage(int index) const;
    // The four palette indexes of the codes of a slot before the image colour
    // is applied: background, multicolour 1 and 2, and background 3.
    std::array<int, 4> colorsFor(int index) const;
    // A block's own screen colours, or 6, 1, 2 where it has none.
    BlockColors blockColorsOf(int index) const { return blockColors.value(index); }
    // A block's screen colours, created from the set's colours when missing.
    BlockColors& ensureBlockColors(int index);

    // Renders one image as an 8-bit indexed picture of its size with a
    // four-entry colour table, entry c holding the colour of pixel code c for
    // the kind. A multicolour pixel covers two picture pixels. With
    // transparent set, code 0 is fully transparent (for drawing over other
    // pictures).
    static QImage toImage(const ImageData& image, const std::array<int, 4>& colors, int imageColor,
                          bool multiColor, bool transparent, Type type);
    // toImage of the bitmap a slot shows, in its own colours.
    QImage toImage(int index, bool transparent = false) const;
    bool operator!=(const Imageset& other) const { return !(*this == other); }

    Animationset animations;
    SlotMap<ImageData> images;
    QMap<int, int> imageColors;
    QSet<int> multiColorSprites;
    std::array<int, 4> colors {6, 1, 2, 3};
    QMap<int, BlockColors> blockColors;
    Mode mode = SCM;
    int imageWidth = 8;
    int imageHeight = 8;
    int imageSize = 8;
    Type type = Charset;
    double selectorZoom = 3.0;
    int selectorGridWidth = 32;
    int selectorGridHeight = 8;
    bool selectorGridVisible = true;
    QColor backgroundColor = QColor(0, 0, 0);
    QColor pixelsGridColor = QColor(160, 160, 160);
    QColor imagesGridColor = QColor(255, 255, 255);
};

Q_DECLARE_METATYPE(Imageset::Type)
Q_DECLARE_METATYPE(Imageset::Mode)
