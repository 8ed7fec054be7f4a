#include "model/animationset.h"

namespace {
// Smallest number of bytes each entry takes in a record, so that a count is
// checked against the bytes that remain before anything is allocated.
constexpr qint64 minAnimationBytes = 8;    // speed, frame count
constexpr qint64 minFrameBytes = 2 * 4 + 2 * 4 + 4; // grid, one offset pair, image count
constexpr qint64 placedImageBytes = 4 * 4;
}

bool Animationset::load(RecordReader& in, const FileVersion& version)
{
    animations.clear();
    zoom = in.readFiniteDouble(Animationset().zoom);
    const int animationCount = in.readCount(minAnimationBytes);
    for (int a = 0; a < animationCount && in.ok(); ++a) {
        Animation animation;
        animation.speed = in.readInt();
        const int frameCount = in.readCount(minFrameBytes);
        for (int f = 0; f < frameCount && in.ok(); ++f) {
            AnimationFrame frame;
            frame.gridX = in.readInt();
            frame.gridY = in.readInt();
            if (version.hasSelectorGridAndLayers()) {
                for (int& offset : frame.offsetX)
                    offset = in.readInt();
                for (int& offset : frame.offsetY)
                    offset = in.readInt();
            } else {
                // Older frames had one offset pair, which applies to every layer.
                frame.offsetX.fill(in.readInt());
                frame.offsetY.fill(in.readInt());
            }
            const int imageCount = in.readCount(placedImageBytes);
            for (int i = 0; i < imageCount && in.ok(); ++i) {
                PlacedImage placed;
                placed.x = in.readInt();
                placed.y = in.readInt();
                placed.index = in.readInt();
                placed.layer = in.readIntInRange(0, AnimationFrame::layerCount - 1);
                frame.placedImages.append(placed);
            }
            animation.frames.append(frame);
        }
        animations.append(animation);
    }
    return in.ok();
}

void Animationset::save(RecordWriter& out) const
{
    out.writeDouble(zoom);
    out.writeInt(animations.size());
    for (const Animation& animation : animations) {
        out.writeInt(animation.speed);
        out.writeInt(animation.frames.size());
        for (const AnimationFrame& frame : animation.frames) {
            out.writeInt(frame.gridX);
            out.writeInt(frame.gridY);
            for (int offset : frame.offsetX)
                out.writeInt(offset);
            for (int offset : frame.offsetY)
                out.writeInt(offset);
            out.writeInt(frame.placedImages.size());
            for (const PlacedImage& placed : frame.placedImages) {
                out.writeInt(placed.x);
                out.writeInt(placed.y);
                out.writeInt(placed.index);
                out.writeInt(placed.layer);
            }
        }
    }
}
