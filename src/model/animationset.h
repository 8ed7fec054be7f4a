#pragma once

#include "model/recordio.h"

#include <QList>

#include <array>

// One image of the owning set placed in an animation frame.
struct PlacedImage {
    int x = 0;     // cell column
    int y = 0;     // cell row
    int index = 0; // slot index in the owning image set
    int layer = 0; // 0-3, drawn bottom to top

    bool operator==(const PlacedImage& other) const
    {
        return x == other.x && y == other.y && index == other.index && layer == other.layer;
    }
};

struct AnimationFrame {
    static constexpr int layerCount = 4;

    QList<PlacedImage> placedImages;
    int gridX = 1; // frame width in image cells
    int gridY = 1; // frame height in image cells
    std::array<int, layerCount> offsetX {}; // pixel shift per layer
    std::array<int, layerCount> offsetY {};

    bool operator==(const AnimationFrame& other) const
    {
        return placedImages == other.placedImages && gridX == other.gridX && gridY == other.gridY
            && offsetX == other.offsetX && offsetY == other.offsetY;
    }
};

struct Animation {
    int speed = 50; // frames per second
    QList<AnimationFrame> frames;

    // Milliseconds each frame shows while playing: 20 at 50 frames per
    // second, 333 at 3. A speed below 1 plays as 1.
    int frameDuration() const { return 1000 / qMax(1, speed); }

    bool operator==(const Animation& other) const
    {
        return speed == other.speed && frames == other.frames;
    }
};

// The animations of an image set. Held by value: a copy never shares an
// animation, frame or placed image with its original.
struct Animationset {
    QList<Animation> animations;
    double zoom = 4.0; // zoom of the animation editor's view

    bool operator==(const Animationset& other) const
    {
        return animations == other.animations && zoom == other.zoom;
    }

    // The animation part of an image-set record, in the layout of the given
    // record version. Loading replaces every animation.
    bool load(RecordReader& in, const FileVersion& version);
    void save(RecordWriter& out) const;
};
