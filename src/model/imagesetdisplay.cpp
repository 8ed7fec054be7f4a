// How the images of a set are shown: which images are multicolour, the
// colour of every pixel code, and rendering to a picture.
#include "model/imageset.h"
#include "model/palette.h"

QString Imageset::kindWord(Type type)
{
    return QLatin1String(kindInfo(itemKindOf(type)).imageWord);
}

ItemKind Imageset::itemKindOf(Type type)
{
    switch (type) {
    case Spriteset:
        return ItemKind::Spriteset;
    case Blockset:
        return ItemKind::Blockset;
    default:
        return ItemKind::Charset;
    }
}

int Imageset::patternSlot(int index) const
{
    return isEcm() ? index & 63 : index;
}

bool Imageset::isMultiColorImage(int index) const
{
    switch (type) {
    case Charset:
        // Like the chip's colour RAM: in multicolour mode a colour of 8-15
        // makes the character multicolour, 0-7 leaves it hi-res.
        return mode == MCM && imageColor(index) > 7;
    case Spriteset:
        return multiColorSprites.contains(index);
    case Blockset:
        return mode == MCM;
    }
    return false;
}

std::array<int, 4> Imageset::colorsFor(int index) const
{
    std::array<int, 4> result = colors;
    if (isEcm()) {
        result[0] = colors[size_t((index / 64) & 3)];
    } else if (type == Blockset && blockColors.contains(index)) {
        const BlockColors block = blockColors.value(index);
        if (mode == MCM) {
            result[1] = block.c1;
            result[2] = block.c2;
        } else {
            result[0] = block.c0;
            result[1] = block.c1;
            result[2] = block.c2;
        }
    }
    return result;
}

BlockColors& Imageset::ensureBlockColors(int index)
{
    auto it = blockColors.find(index);
    if (it == blockColors.end())
        it = blockColors.insert(index, BlockColors {colors[0], colors[1], colors[2]});
    return *it;
}

QImage Imageset::toImage(const ImageData& image, const std::array<int, 4>& colors, int imageColor,
                         bool multiColor, bool transparent, Type type)
{
    if (image.width <= 0 || image.height <= 0 || image.bytes.size() < image.bytesPerRow * image.height)
        return QImage();

    // Palette index of each pixel code.
    std::array<int, 4> codeColors;
    if (!multiColor)
        codeColors = {colors[0], imageColor, colors[0], imageColor};
    else if (type == Charset) // 11 takes the colour RAM's low three bits
        codeColors = {colors[0], colors[1], colors[2], imageColor & 7};
    else if (type == Spriteset) // the sprite's own colour is code 10
        codeColors = {colors[0], colors[1], imageColor, colors[2]};
    else
        codeColors = {colors[0], colors[1], colors[2], imageColor};

    QVector<QRgb> table;
    for (int color : codeColors)
        table.append(Palette::color(color));
    if (transparent)
        table[0] = qRgba(0, 0, 0, 0);

    QImage result(image.width, image.height, QImage::Format_Indexed8);
    result.setColorTable(table);
    const auto* bytes = reinterpret_cast<const uchar*>(image.bytes.constData());
    for (int y = 0; y < image.height; ++y) {
        uchar* line = result.scanLine(y);
        const uchar* row = bytes + y * image.bytesPerRow;
        for (int x = 0; x < image.width; ++x) {
            const uchar byte = row[x / 8];
            // A multicolour pixel is the bit pair of two neighbouring pixels.
            line[x] = multiColor ? (byte >> (6 - 2 * ((x % 8) / 2))) & 3 : (byte >> (7 - x % 8)) & 1;
        }
    }
    return result;
}

QImage Imageset::toImage(int index, bool transparent) const
{
    return toImage(displayedImage(index), colorsFor(index), imageColor(index),
                   isMultiColorImage(index), transparent, type);
}
