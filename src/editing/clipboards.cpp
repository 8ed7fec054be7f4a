#include "editing/clipboards.h"

#include <QSet>

void ImageClipboard::take(const Imageset& set, const SlotSelection& selection, bool cutting)
{
    entries.clear();
    cut = cutting;
    sourceSetId = set.id;
    sourceType = set.type;
    for (int i = 0; i < selection.indexes.size(); ++i) {
        const int slot = selection.indexes.at(i);
        Entry entry;
        // In extended background colour mode a slot's image is its pattern.
        entry.source = set.patternSlot(slot);
        entry.image = set.image(entry.source);
        entry.imageColor = set.imageColor(slot);
        entry.multiColor = set.isMultiColorImage(slot);
        entry.block = set.blockColorsOf(slot);
        const int width = qMax(1, set.selectorGridWidth);
        const auto key = selection.rect.isEmpty()
            ? std::make_pair(0, i)
            : std::make_pair(slot / width - selection.rect.top(), slot % width - selection.rect.left());
        entries.insert(key, entry);
    }
}

QString ImageClipboard::pasteRefusal(const Imageset& set) const
{
    if (cut && (sourceSetId != set.id || sourceType != set.type))
        return QStringLiteral("Cannot cut & paste from a different set!");
    for (const Entry& entry : entries) {
        if (!entry.image.isEmpty() && (entry.image.width != set.imageWidth || entry.image.height != set.imageHeight))
            return QStringLiteral("Incompatible image size!");
    }
    return QString();
}

QList<int> ImageClipboard::pasteInto(Imageset& set, int slot)
{
    const int width = qMax(1, set.selectorGridWidth), count = width * set.selectorGridHeight;
    QList<std::pair<int, const Entry*>> targets;
    QList<int> written;
    QSet<int> imagesWritten;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        const int target = (slot / width + it.key().first) * width + slot % width + it.key().second;
        if (target >= 0 && target < count) {
            targets.append({target, &*it});
            written << target;
            imagesWritten.insert(set.patternSlot(target));
        }
    }
    // Sources go before any target is written, so that an overlapping cut
    // moves its images instead of losing them.
    if (cut) {
        for (const Entry& entry : entries) {
            if (!imagesWritten.contains(entry.source))
                Slots::clear(set, {entry.source});
        }
    }
    for (const auto& [target, entry] : targets) {
        // In extended background colour mode the image is the target's
        // pattern; the colour stays the target's own.
        const int image = set.patternSlot(target);
        if (entry->image.isEmpty())
            set.images.remove(image);
        else
            set.images.insert(image, entry->image);
        set.imageColors.insert(target, entry->imageColor);
        if (set.type == Imageset::Blockset)
            set.blockColors.insert(target, entry->block);
        if (set.type == Imageset::Spriteset) {
            if (entry->multiColor)
                set.multiColorSprites.insert(target);
            else
                set.multiColorSprites.remove(target);
        }
    }
    if (cut)
        entries.clear();
    return written;
}

void BitmapClipboard::copy(const Imageset& set, const LayerCanvas& canvas, const QRegion& selection, bool multiColor)
{
    buffers = Drawing::lift(set, canvas, selection, multiColor);
    buffers.under.clear();
    buffers.liftedRect.moveTopLeft(QPoint(0, 0));
}

MoveBuffers BitmapClipboard::pasteBuffers(const Imageset& set, const LayerCanvas& canvas) const
{
    MoveBuffers pasted = Drawing::lift(set, canvas, QRegion(), buffers.multiColor);
    pasted.liftedRect = buffers.liftedRect;
    pasted.lifted = buffers.lifted;
    return pasted;
}

QRegion BitmapClipboard::pastedRegion() const
{
    const QRect rect = buffers.liftedRect;
    std::vector<Drawing::Runs> rows(size_t(rect.height()));
    for (int y = 0; y < rect.height(); ++y) {
        for (int x = 0; x < rect.width(); ++x) {
            if (buffers.lifted.at(y * rect.width() + x) < 0)
                continue;
            Drawing::Runs& runs = rows[size_t(y)];
            if (!runs.empty() && runs.back().second == x - 1)
                runs.back().second = x;
            else
                runs.emplace_back(x, x);
        }
    }
    return Drawing::regionOfRuns(rows, buffers.multiColor ? 2 : 1);
}
