#include "model/imageset.h"

#include <algorithm>
#include <cmath>

namespace {
// Images of the video chip are at most 24 x 21 pixels; anything far beyond
// is a damaged file, not a picture.
constexpr int maxImageSide = 64;
constexpr int maxSlot = Imageset::maxGridSize * Imageset::maxGridSize - 1;
constexpr qint64 minImageBytes = 4 * 4;           // slot, width, height, byte count
constexpr qint64 imageColorBytes = 4 + 1;         // slot, colour byte
constexpr qint64 blockColorBytes = 4 * 4;         // slot, c0, c1, c2

QColor readRgb(RecordReader& in)
{
    const int red = in.readIntInRange(0, 255);
    const int green = in.readIntInRange(0, 255);
    const int blue = in.readIntInRange(0, 255);
    return QColor(red, green, blue);
}

// A type or mode field: an integer that must be one of the enum's numbers
// from low to high.
template<typename Enum>
Enum readEnum(RecordReader& in, Enum low, Enum high)
{
    return Enum(in.readIntInRange(low, high));
}

void writeRgb(RecordWriter& out, const QColor& color)
{
    out.writeInt(color.red());
    out.writeInt(color.green());
    out.writeInt(color.blue());
}
}

ImageData::ImageData(int width, int height)
    : bytes((width / 8) * height, '\0')
    , width(width)
    , height(height)
    , bytesPerRow(width / 8)
{
}

namespace {
// The byte of a pixel and the shift of its code in the byte; -1 outside.
int bytePosition(const ImageData& image, int x, int y, bool multiColor, int& shift)
{
    const int perByte = multiColor ? 4 : 8;
    if (x < 0 || y < 0 || y >= image.height || x >= image.bytesPerRow * perByte)
        return -1;
    const int at = y * image.bytesPerRow + x / perByte;
    shift = multiColor ? 6 - 2 * (x % 4) : 7 - x % 8;
    return at < image.bytes.size() ? at : -1;
}
}

int ImageData::code(int x, int y, bool multiColor) const
{
    int shift = 0;
    const int at = bytePosition(*this, x, y, multiColor, shift);
    return at < 0 ? 0 : (uchar(bytes.at(at)) >> shift) & (multiColor ? 3 : 1);
}

bool ImageData::setCode(int x, int y, bool multiColor, int code)
{
    int shift = 0;
    const int at = bytePosition(*this, x, y, multiColor, shift);
    if (at < 0)
        return false;
    const int mask = (multiColor ? 3 : 1) << shift;
    const char value = char((uchar(bytes.at(at)) & ~mask) | ((code << shift) & mask));
    if (bytes.at(at) == value)
        return false;
    bytes[at] = value;
    return true;
}

Imageset::Imageset(qint32 id, const QString& name, int width, int height, Type type)
    : Dataset(id, name)
    , imageWidth(width)
    , imageHeight(height)
    , imageSize(width * height / 8)
    , type(type)
    , selectorGridWidth(type == Spriteset ? 16 : 32)
    , selectorGridHeight(type == Spriteset ? 16 : 8)
{
}

bool Imageset::operator==(const Imageset& other) const
{
    return sameHead(other) && animations == other.animations && images == other.images
        && imageColors == other.imageColors && multiColorSprites == other.multiColorSprites
        && colors == other.colors && blockColors == other.blockColors && mode == other.mode
        && imageWidth == other.imageWidth && imageHeight == other.imageHeight
        && imageSize == other.imageSize && type == other.type && selectorZoom == other.selectorZoom
        && selectorGridWidth == other.selectorGridWidth
        && selectorGridHeight == other.selectorGridHeight
        && selectorGridVisible == other.selectorGridVisible
        && backgroundColor == other.backgroundColor && pixelsGridColor == other.pixelsGridColor
        && imagesGridColor == other.imagesGridColor;
}

bool Imageset::load(RecordReader& in)
{
    FileVersion version;
    if (!loadHead(in, version))
        return false;

    images.clear();
    const int imageCount = in.readCount(minImageBytes);
    for (int i = 0; i < imageCount && in.ok(); ++i) {
        const int slot = in.readIntInRange(0, maxSlot);
        const int width = in.readIntInRange(1, maxImageSide);
        const int height = in.readIntInRange(1, maxImageSide);
        if (width % 8 != 0)
            in.fail(); // a row is a whole number of bytes
        ImageData image(width, height);
        const int storedBytes = in.readIntInRange(0, image.bytes.size());
        const QByteArray stored = in.readBytes(storedBytes);
        if (!in.ok())
            break;
        in.claimUnfilledStorage(image.bytes.size() - storedBytes);
        image.bytes.replace(0, stored.size(), stored);
        images.insert(slot, image);
    }

    imageColors.clear();
    const int colorCount = in.readCount(imageColorBytes);
    for (int i = 0; i < colorCount && in.ok(); ++i) {
        const int slot = in.readInt();
        imageColors.insert(slot, in.readByte());
    }

    mode = readEnum(in, SCM, ECM);
    imageWidth = in.readInt();
    imageHeight = in.readInt();
    imageSize = in.readInt();
    for (int& color : colors)
        color = in.readInt();

    blockColors.clear();
    if (version.hasBlocksets()) {
        type = readEnum(in, Charset, Blockset);
        const int blockCount = in.readCount(blockColorBytes);
        for (int i = 0; i < blockCount && in.ok(); ++i) {
            const int slot = in.readInt();
            BlockColors block;
            block.c0 = in.readInt();
            block.c1 = in.readInt();
            block.c2 = in.readInt();
            blockColors.insert(slot, block);
        }
    } else {
        // Before block sets existed a flag told character sets from sprite sets.
        type = in.readByte() != 0 ? Charset : Spriteset;
    }

    selectorZoom = in.readDouble();
    selectorGridVisible = in.readBool();
    if (version.hasSelectorGridAndLayers()) {
        selectorGridWidth = in.readIntInRange(1, maxGridSize);
        selectorGridHeight = in.readIntInRange(1, maxGridSize);
    } else {
        selectorGridWidth = type == Spriteset ? 16 : 32;
        selectorGridHeight = type == Spriteset ? 16 : 8;
    }

    multiColorSprites.clear();
    const int spriteCount = in.readCount(4);
    for (int i = 0; i < spriteCount && in.ok(); ++i)
        multiColorSprites.insert(in.readInt());

    backgroundColor = readRgb(in);
    pixelsGridColor = readRgb(in);
    imagesGridColor = readRgb(in);

    if (!hasKindShape())
        in.fail();
    return in.ok() && animations.load(in, version);
}

bool Imageset::hasKindShape() const
{
    // Sprites are 24 x 21 pixels in 63 bytes, characters and blocks 8 x 8 in
    // 8; every image has the set's size, and only character sets have the
    // extended background colour mode.
    const bool sprites = type == Spriteset;
    const int width = sprites ? 24 : 8;
    const int height = sprites ? 21 : 8;
    if (imageWidth != width || imageHeight != height || imageSize != width * height / 8)
        return false;
    if (mode == ECM && type != Charset)
        return false;
    if (!std::isfinite(selectorZoom))
        return false;
    return std::all_of(images.cbegin(), images.cend(),
                       [width, height](const ImageData& image) { return image.width == width && image.height == height; });
}

void Imageset::save(RecordWriter& out) const
{
    saveHead(out);

    out.writeInt(images.size());
    for (auto it = images.cbegin(); it != images.cend(); ++it) {
        out.writeInt(it.key());
        out.writeInt(it->width);
        out.writeInt(it->height);
        out.writeInt(it->bytes.size());
        out.writeBytes(it->bytes);
    }

    out.writeInt(imageColors.size());
    for (auto it = imageColors.cbegin(); it != imageColors.cend(); ++it) {
        out.writeInt(it.key());
        out.writeByte(quint8(it.value()));
    }

    out.writeInt(mode);
    out.writeInt(imageWidth);
    out.writeInt(imageHeight);
    out.writeInt(imageSize);
    for (int color : colors)
        out.writeInt(color);
    out.writeInt(type);

    out.writeInt(blockColors.size());
    for (auto it = blockColors.cbegin(); it != blockColors.cend(); ++it) {
        out.writeInt(it.key());
        out.writeInt(it->c0);
        out.writeInt(it->c1);
        out.writeInt(it->c2);
    }

    out.writeDouble(selectorZoom);
    out.writeBool(selectorGridVisible);
    out.writeInt(selectorGridWidth);
    out.writeInt(selectorGridHeight);

    // Sorted, so that saving the same set twice gives the same bytes.
    QList<int> sprites = multiColorSprites.values();
    std::sort(sprites.begin(), sprites.end());
    out.writeInt(sprites.size());
    for (int slot : sprites)
        out.writeInt(slot);

    writeRgb(out, backgroundColor);
    writeRgb(out, pixelsGridColor);
    writeRgb(out, imagesGridColor);

    animations.save(out);
}
