#pragma once

// A plain, independent statement of the colour matching rules, to check the
// program's matching against: sRGB to L*a*b* with per-call linearisation,
// CIEDE2000 written step by step after Sharma, Wu and Dalal (2005) with
// kL = kC = kH = 1 and angles in radians, the weighted RGB distance with
// its square root, and the scan for the nearest palette entry (running best
// from 10^99, replaced only by a strictly smaller distance).

#include "model/palette.h"

#include <QRgb>

#include <algorithm>
#include <array>
#include <cmath>

namespace Reference {

constexpr double pi = 3.141592653589793238;

inline double radians(double degrees)
{
    return degrees * pi / 180.0;
}

struct Lab {
    double L, a, b;
};

inline double linear(int channel)
{
    const double c = channel / 255.0;
    if (c <= 0.04045)
        return c / 12.92;
    return std::pow((c + 0.055) / 1.055, 2.4);
}

inline double labF(double t)
{
    if (t > 0.008856)
        return std::cbrt(t);
    return 7.787 * t + 16.0 / 116.0;
}

inline Lab lab(QRgb color)
{
    const double r = linear(qRed(color));
    const double g = linear(qGreen(color));
    const double b = linear(qBlue(color));
    const double x = 0.4338906014918935 * r + 0.3762349153576651 * g + 0.18990604648226667 * b;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = 0.017725448417108273 * r + 0.10947530835851327 * g + 0.8729553741171716 * b;
    Lab out;
    out.L = 116.0 * labF(y) - 16.0;
    if (out.L < 0)
        out.L = 0;
    out.a = 500.0 * (labF(x) - labF(y));
    out.b = 200.0 * (labF(y) - labF(z));
    out.a = std::min(100.0, std::max(-100.0, out.a));
    out.b = std::min(100.0, std::max(-100.0, out.b));
    return out;
}

inline double deltaE00(const Lab& one, const Lab& two)
{
    // (2)-(7): C*, its mean, G, a', C', h'
    const double cab1 = std::sqrt(one.a * one.a + one.b * one.b);
    const double cab2 = std::sqrt(two.a * two.a + two.b * two.b);
    const double cabMean = (cab1 + cab2) / 2.0;
    const double g = 0.5 * (1.0 - std::sqrt(std::pow(cabMean, 7.0) / (std::pow(cabMean, 7.0) + 6103515625.0)));
    const double aPrime1 = (1.0 + g) * one.a;
    const double aPrime2 = (1.0 + g) * two.a;
    const double cPrime1 = std::sqrt(aPrime1 * aPrime1 + one.b * one.b);
    const double cPrime2 = std::sqrt(aPrime2 * aPrime2 + two.b * two.b);
    double hPrime1 = 0;
    if (!(one.b == 0 && aPrime1 == 0)) {
        hPrime1 = std::atan2(one.b, aPrime1);
        if (hPrime1 < 0)
            hPrime1 += 2.0 * pi;
    }
    double hPrime2 = 0;
    if (!(two.b == 0 && aPrime2 == 0)) {
        hPrime2 = std::atan2(two.b, aPrime2);
        if (hPrime2 < 0)
            hPrime2 += 2.0 * pi;
    }
    // (8)-(11): ΔL', ΔC', Δh', ΔH'
    const double deltaLPrime = two.L - one.L;
    const double deltaCPrime = cPrime2 - cPrime1;
    double deltaHuePrime;
    if (cPrime1 * cPrime2 == 0)
        deltaHuePrime = 0;
    else if (std::fabs(hPrime2 - hPrime1) <= pi)
        deltaHuePrime = hPrime2 - hPrime1;
    else if (hPrime2 - hPrime1 > pi)
        deltaHuePrime = hPrime2 - hPrime1 - 2.0 * pi;
    else
        deltaHuePrime = hPrime2 - hPrime1 + 2.0 * pi;
    const double deltaHPrime = 2.0 * std::sqrt(cPrime1 * cPrime2) * std::sin(deltaHuePrime / 2.0);
    // (12)-(22): means, weights, rotation
    const double lMean = (one.L + two.L) / 2.0;
    const double cMean = (cPrime1 + cPrime2) / 2.0;
    double hMean;
    if (cPrime1 * cPrime2 == 0)
        hMean = hPrime1 + hPrime2;
    else if (std::fabs(hPrime1 - hPrime2) <= pi)
        hMean = (hPrime1 + hPrime2) / 2.0;
    else if (hPrime1 + hPrime2 < 2.0 * pi)
        hMean = (hPrime1 + hPrime2 + 2.0 * pi) / 2.0;
    else
        hMean = (hPrime1 + hPrime2 - 2.0 * pi) / 2.0;
    const double t = 1.0 - 0.17 * std::cos(hMean - radians(30)) + 0.24 * std::cos(2.0 * hMean)
        + 0.32 * std::cos(3.0 * hMean + radians(6)) - 0.20 * std::cos(4.0 * hMean - radians(63));
    const double deltaTheta = radians(30) * std::exp(-std::pow((hMean - radians(275)) / radians(25), 2.0));
    const double rc = 2.0 * std::sqrt(std::pow(cMean, 7.0) / (std::pow(cMean, 7.0) + 6103515625.0));
    const double sl = 1.0 + (0.015 * (lMean - 50.0) * (lMean - 50.0)) / std::sqrt(20.0 + (lMean - 50.0) * (lMean - 50.0));
    const double sc = 1.0 + 0.045 * cMean;
    const double sh = 1.0 + 0.015 * cMean * t;
    const double rt = -std::sin(2.0 * deltaTheta) * rc;
    const double lTerm = deltaLPrime / sl;
    const double cTerm = deltaCPrime / sc;
    const double hTerm = deltaHPrime / sh;
    return std::sqrt(lTerm * lTerm + cTerm * cTerm + hTerm * hTerm + rt * cTerm * hTerm);
}

inline double rgbDistance(QRgb paletteColor, QRgb color)
{
    const int r1 = qRed(paletteColor), g1 = qGreen(paletteColor), b1 = qBlue(paletteColor);
    const int r2 = qRed(color), g2 = qGreen(color), b2 = qBlue(color);
    const int mean = (r1 + r2) / 2;
    const int squared = ((512 + mean) * (r1 - r2) * (r1 - r2)) / 256 + 4 * (g1 - g2) * (g1 - g2)
        + ((767 - mean) * (b1 - b2) * (b1 - b2)) / 256;
    return std::sqrt(double(squared));
}

using PaletteLab = std::array<Lab, Palette::size>;

inline PaletteLab lab(const Palette::Colors& palette)
{
    PaletteLab out;
    for (int i = 0; i < Palette::size; ++i)
        out[i] = lab(palette[i]);
    return out;
}

inline int nearestCiede2000(const PaletteLab& palette, QRgb color)
{
    const Lab target = lab(color);
    int best = 0;
    double bestDistance = 1e99;
    for (int i = 0; i < Palette::size; ++i) {
        const double distance = deltaE00(target, palette[i]);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

inline int nearestRgb(const Palette::Colors& palette, QRgb color)
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

}
