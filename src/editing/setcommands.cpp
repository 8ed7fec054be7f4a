#include "editing/setcommands.h"

#include "exchange/imagesetexchange.h"

namespace SetCommands {

QString statistics(const Imageset& set)
{
    const int allocated = set.images.size();
    const int highest = allocated > 0 ? set.images.lastKey() : -1;
    const int lowest = allocated > 0 ? set.images.cbegin().key() : -1;
    const int holes = allocated > 0 ? highest + 1 - allocated : 0;
    const bool sprites = set.type == Imageset::Spriteset;
    // A character takes 8 bytes, a sprite 64 (63 and a padding byte), a
    // block 8 and its colour byte.
    const int bytesPerSlot = sprites ? 64 : set.type == Imageset::Blockset ? 9 : 8;
    const qint64 memory = qint64(allocated + holes) * bytesPerSlot;
    QString text = QStringLiteral("Number of allocated slots: %1\n\n").arg(allocated)
        + QStringLiteral("Number of holes: %1\n\n").arg(holes);
    if (allocated > 0)
        text += QStringLiteral("Indexes range: [%1-%2]\n\n").arg(lowest).arg(highest);
    text += QStringLiteral("Memory required%1: %2 bytes (%3 Kbytes)\n\n")
                .arg(sprites ? QString() : QStringLiteral(" (*)"))
                .arg(memory)
                .arg(memory / 1024.0, 0, 'g', 3);
    if (!sprites)
        text += QStringLiteral("\n(*) = no foreground colors are considered.");
    return text;
}

QList<int> exportTargets(const Imageset& set, const SlotSelection& selection)
{
    return selection.isEmpty() ? ImagesetExchange::allSlots(set) : selection.indexes;
}

QImage picture(const Imageset& set, const QList<int>& targets, int width, int height)
{
    const qint64 pixelWidth = qint64(width) * set.imageWidth, pixelHeight = qint64(height) * set.imageHeight;
    // Beyond half a gigabyte the picture is refused rather than tried.
    if (width < 1 || height < 1 || pixelWidth * pixelHeight * 4 > (qint64(1) << 29))
        return QImage();
    QImage result(int(pixelWidth), int(pixelHeight), QImage::Format_ARGB32);
    if (result.isNull())
        return result;
    result.fill(Qt::transparent);
    for (int i = 0; i < targets.size() && i < width * height; ++i) {
        if (!set.images.contains(set.patternSlot(targets.at(i))))
            continue;
        const QImage image = set.toImage(targets.at(i)).convertToFormat(QImage::Format_ARGB32);
        const int left = (i % width) * set.imageWidth, top = (i / width) * set.imageHeight;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                result.setPixel(left + x, top + y, image.pixel(x, y));
    }
    return result;
}

void copyRom(Imageset& set, const QList<int>& targets, int half, const QByteArray& rom)
{
    for (int slot : targets) {
        const int glyph = slot & 255;
        const QByteArray rows = rom.mid(half * 2048 + glyph * 8, 8).leftJustified(8, '\0');
        ImageData image(set.imageWidth, set.imageHeight);
        image.bytes.replace(0, qMin(rows.size(), image.bytes.size()), rows.left(image.bytes.size()));
        set.images.insert(set.patternSlot(slot), image);
    }
}

}
