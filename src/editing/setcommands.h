#pragma once

#include "editing/slotselection.h"

#include <QImage>

// Commands of the image-set editor on the set as a whole: its statistics,
// its images as a picture, glyphs of the character ROM copied in.
namespace SetCommands {
// The text of the statistics box: allocated slots, holes below the highest
// one, their range and the memory the set takes in the machine.
QString statistics(const Imageset& set);

// The slots an export takes: the selection in its order, or every slot of
// a character set (the 64 patterns in extended background colour mode) and
// every slot up to the last image of a sprite or block set.
QList<int> exportTargets(const Imageset& set, const SlotSelection& selection);
// The targets as a picture of width x height cells, row by row, each image
// in its own colours on the set's background; cells without a target or
// without an image, and targets beyond the cells, stay out (transparent).
// A null picture when one that large cannot be made.
QImage picture(const Imageset& set, const QList<int>& targets, int width, int height);

// Glyph i of a half of the character ROM (0 or 1) into slot i for every
// target (its pattern slot in extended background colour mode).
void copyRom(Imageset& set, const QList<int>& targets, int half, const QByteArray& rom);
}
