#include "convert/colormatch.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double pi = 3.14159265358979323846;

constexpr double degrees(double angle)
{
    return angle * pi / 180.0;
}

// 25 to the 7th power, the chroma at which the a* correction is half way.
constexpr double chromaPivot7 = 6103515625.0;

double labCurve(double t)
{
    return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0;
}

// Hue angle of (a', b) in [0, 2π]; 0 for the neutral axis.
double hueAngle(double b, double aPrime)
{
    if (b == 0 && aPrime == 0)
        return 0;
    double h = std::atan2(b, aPrime);
    if (h < 0)
        h += 2 * pi;
    return h;
}

double linearizeDirect(int channel)
{
    const double c = channel / 255.0;
    return c > 0.04045 ? std::pow((c + 0.055) / 1.055, 2.4) : c / 12.92;
}

struct LinearTable {
    double values[256];
    LinearTable()
    {
        for (int c = 0; c < 256; ++c)
            values[c] = linearizeDirect(c);
    }
};
}

double ColorMatch::linearize(int channel)
{
    // The same values as linearizeDirect, computed once.
    static const LinearTable table;
    return table.values[channel & 0xFF];
}

ColorMatch::Lab ColorMatch::toLab(QRgb color)
{
    const double r = linearize(qRed(color));
    const double g = linearize(qGreen(color));
    const double b = linearize(qBlue(color));
    // Tristimulus values with the D65 white already divided out.
    const double x = 0.4338906014918935 * r + 0.3762349153576651 * g + 0.18990604648226667 * b;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = 0.017725448417108273 * r + 0.10947530835851327 * g + 0.8729553741171716 * b;
    const double fx = labCurve(x);
    const double fy = labCurve(y);
    const double fz = labCurve(z);
    Lab lab;
    lab.L = std::max(116.0 * fy - 16.0, 0.0);
    lab.a = std::clamp(500.0 * (fx - fy), -100.0, 100.0);
    lab.b = std::clamp(200.0 * (fy - fz), -100.0, 100.0);
    return lab;
}

double ColorMatch::ciede2000(const Lab& first, const Lab& second)
{
    // Chroma correction of a*: neutral colours get a* scaled by up to 1.5.
    const double c1 = std::sqrt(first.a * first.a + first.b * first.b);
    const double c2 = std::sqrt(second.a * second.a + second.b * second.b);
    const double cMean = (c1 + c2) / 2.0;
    const double cMean7 = std::pow(cMean, 7.0);
    const double g = 0.5 * (1.0 - std::sqrt(cMean7 / (cMean7 + chromaPivot7)));
    const double a1 = (1.0 + g) * first.a;
    const double a2 = (1.0 + g) * second.a;

    const double chroma1 = std::sqrt(a1 * a1 + first.b * first.b);
    const double chroma2 = std::sqrt(a2 * a2 + second.b * second.b);
    const double hue1 = hueAngle(first.b, a1);
    const double hue2 = hueAngle(second.b, a2);
    const double chromaProduct = chroma1 * chroma2;

    const double deltaL = second.L - first.L;
    const double deltaC = chroma2 - chroma1;
    double deltaHue = 0;
    if (chromaProduct != 0) {
        deltaHue = hue2 - hue1;
        if (deltaHue > pi)
            deltaHue -= 2 * pi;
        else if (deltaHue < -pi)
            deltaHue += 2 * pi;
    }
    const double deltaH = 2.0 * std::sqrt(chromaProduct) * std::sin(deltaHue / 2.0);

    const double lMean = (first.L + second.L) / 2.0;
    const double chromaMean = (chroma1 + chroma2) / 2.0;
    double hueMean = hue1 + hue2;
    if (chromaProduct != 0) {
        if (std::fabs(hue1 - hue2) <= pi)
            hueMean = (hue1 + hue2) / 2.0;
        else if (hue1 + hue2 < 2 * pi)
            hueMean = (hue1 + hue2 + 2 * pi) / 2.0;
        else
            hueMean = (hue1 + hue2 - 2 * pi) / 2.0;
    }

    const double t = 1.0 - 0.17 * std::cos(hueMean - degrees(30)) + 0.24 * std::cos(2.0 * hueMean)
        + 0.32 * std::cos(3.0 * hueMean + degrees(6)) - 0.20 * std::cos(4.0 * hueMean - degrees(63));
    const double blueOffset = (hueMean - degrees(275)) / degrees(25);
    const double deltaTheta = degrees(30) * std::exp(-blueOffset * blueOffset);
    const double chromaMean7 = std::pow(chromaMean, 7.0);
    const double rc = 2.0 * std::sqrt(chromaMean7 / (chromaMean7 + chromaPivot7));
    const double lOffset2 = (lMean - 50.0) * (lMean - 50.0);
    const double sl = 1.0 + 0.015 * lOffset2 / std::sqrt(20.0 + lOffset2);
    const double sc = 1.0 + 0.045 * chromaMean;
    const double sh = 1.0 + 0.015 * chromaMean * t;
    const double rt = -std::sin(2.0 * deltaTheta) * rc;

    const double l = deltaL / sl;
    const double c = deltaC / sc;
    const double h = deltaH / sh;
    return std::sqrt(l * l + c * c + h * h + rt * c * h);
}

int ColorMatch::rgbDistanceSquared(QRgb paletteColor, QRgb color)
{
    const int r1 = qRed(paletteColor), g1 = qGreen(paletteColor), b1 = qBlue(paletteColor);
    const int r2 = qRed(color), g2 = qGreen(color), b2 = qBlue(color);
    const int m = (r1 + r2) / 2;
    const int dr = r1 - r2, dg = g1 - g2, db = b1 - b2;
    return ((512 + m) * dr * dr) / 256 + 4 * dg * dg + ((767 - m) * db * db) / 256;
}

double ColorMatch::rgbDistance(QRgb paletteColor, QRgb color)
{
    return std::sqrt(double(rgbDistanceSquared(paletteColor, color)));
}

ColorMatch::PaletteLab ColorMatch::toLab(const Palette::Colors& palette)
{
    PaletteLab lab;
    for (int i = 0; i < Palette::size; ++i)
        lab[i] = toLab(palette[i]);
    return lab;
}

int ColorMatch::nearestLab(const PaletteLab& palette, const Lab& color)
{
    int best = 0;
    double bestDistance = 1e99;
    for (int i = 0; i < Palette::size; ++i) {
        const double distance = ciede2000(color, palette[i]);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

int ColorMatch::nearestRgb(const Palette::Colors& palette, QRgb color)
{
    int best = 0;
    double bestDistance = 1e99;
    for (int i = 0; i < Palette::size; ++i) {
        const double distance = rgbDistance(palette[i], color);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

int ColorMatch::nearest(Space space, const Palette::Colors& palette, QRgb color)
{
    if (space == Ciede2000)
        return nearestLab(toLab(palette), toLab(color));
    return nearestRgb(palette, color);
}
