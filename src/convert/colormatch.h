#pragma once

#include "model/palette.h"

#include <QRgb>

#include <array>

// Colour differences used to reduce imported pictures to the palette. These
// are the plain, one-colour-at-a-time definitions; the dithering lookup
// tables (convert/ditherlut.h) are built with a faster method whose entries
// equal what nearest() below returns.
namespace ColorMatch {

// The two colour spaces offered for matching. The values are the indexes of
// the import dialog's colour-space box.
enum Space { Rgb = 0, Ciede2000 = 1 };

// CIE L*a*b* of an sRGB colour under the D65 white point. L is at least 0, a
// and b are clamped to [-100, 100].
struct Lab {
    double L = 0;
    double a = 0;
    double b = 0;
};

// The sRGB channel value 0-255 as linear light 0-1.
double linearize(int channel);
// The alpha byte is ignored.
Lab toLab(QRgb color);

// CIEDE2000 colour difference with kL = kC = kH = 1, angles in radians.
double ciede2000(const Lab& first, const Lab& second);

// Weighted RGB distance of a colour to a palette colour: with m the truncated
// mean of the two reds, ((512 + m) dr^2) / 256 + 4 dg^2 + ((767 - m) db^2) / 256
// in integer arithmetic, each division truncating. The alpha bytes are ignored.
int rgbDistanceSquared(QRgb paletteColor, QRgb color);
double rgbDistance(QRgb paletteColor, QRgb color);

// The palette index nearest to color: the palette is scanned from index 0 to
// 15 and an entry replaces the best one so far only when it is strictly
// closer, so ties go to the lowest index. Every distance is computed; this is
// the definition the lookup tables reproduce.
int nearest(Space space, const Palette::Colors& palette, QRgb color);

// The CIEDE2000 scan with the palette already converted to Lab, for callers
// that match many colours and convert the palette once.
using PaletteLab = std::array<Lab, Palette::size>;
PaletteLab toLab(const Palette::Colors& palette);
int nearestLab(const PaletteLab& palette, const Lab& color);
int nearestRgb(const Palette::Colors& palette, QRgb color);

}
