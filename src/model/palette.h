#pragma once

#include <QRgb>
#include <QString>

#include <array>

// The 16 colours of the video chip, indexed by their colour numbers
// (0 black, 1 white, 2 red, ... 15 light grey). Loaded once at start-up from
// "pal.txt" so users can adjust the shades, read-only afterwards.
namespace Palette {
constexpr int size = 16;
using Colors = std::array<QRgb, size>;

const Colors& defaults();

// Reads a palette file of "red,green,blue" lines. A missing file is created
// with the default colours, which are then returned. Blank lines are
// skipped; a line that is not three comma-separated parts ends the reading,
// and entries not read stay all-zero (black with alpha 0).
Colors loadFile(const QString& path);

// The program's palette.
const Colors& current();
void setCurrent(const Colors& colors);
// Colour number index of the program's palette. Like the chip's colour RAM,
// only the low four bits of the number count.
QRgb color(int index);
}
