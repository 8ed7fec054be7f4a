#pragma once

#include "convert/colormatch.h"

#include <QtGlobal>

namespace ColorMatch {

// Finds the CIEDE2000-nearest palette index of many colours, with the same
// result as nearest(Ciede2000, palette, color) for every colour, but more
// than twenty times faster.
//
// Every colour is first compared with the palette by an approximate
// evaluation of the difference: eight (AVX2) or four colours at a time in
// vector registers, polynomials in place of the library's cube root, arc
// tangent, exponential and sine, the hue difference and mean hue taken from
// vector algebra instead of angles, powers by multiplication. Its error
// stays many orders of magnitude below `margin`. When the entry found nearest this way is closer
// than every other entry by more than `margin`, it is also the entry the
// exact scan picks. The colour is matched again with the exact scan (every
// distance computed by ColorMatch::ciede2000) when
// - another entry comes within `margin` of the nearest one (a near tie),
// - the nearest entry is closer than 1e-3 (the colour is practically a
//   palette colour, where rounding decides the result),
// - or the colour lies within rounding distance of a point where the formula
//   jumps: the switch between the cube root and the straight line of the Lab
//   conversion, a hue difference of half a turn, a mean hue on the seam
//   between 0 and 2π (the rotation term is not periodic), or a nearly
//   neutral colour whose hue is undetermined.
// Entries that a cheap lower bound of the difference shows to be farther
// than the nearest entry so far plus `margin` are not evaluated at all.
// Identical palette entries give identical exact distances, so only the
// first of them takes part in the approximate comparison.
class Ciede2000Matcher {
public:
    explicit Ciede2000Matcher(const Palette::Colors& palette);

    // indices[i] becomes the nearest palette index of colors[i] for i below
    // count (alpha ignored). Returns how many colours were matched again with
    // the exact scan.
    int match(const QRgb* colors, quint8* indices, int count) const;

    // The approximate distances of the colours to all sixteen entries
    // (distances[16 * i + entry]) and whether colour i lies near a jump of
    // the formula as described above; for checking the approximation.
    void approximate(const QRgb* colors, int count, double* distances, bool* nearJump) const;

    static constexpr double margin = 1e-5;
    // Whether the vector code runs with AVX2 instructions (else with SSE2 or
    // the compiler's generic code): when the processor has them and they are
    // allowed. Tests and benchmarks switch them off to check the other code.
    static bool usesAvx2();
    static void allowAvx2(bool allowed);

    // Palette terms of the approximate evaluation.
    struct Entry {
        double L, a, b, bSquared, chroma;
    };

private:
    PaletteLab paletteLab;
    Entry entries[Palette::size];
    int distinct[Palette::size];
    int distinctCount = 0;
};

}
