#pragma once

#include "model/palette.h"

#include <QImage>
#include <QSize>

#include <functional>

// The steps that turn a user's picture into the input of the conversion to
// a set: fitting it to the target slots, the colour adjustments of the
// import dialog and the reduction to the sixteen palette colours.
namespace PicturePreparation {

// What the import dialog remembers between imports. The colour boxes hold
// item indexes; the last item of a box is "(Auto)".
struct Settings {
    static constexpr int autoColor = 16;

    bool showFullColors = false;
    bool putInEditor = true;
    int backgroundIndex = autoColor;
    int multi1Index = autoColor;
    int multi2Index = autoColor;
    int background3Index = autoColor;
    int foregroundIndex = autoColor;
    int brightness = 0;    // -1000 to 1000, hundredths added to every channel
    int contrast = 100;    // 0 to 1000, hundredths every channel is multiplied by
    int gamma = 100;       // 1 to 1000, hundredths of the exponent
    int saturation = 0;    // -100 to 100, hundredths added to the HSL saturation
    int ditherStrength = 90;
    int colorSpace = 0;    // ColorMatch::Space
    int ditherMethod = 0;  // Method
};

enum Method { NoDithering = 0, FloydSteinberg = 1 };

// The picture scaled so that it yields at most `targets` cells of cellSize,
// then padded with black to whole cells. The picture keeps its aspect
// ratio: its width shrinks one pixel at a time (height = round(width x
// ratio), at least 1) until the cell count fits, and only then is it scaled
// smoothly. A null picture when even a width of one pixel does not fit (a
// very tall picture into few targets) or there is nothing to fit.
QImage fitToTargets(const QImage& picture, QSize cellSize, int targets);

// One colour after the dialog's adjustments: the HSL saturation raised by
// saturation / 100 (clamped to 0-1; greys stay grey), then every channel v
// (0-1) becomes (v x contrast / 100 + brightness / 100) ^ (gamma / 100),
// clamped to 0-1, and is stored as the truncated product with 255.
QRgb adjustColor(QRgb color, const Settings& settings);
// Every pixel adjusted (each distinct colour once), as opaque RGB. With wide
// pixels both pixels of a pair take the colour of the left one, as the chip
// shows a multicolour pixel.
QImage adjust(const QImage& source, const Settings& settings, bool widePixels);

// The palette index chosen for a colour: a table look-up of the chosen
// colour space.
using Nearest = std::function<int(QRgb color)>;

// The adjusted picture as an 8-bit picture of palette indexes with the
// palette as its colour table. Floyd-Steinberg spreads each pixel's error
// to its right and lower neighbours (7, 3, 5 and 1 sixteenths) over the
// inner pixels, left to right and top to bottom; with wide pixels it works
// on pixel pairs, and both pixels of a pair get the pair's index.
QImage reduce(const QImage& adjusted, Method method, bool widePixels, const Palette::Colors& palette,
              const Nearest& nearest);

}
